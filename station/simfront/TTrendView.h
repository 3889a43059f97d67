// TTrendView: "Verlauf", the watched values plotted over simulated time
// (engine steps), one sample per step batch, the last 10 000 samples. Each
// variable has its own colour and an entry in the legend; the value axis
// scales itself. Sampling can be paused and the samples exported as CSV.
// It samples where the panels are refreshed after a batch and repaints
// at most five times a second, at a cost that follows its width, so
// watching a trend barely slows the simulation.
#pragma once

#include <QElapsedTimer>

#include "TModelView.h"
#include "TToolWindow.h"
#include "TTrendSamples.h"

class QPushButton;

class TTrendView : public TToolWindow, public TModelView {
  Q_OBJECT

 public:
  explicit TTrendView(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TTrendView() override;

  // Takes one sample of the watched values (after a step batch).
  void RefreshPorts() override;
  void SetModel(TTarvixPlusModel* model) override;
  int32_t HelpContext() const override { return 12000; }

  const TTrendSamples& Samples() const { return samples_; }
  bool Paused() const { return paused_; }
  void SetPaused(bool paused);
  // Writes the samples as CSV; false (with the error shown) when it failed.
  bool ExportCsv(const QString& fileName);
  // Asks for a file name, then exports.
  void Export();
  QPushButton* PauseButton() const { return pause_; }
  QPushButton* ExportButton() const { return export_; }

  // The colour of series i.
  static QColor SeriesColor(size_t index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  // TModelView: the project going away ends the trend's hold on it.
  void ModelChanged(int32_t, int64_t, const TChangeRecord*) override {}
  void ModelGone() override;

 private:
  QRect PlotArea() const;

  TTrendSamples samples_;
  std::vector<TTrendSamples::Watched> scratch_;
  bool paused_ = false;
  QElapsedTimer sincePaint_;
  uint32_t sampled_ = 0;
  QPushButton* pause_ = nullptr;
  QPushButton* export_ = nullptr;
};
