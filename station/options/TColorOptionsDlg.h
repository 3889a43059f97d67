// TColorOptionsDlg: the colour and font dialog ("Farben und Schriftarten...").
//
// Works on a copy of the colours and fonts of the running station's
// settings. Six pages list the display elements of the cell editor, the
// table and comment editors, the watch window, the terminal, the data-log
// view and the analog panel; each element has a foreground and a background
// selector ("Vorgabe" and the 16 standard colours). "Übernehmen" and OK put
// the copy into the settings, apply them and tell every open window;
// Cancel drops what was not applied yet.
#pragma once

#include <QVector>
#include <array>

#include "TCenteredDlg.h"
#include "TStationSettings.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPainter;
class QPushButton;
class QRect;
class QTabWidget;

class TColorOptionsDlg : public TCenteredDlg {
  Q_OBJECT

 public:
  // One display element: its colours as indices of TStationSettings::Color
  // (-1: none of that kind).
  struct Element {
    int page;
    const char* name;
    int fore;
    int back;
    bool backEditable;  // false: a background shared with another element
  };
  static const QVector<Element>& Elements();
  static constexpr int kPageCount = 6;
  // The font of each page (-1 for the last, which uses none).
  static constexpr std::array<int, kPageCount> kPageFonts{
      TStationSettings::kCellCommentFont, TStationSettings::kTableFont, TStationSettings::kWatchFont,
      TStationSettings::kTerminalFont,    TStationSettings::kDataFont,  -1};
  // The 16 standard colours of the selectors, after "Vorgabe".
  static const std::array<TColor, 16>& StandardColors();

  explicit TColorOptionsDlg(QWidget* parent = nullptr);

  // The copy being edited.
  const std::array<TColor, TStationSettings::kColorCount>& Colors() const { return colors_; }
  const std::array<TStoredFont, TStationSettings::kFontCount>& Fonts() const { return fonts_; }

  // The font as the page shows it: "%s, %dpt%s" with ", fett" and ", kursiv".
  static QString FontText(const TStoredFont& font);
  // Paints the sample of the element selected on a page.
  void PaintPreview(QPainter& painter, const QRect& area, int page) const;

 signals:
  // The copy went into the running station's settings.
  void Applied();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  struct Page {
    QListWidget* elements = nullptr;
    QComboBox* fore = nullptr;
    QComboBox* back = nullptr;
    QLabel* font = nullptr;
    QPushButton* chooseFont = nullptr;
    QWidget* preview = nullptr;
    QVector<int> elementIndex;  // list row -> Elements() index
  };

  QWidget* MakePage(int page);
  void FillSelector(QComboBox* box, int colorIndex);
  void ShowElement(int page);
  void ColorChosen(int page, bool foreground);
  void ChooseFont(int page);
  void SetModified(bool modified);
  void ApplyCopy();
  const Element* CurrentElement(int page) const;

  QTabWidget* pages_ = nullptr;
  std::array<Page, kPageCount> page_{};
  QPushButton* apply_ = nullptr;
  std::array<TColor, TStationSettings::kColorCount> colors_{};
  std::array<TStoredFont, TStationSettings::kFontCount> fonts_{};
  bool filling_ = false;
};
