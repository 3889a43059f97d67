// TDataLogGrid: the one-column grid of the data-log view ("FileGrid").
//
// Paints the logged values in rows (TDataLogLayout): the row number in the
// index colour, then the values, those already shown before the last change
// in the old colour and the rest in the new colour. A refresh repaints only
// the rows whose text or colours changed and scrolls to the last row; a
// resize lays the rows out again. Without data it shows
// "Keine Daten aufgezeichnet".
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <cstdint>

#include "TDataLogLayout.h"

// Where the grid reads the log from (the project's copy of the data file).
class TDataLogSource {
 public:
  virtual ~TDataLogSource() = default;
  virtual int Length() const = 0;
  // The length before the last change.
  virtual int PreviousLength() const = 0;
  virtual uint16_t Value(int index) const = 0;
};

class TDataLogGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  static inline const QString kEmptyText = QStringLiteral("Keine Daten aufgezeichnet");

  explicit TDataLogGrid(QWidget* parent = nullptr);

  // Null shows the empty-log text. Not owned.
  void SetSource(const TDataLogSource* source);
  void SetHex(bool hex);
  bool Hex() const { return hex_; }
  void SetColors(QColor background, QColor oldValue, QColor newValue, QColor index);
  void SetGridFont(const QFont& font);

  // The log changed: new row count, scroll to the last row, repaint the
  // changed rows; the values up to the previous length count as shown.
  void Refresh();

  TDataLogLayout Layout() const;
  int RowHeight() const;
  // Rectangle of a row in viewport coordinates.
  QRect RowRect(int row) const;
  // The colour a value is painted in now.
  QColor ValueColor(int index) const;
  int ShownCount() const { return shown_; }
  // The rows the last refresh repainted (first, last); (-1, -1) after a full repaint.
  QPair<int, int> LastRepaintedRows() const { return lastRows_; }
  // Rows the last paint event drew.
  int PaintedRows() const { return paintedRows_; }

  QColor OldColor() const { return oldColor_; }
  QColor NewColor() const { return newColor_; }
  QColor IndexColor() const { return indexColor_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void UpdateScrollRange();
  int Length() const { return source_ ? source_->Length() : 0; }
  int CharWidth() const;

  const TDataLogSource* source_ = nullptr;
  bool hex_ = false;
  int shown_ = 0;       // values shown before the last change
  int lastLength_ = 0;  // the length at the last refresh
  QPair<int, int> lastRows_{-1, -1};
  int paintedRows_ = 0;
  QColor background_ = Qt::lightGray;
  QColor oldColor_ = Qt::black;
  QColor newColor_ = Qt::red;
  QColor indexColor_ = Qt::darkGray;
};
