// TDigitalPortForm: the panel of the digital ports P1..P6 and the relays K1
// and K2. A click or a number key switches an input port (as a push button,
// or latched with Shift); the popup menu switches all inputs or makes their
// levels the state after a reset. It paints from a copy of the port state it
// showed last and repaints only the ports that changed since.
#pragma once

#include <QMenu>
#include <array>

#include "TPushLatch.h"
#include "TToolWindow.h"

class QAction;
class TPanelSpot;

class TDigitalPortForm : public TToolWindow {
  Q_OBJECT

 public:
  static constexpr int kClientWidth = 192;
  static constexpr int kClientHeight = 73;
  static constexpr int kPorts = 6;

  explicit TDigitalPortForm(TTarvixPlusModel* model, QWidget* parent = nullptr);

  void RefreshPorts() override;
  int32_t HelpContext() const override { return 15000; }

  // The popup menu's actions, in menu order (for the frame and tests).
  QAction* AllOnAction() const { return allOn_; }
  QAction* AllOffAction() const { return allOff_; }
  QAction* AsInitialAction() const { return asInitial_; }
  QMenu* PopupMenu() { return &menu_; }

  // Where port p (1..6) and relay r (1, 2) are painted.
  static QRect PortRect(int port);
  static QRect RelayRect(int relay);
  // The port a press at that point acts on (1..6), 0 for none.
  static int PortAt(const QPoint& pos);

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
  // Inverts the level of an input port and marks it for the engine.
  void Toggle(int port);
  void SetAllInputs(bool level);
  void UseAsInitialState();
  void UpdateMenu();
  // Takes over the state of one line (0-based) and repaints it if it changed.
  void Sync(size_t line, bool force);

  std::array<bool, 8> shownLevel_{};
  std::array<bool, 8> shownOutput_{};
  bool shownOnce_ = false;
  TPushLatch ports_;
  std::array<TPanelSpot*, 8> spots_{};
  QMenu menu_;
  QAction* allOn_ = nullptr;
  QAction* allOff_ = nullptr;
  QAction* asInitial_ = nullptr;
};
