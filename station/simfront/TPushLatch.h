// TPushLatch: the press and latch rules of the simulator's switch panels
// (the input ports, the keys).
//
// Pressing a button, with the mouse or its key, toggles it. Without Shift
// the press holds it, and letting go (the mouse button or the key released,
// or the mouse leaving the button) toggles it back: a push button. With
// Shift it stays toggled: a latch. A key does nothing while the mouse holds
// a button, nor does its auto-repeat. The panel says what toggling means.
#pragma once

#include <functional>
#include <vector>

class TPushLatch {
 public:
  // Buttons are numbered 1..count.
  TPushLatch(int count, std::function<void(int button)> toggle);

  void MousePress(int button, bool latch);
  // The mouse moved and is now over button (0 for none).
  void MouseOver(int button);
  void MouseRelease();
  void KeyPress(int button, bool latch, bool autoRepeat);
  void KeyRelease(int button);
  // The button can no longer be pressed (a port became an output): any hold
  // on it ends without toggling.
  void Forget(int button);

 private:
  bool Valid(int button) const { return button >= 1 && button <= static_cast<int>(keyHeld_.size()); }

  std::function<void(int)> toggle_;
  int mouseHeld_ = 0;
  std::vector<bool> keyHeld_;
};
