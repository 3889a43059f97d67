// TKeyLEDForm: the panel of the unit's four keys (lines 9..12, a pressed key
// is level 0) and four yellow LEDs (lines 13..16) on the keyboard picture.
// A click or F1..F4 presses a key (as a push button, or latched with Shift);
// Ctrl+F1 opens the help because F1 is a key here. Only LEDs and keys that
// changed since they were painted last are repainted.
#pragma once

#include <QMenu>
#include <array>

#include "TPushLatch.h"
#include "TToolWindow.h"

class QAction;
class TPanelSpot;

class TKeyLEDForm : public TToolWindow {
  Q_OBJECT

 public:
  static constexpr int kKeys = 4;

  explicit TKeyLEDForm(TTarvixPlusModel* model, QWidget* parent = nullptr);

  void RefreshPorts() override;
  int32_t HelpContext() const override { return 17000; }

  QAction* AllOnAction() const { return allOn_; }
  QAction* AllOffAction() const { return allOff_; }
  QAction* AsInitialAction() const { return asInitial_; }
  QMenu* PopupMenu() { return &menu_; }
  // Whether key k (1..4) is shown pressed.
  bool KeyShownPressed(int key) const { return pressed_[static_cast<size_t>(key - 1)]; }

  static QRect LedRect(int led);
  static QRect KeyRect(int key);
  // The key (1..4) at a point, 0 for none.
  static int KeyAt(const QPoint& pos);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // Toggles the pressed state of a key and hands its level to the engine.
  void Toggle(int key);
  void SetAllKeyLines(bool level);
  void UseAsInitialState();
  void SyncLed(size_t led, bool force);
  void UpdateKeySpot(int key);

  std::array<bool, kKeys> pressed_{};
  std::array<bool, kKeys> shownLed_{};
  bool shownOnce_ = false;
  TPushLatch keys_;
  std::array<TPanelSpot*, kKeys> keySpots_{};
  std::array<TPanelSpot*, kKeys> ledSpots_{};
  QMenu menu_;
  QAction* allOn_ = nullptr;
  QAction* allOff_ = nullptr;
  QAction* asInitial_ = nullptr;
};
