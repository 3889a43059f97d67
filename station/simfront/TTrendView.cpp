#include "TTrendView.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <climits>
#include <vector>

#include "ExportFile.h"
#include "SimPictures.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

constexpr int kButtonRow = 30;
constexpr int kRepaintMs = 200;

}  // namespace

TTrendView::TTrendView(TTarvixPlusModel* model, QWidget* parent) : TToolWindow(model, parent) {
  setWindowTitle(QStringLiteral("Verlauf"));
  setAccessibleName(windowTitle());
  setFont(simpictures::PanelFont());
  setMinimumSize(240, 140);
  resize(460, 260);
  pause_ = new QPushButton(QStringLiteral("&Anhalten"), this);
  pause_->setAccessibleName(QStringLiteral("Anhalten"));
  pause_->setCheckable(true);
  export_ = new QPushButton(QStringLiteral("&Exportieren..."), this);
  export_->setAccessibleName(QStringLiteral("Exportieren..."));
  connect(pause_, &QPushButton::toggled, this, &TTrendView::SetPaused);
  connect(export_, &QPushButton::clicked, this, &TTrendView::Export);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(4, 4, 4, 0);
  buttons->addWidget(pause_);
  buttons->addWidget(export_);
  buttons->addStretch(1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addLayout(buttons);
  layout->addStretch(1);
  sincePaint_.start();
  if (model) model->AddView(this);
  RefreshPorts();
}

TTrendView::~TTrendView() {
  if (Model()) Model()->RemoveView(this);
}

void TTrendView::ModelGone() {
  // The model already forgot this view.
  TToolWindow::SetModel(nullptr);
  samples_.Clear();
  update();
}

QColor TTrendView::SeriesColor(size_t index) {
  static const std::array<QColor, 8> colors{QColor(0, 114, 189), QColor(217, 83, 25),  QColor(0, 150, 60),
                                            QColor(126, 47, 142), QColor(200, 160, 0), QColor(77, 190, 238),
                                            QColor(162, 20, 47),  QColor(90, 90, 90)};
  return colors[index % colors.size()];
}

void TTrendView::SetModel(TTarvixPlusModel* model) {
  if (model == Model()) return;
  if (Model()) Model()->RemoveView(this);
  TToolWindow::SetModel(model);
  if (model) model->AddView(this);
  samples_.Clear();
  update();
}

void TTrendView::SetPaused(bool paused) {
  paused_ = paused;
  if (pause_->isChecked() != paused) pause_->setChecked(paused);
  pause_->setText(paused ? QStringLiteral("&Fortsetzen") : QStringLiteral("&Anhalten"));
  pause_->setAccessibleName(paused ? QStringLiteral("Fortsetzen") : QStringLiteral("Anhalten"));
  update();
}

void TTrendView::RefreshPorts() {
  TTarvixPlusModel* model = Model();
  if (paused_ || !model || model->SimState() == TSimState::NotReady) return;
  const auto& watches = model->Watches();
  scratch_.clear();
  const int64_t time = model->Simulation().EngineSteps();
  // One sample per batch: a refresh without a step in between adds none.
  if (samples_.Size() > 0 && time == samples_.TimeAt(samples_.Size() - 1)) return;
  for (const TWatchEntry& w : watches) scratch_.push_back({&w.Name, w.MapCode, PlexorGetValue(model->Engine(), w.MapCode)});
  samples_.Add(time, scratch_);
  // The clock is asked every 16th sample only: batches can be very short.
  if ((++sampled_ & 15u) == 0 && sincePaint_.elapsed() >= kRepaintMs && isVisible()) {
    sincePaint_.restart();
    update();
  }
}

bool TTrendView::ExportCsv(const QString& fileName) {
  return WriteExportFile(fileName, samples_.ToCsv(), QStringLiteral("Die Datei %1 kann nicht geschrieben werden."));
}

void TTrendView::Export() {
  TUserInterface::FileRequest request;
  request.caption = QStringLiteral("Verlauf exportieren");
  request.filter = QStringLiteral("CSV-Dateien (*.csv)|*.csv|Alle Dateien (*.*)|*.*");
  request.defaultExtension = QStringLiteral("csv");
  const QString name = TUserInterface::Current().SaveFileName(request);
  if (!name.isEmpty()) ExportCsv(name);
}

QRect TTrendView::PlotArea() const { return rect().adjusted(52, kButtonRow + 8, -10, -22); }

void TTrendView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window));
  const QRect area = PlotArea();
  if (area.width() < 10 || area.height() < 10) return;
  p.fillRect(area, Qt::white);
  p.setPen(palette().color(QPalette::Dark));
  p.drawRect(area.adjusted(0, 0, -1, -1));
  const QFontMetrics fm(font());
  p.setPen(palette().color(QPalette::WindowText));
  p.drawText(QRect(area.left(), area.bottom() + 3, area.width(), fm.height()), Qt::AlignHCenter,
             paused_ ? QStringLiteral("Schritte (angehalten)") : QStringLiteral("Schritte"));
  int32_t low = 0;
  int32_t high = 0;
  if (samples_.Size() == 0 || !samples_.Range(low, high)) {
    p.drawText(area, Qt::AlignCenter, QStringLiteral("Keine Werte"));
    return;
  }
  // A margin above and below keeps the extreme lines off the frame.
  const int32_t margin = std::max<int32_t>(1, static_cast<int32_t>((static_cast<int64_t>(high) - low) / 20));
  low = static_cast<int32_t>(std::max<int64_t>(INT32_MIN + 1, static_cast<int64_t>(low) - margin));
  high = static_cast<int32_t>(std::min<int64_t>(INT32_MAX, static_cast<int64_t>(high) + margin));
  const int64_t t0 = samples_.TimeAt(0);
  const int64_t t1 = std::max(t0 + 1, samples_.TimeAt(samples_.Size() - 1));
  p.drawText(QRect(0, area.top() - fm.height() / 2, area.left() - 4, fm.height()), Qt::AlignRight, QString::number(high));
  p.drawText(QRect(0, area.bottom() - fm.height() / 2, area.left() - 4, fm.height()), Qt::AlignRight, QString::number(low));
  p.drawText(QRect(area.left(), area.bottom() + 3, 80, fm.height()), Qt::AlignLeft, QString::number(t0));
  p.drawText(QRect(area.right() - 80, area.bottom() + 3, 80, fm.height()), Qt::AlignRight, QString::number(t1));

  const auto xOf = [&](int64_t t) { return area.left() + static_cast<int>((t - t0) * (area.width() - 1) / (t1 - t0)); };
  const auto yOf = [&](int32_t v) {
    return area.bottom() - static_cast<int>((static_cast<int64_t>(v) - low) * (area.height() - 1) / (static_cast<int64_t>(high) - low));
  };
  p.save();
  p.setClipRect(area);
  const auto& series = samples_.AllSeries();
  // Each pixel column is drawn once per series, as a stroke from the
  // smallest to the largest value that falls on it, joined to the next:
  // the cost of a repaint follows the width, not the number of samples.
  const int columns = area.width();
  std::vector<int> lowY(static_cast<size_t>(columns)), highY(static_cast<size_t>(columns));
  std::vector<int> firstY(static_cast<size_t>(columns)), lastY(static_cast<size_t>(columns));
  std::vector<char> used(static_cast<size_t>(columns));
  for (size_t s = 0; s < series.size(); ++s) {
    std::fill(used.begin(), used.end(), 0);
    for (size_t i = 0; i < samples_.Size(); ++i) {
      const int32_t v = samples_.ValueAt(i, s);
      if (v == TTrendSamples::kNoValue) continue;
      const size_t c = static_cast<size_t>(std::clamp(xOf(samples_.TimeAt(i)) - area.left(), 0, columns - 1));
      const int y = yOf(v);
      if (!used[c]) {
        used[c] = 1;
        lowY[c] = highY[c] = firstY[c] = y;
      }
      lowY[c] = std::min(lowY[c], y);
      highY[c] = std::max(highY[c], y);
      lastY[c] = y;
    }
    p.setPen(QPen(SeriesColor(s), 1.5));
    int previous = -1;
    for (int c = 0; c < columns; ++c) {
      const size_t k = static_cast<size_t>(c);
      if (!used[k]) continue;
      const int x = area.left() + c;
      if (previous >= 0) p.drawLine(area.left() + previous, lastY[static_cast<size_t>(previous)], x, firstY[k]);
      if (highY[k] != lowY[k]) p.drawLine(x, lowY[k], x, highY[k]);
      else if (previous < 0) p.drawPoint(x, lowY[k]);
      previous = c;
    }
  }
  p.restore();
  // The legend.
  int x = area.left() + 6;
  const int y = area.top() + 3;
  for (size_t s = 0; s < series.size(); ++s) {
    const int w = fm.horizontalAdvance(series[s].name);
    if (x + w + 16 > area.right()) break;
    p.fillRect(QRect(x - 3, y - 1, w + 19, fm.height() + 2), QColor(255, 255, 255, 220));
    p.fillRect(QRect(x, y + fm.ascent() / 2, 10, 3), SeriesColor(s));
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(x + 13, y + fm.ascent(), series[s].name);
    x += w + 24;
  }
}
