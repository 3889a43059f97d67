#include "TInputLine.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "CellEditorSettings.h"
#include "Grid.h"
#include "TTokenString.h"

namespace {

// Coordinates beyond this are not drawing data of any cell; rejecting them
// keeps all geometry arithmetic far from overflow.
constexpr int32_t kCoordinateLimit = 1000000;

QPoint Snapped(QPoint p, bool align, int32_t g) { return align ? grid::Nearest(p, g) : p; }

}  // namespace

uint8_t TInputLine::SideOf(QPoint p, QPoint c) {
  const int32_t dx = p.x() - c.x();
  const int32_t dy = p.y() - c.y();
  if (std::abs(dy) >= std::abs(dx)) return dy < 1 ? kTop : kBottom;
  return dx < 1 ? kLeft : kRight;
}

QPoint TInputLine::AttachPoint(const TRect& r, QPoint p, bool align, int32_t g) {
  const QPoint c(r.Width() / 2 + r.left, r.Height() / 2 + r.top);
  QPoint a;
  switch (SideOf(p, c)) {
    case kLeft: a = {r.left, c.y()}; break;
    case kTop: a = {c.x(), r.top}; break;
    case kRight: a = {r.right, c.y()}; break;
    default: a = {c.x(), r.bottom}; break;
  }
  return Snapped(a, align, g);
}

bool TInputLine::AddPoint(QPoint p) {
  if (pointCount > kMaxPoints - 1) return false;
  points[static_cast<size_t>(pointCount)] = p;
  hitIndex = pointCount++;
  Update();
  return true;
}

bool TInputLine::InsertBend(QPoint p) {
  if (pointCount > kMaxPoints - 1 || hitIndex < 0 || hitIndex >= pointCount) return false;
  for (int i = pointCount; i > hitIndex + 1; --i) points[static_cast<size_t>(i)] = points[static_cast<size_t>(i - 1)];
  ++pointCount;
  ++hitIndex;
  points[static_cast<size_t>(hitIndex)] = p;
  hitKind = kHitPoint;
  Update();
  return true;
}

bool TInputLine::DeleteBend() {
  if (hitIndex < 1 || hitIndex > pointCount - 2) return false;
  for (int i = hitIndex; i < pointCount - 1; ++i) points[static_cast<size_t>(i)] = points[static_cast<size_t>(i + 1)];
  --pointCount;
  Update();
  return true;
}

void TInputLine::RemoveDuplicates() {
  auto removeAt = [this](int i) {
    for (int k = i; k < pointCount - 1; ++k) points[static_cast<size_t>(k)] = points[static_cast<size_t>(k + 1)];
    --pointCount;
  };
  for (int i = pointCount - 2; i >= 1; --i)
    if (Point(i) == Point(i + 1)) removeAt(i);
  if (pointCount > 2 && Point(0) == Point(1)) removeAt(1);
  Update();
}

bool TInputLine::RerouteStart(const TRect& sourceRect) {
  if (pointCount < 2) return false;
  const CellEditorSettings& s = CellEditorSettings::Current();
  const QPoint a = AttachPoint(sourceRect, Point(1), s.alignAtGrid, s.gridSize);
  const bool changed = a != Point(0);
  points[0] = a;
  Update();
  return changed;
}

bool TInputLine::RerouteEnd(const TRect& targetRect) {
  if (pointCount < 2) return false;
  const CellEditorSettings& s = CellEditorSettings::Current();
  const QPoint a = AttachPoint(targetRect, Point(pointCount - 2), s.alignAtGrid, s.gridSize);
  const bool changed = a != Last();
  points[static_cast<size_t>(pointCount - 1)] = a;
  Update();
  return changed;
}

void TInputLine::SlideEnds(const TRect& sourceRect, const TRect& targetRect) {
  if (pointCount < 2) return;
  const CellEditorSettings& s = CellEditorSettings::Current();
  auto slide = [&](const TRect& r, QPoint& end, QPoint neighbour) {
    const QPoint c(r.Width() / 2 + r.left, r.Height() / 2 + r.top);
    const uint8_t side = SideOf(neighbour, c);
    const QPoint a = AttachPoint(r, neighbour, false, s.gridSize);
    if (side == kLeft || side == kRight)
      end = {a.x(), std::clamp(end.y(), std::min(r.top, r.bottom), std::max(r.top, r.bottom))};
    else
      end = {std::clamp(end.x(), std::min(r.left, r.right), std::max(r.left, r.right)), a.y()};
    end = Snapped(end, s.alignAtGrid, s.gridSize);
  };
  slide(sourceRect, points[0], Point(1));
  slide(targetRect, points[static_cast<size_t>(pointCount - 1)], Point(pointCount - 2));
  Update();
}

void TInputLine::ShiftAll(QPoint delta) {
  const CellEditorSettings& s = CellEditorSettings::Current();
  for (int i = 0; i < pointCount; ++i) points[static_cast<size_t>(i)] = Snapped(Point(i) + delta, s.alignAtGrid, s.gridSize);
  Update();
}

void TInputLine::ShiftInner(QPoint delta) {
  const CellEditorSettings& s = CellEditorSettings::Current();
  for (int i = 1; i < pointCount - 1; ++i) points[static_cast<size_t>(i)] = Snapped(Point(i) + delta, s.alignAtGrid, s.gridSize);
  Update();
}

void TInputLine::Update() {
  arrivalSide = pointCount >= 2 ? SideOf(Point(pointCount - 2), Last()) : 0;
  if (pointCount < 2) {
    bounds = {};
    return;
  }
  TRect r{Point(0).x(), Point(0).y(), Point(0).x(), Point(0).y()};
  for (int i = 1; i < pointCount; ++i) {
    r.left = std::min(r.left, Point(i).x());
    r.top = std::min(r.top, Point(i).y());
    r.right = std::max(r.right, Point(i).x());
    r.bottom = std::max(r.bottom, Point(i).y());
  }
  bounds = r.Inflated(menuLetter != -1 ? 20 : 4);
}

bool TInputLine::HitTest(QPoint m) {
  for (int i = 0; i < pointCount; ++i) {
    const QPoint p = Point(i);
    if (TRect{p.x() - 3, p.y() - 3, p.x() + 4, p.y() + 4}.Contains(m)) {
      hitKind = kHitPoint;
      hitIndex = i;
      return true;
    }
  }
  for (int j = 0; j + 1 < pointCount; ++j) {
    const QPoint p = Point(j);
    const QPoint q = Point(j + 1);
    if (m.x() < std::min(p.x(), q.x()) - 4 || m.x() > std::max(p.x(), q.x()) + 4) continue;
    if (m.y() < std::min(p.y(), q.y()) - 4 || m.y() > std::max(p.y(), q.y()) + 4) continue;
    const int64_t dx = q.x() - p.x();
    const int64_t dy = q.y() - p.y();
    bool hit;
    if (dx == 0) {
      hit = std::abs(m.x() - p.x()) < 4;
    } else if (dy == 0) {
      hit = std::abs(m.y() - p.y()) < 4;
    } else {
      const int64_t yOnLine = std::llround(static_cast<double>((m.x() - p.x()) * dy) / static_cast<double>(dx)) + p.y();
      const int64_t xOnLine = std::llround(static_cast<double>((m.y() - p.y()) * dx) / static_cast<double>(dy)) + p.x();
      hit = std::llabs(yOnLine - m.y()) < 4 || std::llabs(xOnLine - m.x()) < 4;
    }
    if (hit) {
      hitKind = kHitSegment;
      hitIndex = j;
      return true;
    }
  }
  hitKind = kHitNone;
  hitIndex = -1;
  return false;
}

void TInputLine::Paint(QPainter& painter, const CellEditorSettings& settings) const {
  if (pointCount < 2 || hidden) return;
  const QColor color = tcolor::ToQColor(settings.WireColor(connectionKind));
  painter.setPen(QPen(color, 1, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  painter.setBrush(color);
  painter.drawPolyline(points.data(), pointCount);

  const QPoint end = Last();
  const QPoint prev = Point(pointCount - 2);
  const int32_t dx = end.x() - prev.x();
  const int32_t dy = end.y() - prev.y();
  double theta;
  if (dx != 0) theta = std::atan(static_cast<double>(dy) / dx);
  else theta = dy < 0 ? M_PI / 2 : -M_PI / 2;
  constexpr double kSpread = 0.31415926535897932385;
  auto corner = [&](double angle) {
    const double cx = 12 * std::cos(angle);
    const double cy = 12 * std::sin(angle);
    return dx > 0 ? QPoint(static_cast<int>(std::lround(end.x() - cx)), static_cast<int>(std::lround(end.y() - cy)))
                  : QPoint(static_cast<int>(std::lround(end.x() + cx)), static_cast<int>(std::lround(end.y() + cy)));
  };
  const QPoint a = corner(theta + kSpread);
  const QPoint b = corner(theta - kSpread);
  const QPoint head[3] = {end, a, b};
  painter.drawPolygon(head, 3);

  if (menuLetter < 0) return;
  const QPoint m((a.x() + b.x()) / 2, (a.y() + b.y()) / 2);
  const bool rises = end.y() < prev.y();
  const bool goesLeft = end.x() < prev.x();
  int x = 0, y = 0;
  Qt::Alignment align;
  switch (arrivalSide) {
    case kLeft:
      x = m.x() + 2; y = rises ? m.y() - 5 : m.y() + 5;
      align = rises ? (Qt::AlignRight | Qt::AlignBottom) : (Qt::AlignRight | Qt::AlignTop);
      break;
    case kTop:
      x = goesLeft ? m.x() - 2 : m.x() + 2; y = m.y() - 2;
      align = goesLeft ? (Qt::AlignRight | Qt::AlignBottom) : (Qt::AlignLeft | Qt::AlignBottom);
      break;
    case kRight:
      x = m.x() - 2; y = rises ? m.y() - 5 : m.y() + 5;
      align = rises ? (Qt::AlignLeft | Qt::AlignBottom) : (Qt::AlignLeft | Qt::AlignTop);
      break;
    default:
      x = goesLeft ? m.x() - 2 : m.x() + 2; y = m.y() + 2;
      align = goesLeft ? (Qt::AlignRight | Qt::AlignTop) : (Qt::AlignLeft | Qt::AlignTop);
      break;
  }
  const QString letter(QChar(static_cast<char16_t>(u'a' + menuLetter)));
  const QFontMetrics fm(painter.font());
  const int w = fm.horizontalAdvance(letter);
  const int h = fm.height();
  const int left = (align & Qt::AlignRight) ? x - w : x;
  const int top = (align & Qt::AlignBottom) ? y - h : y;
  painter.setPen(tcolor::ToQColor(settings.foregroundColor));
  painter.drawText(QRect(left, top, w, h), Qt::AlignLeft | Qt::AlignTop, letter);
}

QString TInputLine::ToText() const {
  const int32_t combined = static_cast<int32_t>((static_cast<uint32_t>(menuLetter + 1) << 16) |
                                                static_cast<uint16_t>(static_cast<int16_t>(connectionKind)));
  QString text = QStringLiteral("%1,%2:").arg(source).arg(combined);
  for (int i = 0; i < pointCount; ++i) text += QStringLiteral("%1,%2,").arg(Point(i).x()).arg(Point(i).y());
  if (text.endsWith(QLatin1Char(','))) text.chop(1);
  return text;
}

bool TInputLine::FromText(const QString& text) {
  TTokenString tokens(text, QLatin1Char(','));
  int32_t combined = 0;
  if (!tokens.NextInt(source)) return false;
  tokens.SetSeparator(QLatin1Char(':'));
  if (!tokens.NextInt(combined)) return false;
  connectionKind = static_cast<int8_t>(combined & 0xFF);
  menuLetter = static_cast<int8_t>(static_cast<int32_t>((static_cast<uint32_t>(combined) >> 16) & 0xFFFF) - 1);
  tokens.SetSeparator(QLatin1Char(','));
  pointCount = 0;
  bool ok = true;
  while (tokens.HasMore()) {
    int32_t x = 0, y = 0;
    if (!tokens.NextInt(x) || !tokens.NextInt(y) || std::abs(x) > kCoordinateLimit || std::abs(y) > kCoordinateLimit) {
      ok = false;
      break;
    }
    // A wire holds at most 21 points; the rest of a longer line is dropped.
    if (pointCount < kMaxPoints) points[static_cast<size_t>(pointCount++)] = {x, y};
  }
  Update();
  return ok;
}

bool TInputLine::SameRoute(const TInputLine& o) const {
  if (source != o.source || connectionKind != o.connectionKind || menuLetter != o.menuLetter || pointCount != o.pointCount)
    return false;
  return std::equal(points.begin(), points.begin() + pointCount, o.points.begin());
}
