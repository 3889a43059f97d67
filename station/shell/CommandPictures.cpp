#include "CommandPictures.h"

#include <QPainter>
#include <QPixmap>
#include <QStyle>

#include "BreakpointPicture.h"

namespace {

// Small tool-button pictures drawn here, for commands the platform style
// has no standard icon for.
QIcon Glyph(const QString& kind) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (kind == QLatin1String("breakpoint")) {
    PaintBreakpoint(p, QRect(3, 3, 10, 10));
  } else if (kind == QLatin1String("clearbreakpoints")) {
    PaintBreakpoint(p, QRect(2, 2, 8, 8));
    PaintBreakpoint(p, QRect(6, 6, 8, 8));
    p.setPen(QPen(Qt::black, 2));
    p.drawLine(2, 14, 14, 2);
  } else if (kind == QLatin1String("runtocell")) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 128, 0));
    p.drawPolygon(QPolygon({QPoint(2, 3), QPoint(10, 8), QPoint(2, 13)}));
    p.setBrush(Qt::black);
    p.drawRect(11, 3, 3, 10);
  } else if (kind == QLatin1String("compile")) {
    p.setPen(QPen(QColor(0, 64, 160), 2));
    p.drawLine(2, 8, 6, 12);
    p.drawLine(6, 12, 14, 3);
  } else if (kind == QLatin1String("download")) {
    p.setPen(QPen(QColor(0, 64, 160), 2));
    p.drawLine(8, 2, 8, 11);
    p.drawLine(4, 7, 8, 11);
    p.drawLine(12, 7, 8, 11);
    p.drawLine(2, 14, 14, 14);
  } else if (kind == QLatin1String("newcell")) {
    p.setPen(QColor(0, 64, 128));
    p.setBrush(QColor(255, 255, 200));
    p.drawRect(2, 3, 11, 10);
    p.setPen(QPen(QColor(0, 128, 0), 2));
    p.drawLine(12, 1, 12, 7);
    p.drawLine(9, 4, 15, 4);
  } else if (kind == QLatin1String("comment")) {
    p.setPen(Qt::darkGray);
    p.setBrush(QColor(255, 255, 220));
    p.drawRect(1, 3, 14, 10);
    p.setPen(Qt::black);
    p.drawText(QRect(1, 3, 14, 10), Qt::AlignCenter, QStringLiteral("T"));
  } else if (kind == QLatin1String("cut")) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.drawLine(4, 1, 10, 10);
    p.drawLine(12, 1, 6, 10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(160, 0, 0), 1.5));
    p.drawEllipse(QPointF(5, 12.5), 2.5, 2.5);
    p.drawEllipse(QPointF(11, 12.5), 2.5, 2.5);
  } else if (kind == QLatin1String("copy") || kind == QLatin1String("paste")) {
    p.setPen(Qt::darkGray);
    if (kind == QLatin1String("copy")) {
      p.setBrush(Qt::white);
      p.drawRect(1, 1, 8, 10);
      p.drawRect(6, 5, 8, 10);
    } else {
      p.setBrush(QColor(200, 160, 90));
      p.drawRect(2, 2, 10, 13);
      p.setBrush(Qt::white);
      p.drawRect(6, 6, 8, 9);
      p.setBrush(Qt::gray);
      p.drawRect(5, 1, 4, 3);
    }
  } else if (kind == QLatin1String("realtime") || kind == QLatin1String("virtualtime")) {
    // A clock face; time lapse adds two fast-forward arrows at its right.
    const bool lapse = kind == QLatin1String("virtualtime");
    p.setPen(QPen(QColor(40, 40, 40), 1.2));
    p.setBrush(Qt::white);
    const QRectF face = lapse ? QRectF(1, 2, 11, 11) : QRectF(1.5, 1.5, 13, 13);
    p.drawEllipse(face);
    p.drawLine(face.center(), face.center() - QPointF(0, face.height() / 2 - 2));
    p.drawLine(face.center(), face.center() + QPointF(face.width() / 2 - 2.5, 0));
    if (lapse) {
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0, 128, 0));
      p.drawPolygon(QPolygonF({QPointF(10, 8), QPointF(13, 11), QPointF(10, 14)}));
      p.drawPolygon(QPolygonF({QPointF(12.5, 8), QPointF(15.5, 11), QPointF(12.5, 14)}));
    }
  } else if (kind.startsWith(QLatin1String("align"))) {
    p.setPen(Qt::black);
    p.setBrush(QColor(160, 190, 230));
    const int side = kind.back().digitValue();  // 0 left, 1 top, 2 right, 3 bottom
    const bool vertical = side == 0 || side == 2;
    if (vertical) {
      const int x = side == 0 ? 2 : 13;
      p.drawLine(x, 1, x, 15);
      p.drawRect(side == 0 ? 3 : 5, 3, 7, 4);
      p.drawRect(side == 0 ? 3 : 8, 9, 4, 4);
    } else {
      const int y = side == 1 ? 2 : 13;
      p.drawLine(1, y, 15, y);
      p.drawRect(3, side == 1 ? 3 : 5, 4, 7);
      p.drawRect(9, side == 1 ? 3 : 8, 4, 4);
    }
  }
  return QIcon(pm);
}

}  // namespace

QIcon CommandPicture(TPicture picture, const QStyle& style) {
  switch (picture) {
    case TPicture::None: return {};
    case TPicture::Open: return style.standardIcon(QStyle::SP_DirOpenIcon);
    case TPicture::Save: return style.standardIcon(QStyle::SP_DialogSaveButton);
    case TPicture::Cut: return Glyph(QStringLiteral("cut"));
    case TPicture::Copy: return Glyph(QStringLiteral("copy"));
    case TPicture::Paste: return Glyph(QStringLiteral("paste"));
    case TPicture::Clear: return style.standardIcon(QStyle::SP_TrashIcon);
    case TPicture::Undo: return style.standardIcon(QStyle::SP_ArrowBack);
    case TPicture::Redo: return style.standardIcon(QStyle::SP_ArrowForward);
    case TPicture::Compile: return Glyph(QStringLiteral("compile"));
    case TPicture::Download: return Glyph(QStringLiteral("download"));
    case TPicture::Run: return style.standardIcon(QStyle::SP_MediaPlay);
    case TPicture::SingleStep: return style.standardIcon(QStyle::SP_MediaSkipForward);
    case TPicture::RunToCell: return Glyph(QStringLiteral("runtocell"));
    case TPicture::Breakpoint: return Glyph(QStringLiteral("breakpoint"));
    case TPicture::ClearBreakpoints: return Glyph(QStringLiteral("clearbreakpoints"));
    case TPicture::Stop: return style.standardIcon(QStyle::SP_MediaStop);
    case TPicture::Reset: return style.standardIcon(QStyle::SP_BrowserReload);
    case TPicture::RealTime: return Glyph(QStringLiteral("realtime"));
    case TPicture::VirtualTime: return Glyph(QStringLiteral("virtualtime"));
    case TPicture::NewCell: return Glyph(QStringLiteral("newcell"));
    case TPicture::Comment: return Glyph(QStringLiteral("comment"));
    case TPicture::AlignLeft: return Glyph(QStringLiteral("align0"));
    case TPicture::AlignTop: return Glyph(QStringLiteral("align1"));
    case TPicture::AlignRight: return Glyph(QStringLiteral("align2"));
    case TPicture::AlignBottom: return Glyph(QStringLiteral("align3"));
  }
  return {};
}
