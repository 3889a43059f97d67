// TToolWindow: base of the simulator panels (ports, analog values, keys and
// LEDs, the trend of watched values): small stay-on-top windows outside the
// MDI area, each at most once. The frame refreshes them after the run
// control read the ports, and tells them when the settings or the project
// change. A panel keeps its rectangle in the station's settings and comes
// back onto the screen when a stored rectangle lies off it.
#pragma once

#include <QList>
#include <QRect>
#include <QWidget>
#include <cstdint>

#include "TRect.h"

class TTarvixPlusModel;

class TToolWindow : public QWidget {
  Q_OBJECT

 public:
  explicit TToolWindow(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TToolWindow() override;

  TTarvixPlusModel* Model() const { return model_; }
  virtual void SetModel(TTarvixPlusModel* model) { model_ = model; }
  // The simulated ports changed (TSimulatedInputs holds the new state).
  virtual void RefreshPorts() {}
  // Colours or fonts of the settings changed.
  virtual void SettingsChanged() {}
  // The help topic F1 opens in this window.
  virtual int32_t HelpContext() const { return 0; }

  // Every tool window alive, oldest first; RefreshAll calls RefreshPorts on
  // each (what the frame's port refresh after a step batch needs).
  static const QList<TToolWindow*>& Instances();
  static void RefreshAll();

  // Places the window at a stored rectangle; an empty one leaves it where it
  // is. Sizes are kept within the window's limits and the screen, and a
  // rectangle that lies off the screen is moved back onto it.
  void RestorePlacement(const TRect& saved);
  // The rectangle to keep in the settings.
  TRect Placement() const { return TRect::FromQRect(geometry()); }
  // Whether the settings hold a rectangle for this window (it was restored).
  bool HasStoredPlacement() const;
  // Where a rectangle lies once moved back onto a screen area: entirely left
  // of it moves right by its negative left, starting right of it moves so its
  // right meets the screen's right edge; the same vertically.
  static QRect MovedOnScreen(const QRect& rect, const QRect& screen);

 protected:
  // The settings slot (TStationSettings::Window) this window keeps its
  // placement and visibility in; -1 for none. Restores the stored placement.
  void UsePlacementSlot(int slot);

  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void KeepPlacement();

  TTarvixPlusModel* model_ = nullptr;
  int slot_ = -1;
  bool restoring_ = false;
};
