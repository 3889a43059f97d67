#include "BeepBlockDlg.h"

#include <QBoxLayout>
#include <QAbstractItemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>

#include "Cp1252Text.h"
#include "MelodyCells.h"

namespace {

struct Note {
  const char* caption;
  int tone;  // period value for the unit's tone generator
};

constexpr Note kNotes[8] = {{"C", 478}, {"D", 426}, {"E", 379}, {"F", 358},
                            {"G", 319}, {"A", 284}, {"H", 253}, {"C'", 239}};
constexpr int kColumnWidths[kMelodyColumns] = {80, 83, 83};
constexpr int kRowHeight = 20;

}  // namespace

TBeepBlockDlg::TBeepBlockDlg(QWidget* owner) : TParamDlg(owner, "Eigenschaften des Tonausgabe-Blocks", 302, 279) {
  setObjectName(QStringLiteral("BeepBlockDlg"));
  auto* label = new QLabel(QStringLiteral("Geben Sie eine kurze Melodie ein:"), this);
  label->setObjectName(QStringLiteral("Label1"));

  melody_ = new QTableWidget(kMelodyRows, kMelodyColumns, this);
  melody_->setObjectName(QStringLiteral("melody"));
  melody_->verticalHeader()->hide();
  melody_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  melody_->verticalHeader()->setDefaultSectionSize(kRowHeight);
  melody_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  melody_->horizontalHeader()->setHighlightSections(false);
  melody_->horizontalHeader()->setFixedHeight(kRowHeight);
  for (int c = 0; c < kMelodyColumns; ++c) melody_->setColumnWidth(c, kColumnWidths[c]);
  melody_->setSelectionMode(QAbstractItemView::SingleSelection);
  melody_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  melody_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  melody_->setEditTriggers(QAbstractItemView::AllEditTriggers);
  melody_->setTabKeyNavigation(true);
  for (int r = 0; r < kMelodyRows; ++r)
    for (int c = 0; c < kMelodyColumns; ++c) {
      auto* item = new QTableWidgetItem;
      item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      melody_->setItem(r, c, item);
    }
  label->setBuddy(melody_);
  // Exactly as wide as its columns, so no empty header sticks out at the right.
  int columns = 0;
  for (int w : kColumnWidths) columns += w;
  melody_->setFixedWidth(columns + melody_->verticalScrollBar()->sizeHint().width() + 2 * melody_->frameWidth());

  auto* noteRow = new QHBoxLayout;
  noteRow->setSpacing(3);
  for (int i = 0; i < 8; ++i) {
    notes_[i] = new QPushButton(QString::fromLatin1(kNotes[i].caption), this);
    notes_[i]->setObjectName(QStringLiteral("Button%1").arg(i + 1));
    notes_[i]->setAutoDefault(false);
    notes_[i]->setFocusPolicy(Qt::NoFocus);  // the grid keeps its current cell
    notes_[i]->setMinimumWidth(20);
    notes_[i]->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(notes_[i], &QPushButton::clicked, this, [this, i] { NoteClick(i); });
    noteRow->addWidget(notes_[i]);
  }

  // Grid and note buttons share one column, left-aligned under the label.
  auto* column = new QVBoxLayout;
  column->addWidget(melody_, 1);
  column->addLayout(noteRow);
  auto* aligned = new QHBoxLayout;
  aligned->addLayout(column);
  aligned->addStretch(1);
  Body()->addWidget(label);
  Body()->addLayout(aligned, 1);
  FormCreate();
}

void TBeepBlockDlg::FormCreate() {
  melody_->setHorizontalHeaderLabels({QStringLiteral("Ton"), QStringLiteral("Tondauer"), QStringLiteral("Pause")});
  melody_->setCurrentCell(0, 0);
  melody_->setFocus();
}

void TBeepBlockDlg::showEvent(QShowEvent* event) {
  TParamDlg::showEvent(event);
  // The current cell is always open for typing, from the start on: entering
  // it again opens its editor.
  QModelIndex current = melody_->currentIndex();
  melody_->setCurrentIndex(QModelIndex());
  melody_->setCurrentIndex(current.isValid() ? current : melody_->model()->index(0, 0));
}

void TBeepBlockDlg::OkButtonClick() {
  // Takes what is typed in the open cell even when "Ok" got no focus.
  melody_->setCurrentIndex(QModelIndex());
  accept();
}

void TBeepBlockDlg::SetMelody(const std::string& melody) {
  MelodyCells cells = MelodyToCells(melody);
  for (size_t i = 0; i < kMelodyCells; ++i)
    melody_->item(static_cast<int>(i) / kMelodyColumns, static_cast<int>(i) % kMelodyColumns)
        ->setText(QString::fromStdString(cells[i]));
}

std::string TBeepBlockDlg::Melody() const {
  MelodyCells cells;
  for (size_t i = 0; i < kMelodyCells; ++i)
    cells[i] = ToCp1252(
        melody_->item(static_cast<int>(i) / kMelodyColumns, static_cast<int>(i) % kMelodyColumns)->text());
  return CellsToMelody(cells);
}

QPushButton* TBeepBlockDlg::NoteButton(int n) const { return n >= 1 && n <= 8 ? notes_[n - 1] : nullptr; }

void TBeepBlockDlg::NoteClick(int n) {
  // Leaving the cell first commits and closes an open cell editor, which
  // would otherwise write its old text back over the tone.
  QModelIndex current = melody_->currentIndex();
  int row = current.isValid() ? current.row() : 0;
  melody_->setCurrentIndex(QModelIndex());
  melody_->item(row, 0)->setText(QString::number(kNotes[n].tone));
  melody_->setCurrentIndex(current.isValid() ? current : melody_->model()->index(0, 0));
}
