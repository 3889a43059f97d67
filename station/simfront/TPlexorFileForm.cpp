#include "TPlexorFileForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVBoxLayout>

#include "ExportFile.h"
#include "Notifications.h"
#include "TColorValue.h"
#include "TDataLogChart.h"
#include "TFontMapper.h"
#include "TStationSettings.h"
#include "TSubWindowPlacement.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"
#include "WindowIcons.h"

// The project's copy of the data file as the grid reads it.
class TPlexorFileForm::ModelSource : public TDataLogSource {
 public:
  explicit ModelSource(const TTarvixPlusModel* model) : model_(model) {}
  int Length() const override { return model_ ? model_->DataFileLength() : 0; }
  int PreviousLength() const override { return model_ ? model_->DataFilePreviousLength() : 0; }
  uint16_t Value(int index) const override { return model_ ? static_cast<uint16_t>(model_->DataFileValue(index)) : 0; }
  void Forget() { model_ = nullptr; }

 private:
  const TTarvixPlusModel* model_;
};

TPlexorFileForm::TPlexorFileForm(TTarvixPlusModel* model, QWidget* parent)
    : TMDIChildForm(model, parent),
      source_(std::make_unique<ModelSource>(model)),
      grid_(new TDataLogGrid(this)),
      menu_(new QMenu(this)) {
  setObjectName(QStringLiteral("PlexorFileForm"));
  SetCaption(QStringLiteral("Tarvix Datenaufzeichnung"));
  setWindowIcon(windowicons::Icon(windowicons::Kind::DataLog));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  setFocusProxy(grid_);
  resize(460, 240);

  placement_ = new TSubWindowPlacement(this, TStationSettings::kEEPROMWindow);
  menu_->setObjectName(QStringLiteral("FilePopupMenu"));
  hexAction_ = menu_->addAction(QStringLiteral("&Hexadezimale Ausgabe"));
  hexAction_->setCheckable(true);
  connect(hexAction_, &QAction::triggered, this, [this](bool on) { SetHexOutput(on); });
  menu_->addSeparator();
  connect(menu_->addAction(QStringLiteral("&Exportieren...")), &QAction::triggered, this, [this] { Export(); });
  connect(menu_->addAction(QStringLiteral("&Diagramm...")), &QAction::triggered, this, [this] { ShowChart(); });
  grid_->viewport()->installEventFilter(this);
  grid_->installEventFilter(this);

  SettingsChanged();
  // Everything counts as new until the first change (nothing shown yet).
  grid_->SetSource(source_.get());
}

TPlexorFileForm::~TPlexorFileForm() = default;

void TPlexorFileForm::Update(int32_t code, int64_t, const TChangeRecord*) {
  if (code == notify::kDataFileChanged) grid_->Refresh();
}

void TPlexorFileForm::ModelDestroyed() {
  source_->Forget();
  grid_->SetSource(nullptr);
  grid_->Refresh();
  TMDIChildForm::ModelDestroyed();
}

void TPlexorFileForm::SettingsChanged() {
  const TStationSettings& s = TStationSettings::Current();
  using S = TStationSettings;
  const TStoredFont& stored = s.fonts[S::kDataFont];
  QFont font = TFontMapper::Make(stored.name, stored.size);
  font.setItalic(stored.style & TStoredFont::kItalic);
  font.setBold(stored.style & TStoredFont::kBold);
  font.setStyleHint(QFont::TypeWriter);
  grid_->SetGridFont(font);
  grid_->SetColors(tcolor::ToQColor(s.colors[S::kDataBackgnd]), tcolor::ToQColor(s.colors[S::kDataText]),
                   tcolor::ToQColor(s.colors[S::kDataChanged]), tcolor::ToQColor(s.colors[S::kDataIndex]));
  grid_->SetHex(s.dataHexOutput);
  hexAction_->setChecked(s.dataHexOutput);
}

void TPlexorFileForm::SetHexOutput(bool hex) {
  TStationSettings::Current().dataHexOutput = hex;
  hexAction_->setChecked(hex);
  grid_->SetHex(hex);
}

bool TPlexorFileForm::ExportCsv(const QString& fileName) const {
  QByteArray text = "Index;Wert;Hex\r\n";
  const int length = source_->Length();
  for (int i = 0; i < length; ++i) {
    const uint16_t v = source_->Value(i);
    text += QByteArray::number(i) + ';' + QByteArray::number(v) + ';' + QByteArray::number(v, 16).rightJustified(4, '0') + "\r\n";
  }
  return WriteExportFile(fileName, text, QStringLiteral("Konnte die Datei %1 nicht schreiben!"));
}

void TPlexorFileForm::Export() {
  TUserInterface::FileRequest request;
  request.caption = QStringLiteral("Datenaufzeichnung exportieren");
  request.filter = QStringLiteral("CSV-Dateien (*.csv)|*.csv");
  request.defaultExtension = QStringLiteral("csv");
  request.initialName = QStringLiteral("Datenaufzeichnung.csv");
  const QString name = TUserInterface::Current().SaveFileName(request);
  if (!name.isEmpty()) ExportCsv(name);
}

QWidget* TPlexorFileForm::ShowChart() {
  std::vector<uint16_t> values;
  values.reserve(static_cast<size_t>(source_->Length()));
  for (int i = 0; i < source_->Length(); ++i) values.push_back(source_->Value(i));
  auto* chart = new TDataLogChart(std::move(values), this);
  chart->show();
  chart->raise();
  return chart;
}

void TPlexorFileForm::showEvent(QShowEvent* event) {
  TMDIChildForm::showEvent(event);
  // Inside the frame the keeper places the window and follows every move.
  placement_->Attach();
  if (placed_ || SubWindow()) return;
  placed_ = true;
  const TRect& r = TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect;
  if (r.Width() <= 0 || r.Height() <= 0) return;
  QWidget* frame = SubWindow() ? static_cast<QWidget*>(SubWindow()) : this;
  frame->setGeometry(r.left, r.top, r.Width(), r.Height());
}

void TPlexorFileForm::closeEvent(QCloseEvent* event) {
  const QWidget* frame = SubWindow() ? static_cast<QWidget*>(SubWindow()) : this;
  const QRect g = frame->geometry();
  TStationSettings::Current().windows[TStationSettings::kEEPROMWindow].rect = TRect{g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  TMDIChildForm::closeEvent(event);
}

bool TPlexorFileForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ContextMenu && (watched == grid_ || watched == grid_->viewport())) {
    menu_->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
    return true;
  }
  if (event->type() == QEvent::KeyPress && watched == grid_ && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    TUserInterface::Current().ShowHelp(kHelpContext);
    return true;
  }
  return TMDIChildForm::eventFilter(watched, event);
}
