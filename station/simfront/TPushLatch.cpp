#include "TPushLatch.h"

#include <utility>

TPushLatch::TPushLatch(int count, std::function<void(int button)> toggle)
    : toggle_(std::move(toggle)), keyHeld_(static_cast<size_t>(count > 0 ? count : 0), false) {}

void TPushLatch::MousePress(int button, bool latch) {
  if (!Valid(button)) return;
  toggle_(button);
  if (!latch) mouseHeld_ = button;
}

void TPushLatch::MouseOver(int button) {
  if (mouseHeld_ != 0 && button != mouseHeld_) MouseRelease();
}

void TPushLatch::MouseRelease() {
  const int button = std::exchange(mouseHeld_, 0);
  if (button != 0) toggle_(button);
}

void TPushLatch::KeyPress(int button, bool latch, bool autoRepeat) {
  if (!Valid(button)) return;
  const size_t i = static_cast<size_t>(button - 1);
  if (autoRepeat || keyHeld_[i] || mouseHeld_ != 0) return;
  toggle_(button);
  if (!latch) keyHeld_[i] = true;
}

void TPushLatch::KeyRelease(int button) {
  if (!Valid(button)) return;
  const size_t i = static_cast<size_t>(button - 1);
  if (!keyHeld_[i]) return;
  keyHeld_[i] = false;
  toggle_(button);
}

void TPushLatch::Forget(int button) {
  if (!Valid(button)) return;
  if (mouseHeld_ == button) mouseHeld_ = 0;
  keyHeld_[static_cast<size_t>(button - 1)] = false;
}
