#include "TColorOptionsDlg.h"

#include <QComboBox>
#include <QFontDialog>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "SettingsChangedNotice.h"
#include "TCommentFont.h"
#include "TFontMapper.h"
#include "UserInterface.h"

namespace {

using S = TStationSettings;

constexpr int kOptionsHelp = 20000;

const char* const kPageNames[TColorOptionsDlg::kPageCount] = {
    "Programmzelleneditor", "Tabellen-/Kommentareditor", "Variablenfenster",
    "Ausgabefenster",       "Datenfenster",              "Meßwerte"};

const char* const kStandardNames[16] = {"Schwarz", "Kastanienbraun", "Grün",  "Oliv",   "Marineblau", "Purpur",
                                        "Blaugrün", "Grau",          "Silber", "Rot",   "Hellgrün",   "Gelb",
                                        "Blau",     "Fuchsia",       "Aqua",   "Weiß"};

// The settings keep bit 0 italic and bit 1 bold; the font mapper takes the
// cell body's bits.
uint8_t ToCommentStyle(uint8_t stored) {
  return static_cast<uint8_t>(((stored & TStoredFont::kItalic) ? TCommentFont::kItalic : 0) |
                              ((stored & TStoredFont::kBold) ? TCommentFont::kBold : 0));
}

QIcon Swatch(TColor color) {
  QPixmap pixmap(24, 14);
  pixmap.fill(tcolor::ToQColor(color));
  QPainter painter(&pixmap);
  painter.setPen(Qt::gray);
  painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
  return QIcon(pixmap);
}

// The sample area below the selectors; the dialog paints it.
class PreviewBox : public QWidget {
 public:
  PreviewBox(const TColorOptionsDlg* dialog, int page, QWidget* parent)
      : QWidget(parent), dialog_(dialog), page_(page) {
    setMinimumSize(220, 70);
    setAccessibleName(QStringLiteral("Vorschau"));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    dialog_->PaintPreview(painter, rect(), page_);
  }

 private:
  const TColorOptionsDlg* dialog_;
  int page_;
};

}  // namespace

const QVector<TColorOptionsDlg::Element>& TColorOptionsDlg::Elements() {
  // The analog panel paints all channels on one background, the panel's
  // own: every channel shows it, none edits it.
  static const QVector<Element> elements{
      {0, "Kommentar", S::kCellComment, S::kCellBackgnd, true},
      {0, "Gitter", S::kCellGridColor, -1, false},
      {0, "Verbindung Zahl", S::kLineColorInt, -1, false},
      {0, "Verbindung Text", S::kLineColorText, -1, false},
      {0, "Verbindung Zeit", S::kLineColorTime, -1, false},
      {0, "Verbindung Datum", S::kLineColorDate, -1, false},
      {0, "Index der Blockressource", S::kIndexColor, S::kIndexBackgnd, true},
      {1, "Text", S::kTableText, S::kTableBackgnd, true},
      {2, "Text", S::kWatchText, S::kWatchBackgnd, true},
      {2, "Ungültiger Eintrag", S::kWatchInvalid, -1, false},
      {2, "Geänderter Wert", S::kWatchChanged, -1, false},
      {3, "Text", S::kTerminalText, S::kTerminalBackgnd, true},
      {4, "Text", S::kDataText, S::kDataBackgnd, true},
      {4, "Index", S::kDataIndex, -1, false},
      {4, "Geänderter Eintrag", S::kDataChanged, -1, false},
      {5, "Analogkanäle", S::kGenericAnalogIn, S::kAnalogInBackgnd, false},
      {5, "Temperaturkanäle", S::kTemperatureAnalogIn, S::kAnalogInBackgnd, false},
      {5, "Spannungskanäle", S::kVoltageAnalogIn, S::kAnalogInBackgnd, false},
      {5, "Frequenzeingang", S::kFrequencyIn, S::kAnalogInBackgnd, false},
  };
  return elements;
}

const std::array<TColor, 16>& TColorOptionsDlg::StandardColors() {
  using tcolor::FromRgb;
  static const std::array<TColor, 16> colors{
      FromRgb(0, 0, 0),       FromRgb(128, 0, 0),   FromRgb(0, 128, 0),   FromRgb(128, 128, 0),
      FromRgb(0, 0, 128),     FromRgb(128, 0, 128), FromRgb(0, 128, 128), FromRgb(128, 128, 128),
      FromRgb(192, 192, 192), FromRgb(255, 0, 0),   FromRgb(0, 255, 0),   FromRgb(255, 255, 0),
      FromRgb(0, 0, 255),     FromRgb(255, 0, 255), FromRgb(0, 255, 255), FromRgb(255, 255, 255)};
  return colors;
}

QString TColorOptionsDlg::FontText(const TStoredFont& font) {
  QString suffix;
  if (font.style & TStoredFont::kBold) suffix += QStringLiteral(", fett");
  if (font.style & TStoredFont::kItalic) suffix += QStringLiteral(", kursiv");
  return QStringLiteral("%1, %2pt%3").arg(font.name).arg(font.size).arg(suffix);
}

TColorOptionsDlg::TColorOptionsDlg(QWidget* parent)
    : TCenteredDlg(parent),
      colors_(TStationSettings::Current().colors),
      fonts_(TStationSettings::Current().fonts) {
  setWindowTitle(QStringLiteral("Farb- und Schrifteinstellungen "));
  auto* layout = new QVBoxLayout(this);
  pages_ = new QTabWidget(this);
  pages_->setAccessibleName(QStringLiteral("Seiten"));
  // All six page names stay readable: the dialog grows to show them.
  pages_->setUsesScrollButtons(false);
  for (int p = 0; p < kPageCount; ++p) pages_->addTab(MakePage(p), QString::fromUtf8(kPageNames[p]));
  layout->addWidget(pages_);

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  apply_ = new QPushButton(QStringLiteral("Ü&bernehmen"), this);
  ok->setDefault(true);
  ok->setAccessibleName(QStringLiteral("OK"));
  cancel->setAccessibleName(QStringLiteral("Abbrechen"));
  apply_->setAccessibleName(QStringLiteral("Übernehmen"));
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(apply_);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] {
    if (apply_->isEnabled()) ApplyCopy();
    accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(apply_, &QPushButton::clicked, this, &TColorOptionsDlg::ApplyCopy);
  SetModified(false);
  for (int p = 0; p < kPageCount; ++p) page_[p].elements->setCurrentRow(0);
}

QWidget* TColorOptionsDlg::MakePage(int p) {
  auto* widget = new QWidget;
  Page& page = page_[p];
  auto* layout = new QHBoxLayout(widget);

  auto* left = new QVBoxLayout;
  auto* elementsLabel = new QLabel(QStringLiteral("&Elemente:"), widget);
  page.elements = new QListWidget(widget);
  page.elements->setAccessibleName(QStringLiteral("Elemente"));
  elementsLabel->setBuddy(page.elements);
  const QVector<Element>& all = Elements();
  for (int i = 0; i < all.size(); ++i) {
    if (all[i].page != p) continue;
    page.elements->addItem(QString::fromUtf8(all[i].name));
    page.elementIndex << i;
  }
  page.elements->setMinimumWidth(180);
  left->addWidget(elementsLabel);
  left->addWidget(page.elements);
  layout->addLayout(left);

  auto* right = new QVBoxLayout;
  auto* colorGroup = new QGroupBox(QStringLiteral("Farben"), widget);
  auto* form = new QFormLayout(colorGroup);
  page.fore = new QComboBox(colorGroup);
  page.back = new QComboBox(colorGroup);
  page.fore->setAccessibleName(QStringLiteral("Vordergrund"));
  page.back->setAccessibleName(QStringLiteral("Hintergrund"));
  form->addRow(QStringLiteral("&Vordergrund:"), page.fore);
  form->addRow(QStringLiteral("&Hintergrund:"), page.back);
  right->addWidget(colorGroup);

  auto* fontGroup = new QGroupBox(QStringLiteral("Schriftart"), widget);
  auto* fontLayout = new QHBoxLayout(fontGroup);
  const int font = kPageFonts[p];
  page.font = new QLabel(font >= 0 ? FontText(fonts_[font]) : QStringLiteral("Keine Schrift verwendet"), fontGroup);
  page.font->setAccessibleName(QStringLiteral("Schriftart"));
  fontLayout->addWidget(page.font, 1);
  if (font >= 0) {
    page.chooseFont = new QPushButton(QStringLiteral("Schriftart wählen..."), fontGroup);
    page.chooseFont->setAccessibleName(QStringLiteral("Schriftart wählen..."));
    fontLayout->addWidget(page.chooseFont);
    connect(page.chooseFont, &QPushButton::clicked, this, [this, p] { ChooseFont(p); });
  }
  right->addWidget(fontGroup);

  auto* previewGroup = new QGroupBox(QStringLiteral("Vorschau"), widget);
  auto* previewLayout = new QVBoxLayout(previewGroup);
  page.preview = new PreviewBox(this, p, previewGroup);
  previewLayout->addWidget(page.preview);
  right->addWidget(previewGroup, 1);
  layout->addLayout(right, 1);

  connect(page.elements, &QListWidget::currentRowChanged, this, [this, p] { ShowElement(p); });
  connect(page.fore, &QComboBox::activated, this, [this, p] { ColorChosen(p, true); });
  connect(page.back, &QComboBox::activated, this, [this, p] { ColorChosen(p, false); });
  return widget;
}

const TColorOptionsDlg::Element* TColorOptionsDlg::CurrentElement(int p) const {
  const Page& page = page_[p];
  const int row = page.elements ? page.elements->currentRow() : -1;
  if (row < 0 || row >= page.elementIndex.size()) return nullptr;
  return &Elements()[page.elementIndex[row]];
}

void TColorOptionsDlg::FillSelector(QComboBox* box, int colorIndex) {
  box->clear();
  if (colorIndex < 0) return;
  const TColor value = colors_[colorIndex];
  const TColor standard = kColorSettings[colorIndex].defaultValue;
  box->addItem(Swatch(standard), QStringLiteral("Vorgabe"), standard);
  int current = value == standard ? 0 : -1;
  for (int i = 0; i < 16; ++i) {
    box->addItem(Swatch(StandardColors()[i]), QString::fromUtf8(kStandardNames[i]), StandardColors()[i]);
    if (current < 0 && StandardColors()[i] == value) current = i + 1;
  }
  // A colour from the settings file that is none of the offered ones stays
  // visible as it is instead of being shown as something else.
  if (current < 0) {
    box->addItem(Swatch(value), QStringLiteral("Eigene Farbe"), value);
    current = box->count() - 1;
  }
  box->setCurrentIndex(current);
}

void TColorOptionsDlg::ShowElement(int p) {
  Page& page = page_[p];
  const Element* element = CurrentElement(p);
  filling_ = true;
  FillSelector(page.fore, element ? element->fore : -1);
  FillSelector(page.back, element ? element->back : -1);
  filling_ = false;
  page.fore->setEnabled(element && element->fore >= 0);
  page.back->setEnabled(element && element->back >= 0 && element->backEditable);
  page.preview->update();
}

void TColorOptionsDlg::ColorChosen(int p, bool foreground) {
  if (filling_) return;
  const Element* element = CurrentElement(p);
  if (!element) return;
  QComboBox* box = foreground ? page_[p].fore : page_[p].back;
  const int index = foreground ? element->fore : element->back;
  if (index < 0 || box->currentIndex() < 0) return;
  const TColor value = box->currentData().toInt();
  if (colors_[index] == value) return;
  colors_[index] = value;
  // The selector keeps its entries while the user steps through them; other
  // elements read the copy again when they are selected.
  for (const Page& page : page_) page.preview->update();
  SetModified(true);
}

void TColorOptionsDlg::ChooseFont(int p) {
  const int index = kPageFonts[p];
  if (index < 0) return;
  TStoredFont& font = fonts_[index];
  QFontDialog dialog(TFontMapper::Make(font.name, font.size, ToCommentStyle(font.style)), this);
  dialog.setObjectName(QStringLiteral("FontDialog"));
  dialog.setOption(QFontDialog::DontUseNativeDialog, true);
  dialog.setOption(QFontDialog::MonospacedFonts, true);
  dialog.setOption(QFontDialog::ProportionalFonts, false);
  if (dialog.exec() != QDialog::Accepted) return;
  const QFont chosen = dialog.selectedFont();
  int points = chosen.pointSize() > 0 ? chosen.pointSize() : (chosen.pixelSize() * 72 + 48) / 96;
  TStoredFont next;
  next.name = chosen.family();
  next.size = std::clamp(points, 8, 24);
  next.style = static_cast<uint8_t>((chosen.italic() ? TStoredFont::kItalic : 0) |
                                    (chosen.bold() ? TStoredFont::kBold : 0));
  if (next == font) return;
  font = next;
  page_[p].font->setText(FontText(font));
  page_[p].preview->update();
  SetModified(true);
}

void TColorOptionsDlg::SetModified(bool modified) { apply_->setEnabled(modified); }

void TColorOptionsDlg::ApplyCopy() {
  TStationSettings& settings = TStationSettings::Current();
  settings.colors = colors_;
  settings.fonts = fonts_;
  ApplyDisplaySettings();
  SetModified(false);
  emit Applied();
}

void TColorOptionsDlg::PaintPreview(QPainter& painter, const QRect& area, int p) const {
  const Element* element = CurrentElement(p);
  // Elements without a background of their own sit on the page's first one.
  const Element& first = Elements()[page_[p].elementIndex.value(0)];
  const int backIndex = element && element->back >= 0 ? element->back : first.back;
  painter.fillRect(area, tcolor::ToQColor(colors_[backIndex]));
  if (!element) return;
  const QColor fore = tcolor::ToQColor(colors_[element->fore]);
  const QRect inner = area.adjusted(8, 6, -8, -6);
  switch (element->fore) {
    case S::kCellGridColor:
      for (int x = inner.left(); x <= inner.right(); x += 8)
        for (int y = inner.top(); y <= inner.bottom(); y += 8) painter.fillRect(x, y, 1, 1, fore);
      return;
    case S::kLineColorInt:
    case S::kLineColorText:
    case S::kLineColorTime:
    case S::kLineColorDate: {
      painter.setPen(QPen(fore, 1));
      const int mid = inner.center().y();
      painter.drawPolyline(QPolygon({QPoint(inner.left(), inner.top() + 4), QPoint(inner.center().x(), inner.top() + 4),
                                     QPoint(inner.center().x(), mid + 12), QPoint(inner.right(), mid + 12)}));
      return;
    }
    case S::kIndexColor: {
      const QRect box(inner.left(), inner.top(), 28, 16);
      painter.fillRect(box, tcolor::ToQColor(colors_[S::kIndexBackgnd]));
      painter.setFont(TFontMapper::Make(QStringLiteral("Arial"), 8));
      painter.setPen(fore);
      painter.drawText(box, Qt::AlignCenter, QStringLiteral("12"));
      return;
    }
    case S::kGenericAnalogIn:
    case S::kTemperatureAnalogIn:
    case S::kVoltageAnalogIn:
    case S::kFrequencyIn: {
      painter.setPen(fore);
      painter.drawRect(inner.left(), inner.top(), inner.width() - 1, 16);
      painter.fillRect(inner.left() + 2, inner.top() + 2, (inner.width() - 4) * 3 / 5, 13, fore);
      painter.setFont(TFontMapper::Make(QStringLiteral("MS Sans Serif"), 8));
      painter.drawText(QRect(inner.left(), inner.top() + 20, inner.width(), 20), Qt::AlignLeft,
                       QStringLiteral("AD1: 128"));
      return;
    }
    default:
      break;
  }
  const int font = kPageFonts[p];
  if (font >= 0)
    painter.setFont(TFontMapper::Make(fonts_[font].name, fonts_[font].size, ToCommentStyle(fonts_[font].style)));
  painter.setPen(fore);
  painter.drawText(inner, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                   QStringLiteral("AaBbYyZz 0123456789\nTarvix plus"));
}

void TColorOptionsDlg::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    TUserInterface::Current().ShowHelp(kOptionsHelp);
    return;
  }
  TCenteredDlg::keyPressEvent(event);
}
