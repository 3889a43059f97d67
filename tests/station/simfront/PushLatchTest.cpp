#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TPushLatch.h"

namespace {

// One input to the rules: m/M mouse press (push/latch), o mouse over, r mouse
// release, k/K key press (push/latch), a auto-repeated key press, u key
// release, f forget.
struct Step {
  char what;
  int button;
};

TEST(PushLatch, PressesToggleAndLettingGoTogglesBack) {
  struct Row {
    const char* what;
    std::vector<Step> steps;
    std::vector<int> toggles;
  };
  const Row rows[] = {
      {"mouse push button", {{'m', 2}, {'r', 0}}, {2, 2}},
      {"mouse latch", {{'M', 2}, {'r', 0}, {'o', 3}}, {2}},
      {"mouse leaves the button", {{'m', 2}, {'o', 2}, {'o', 3}, {'r', 0}}, {2, 2}},
      {"mouse leaves the panel", {{'m', 4}, {'o', 0}, {'o', 4}}, {4, 4}},
      {"key push button, repeat ignored", {{'k', 1}, {'a', 1}, {'k', 1}, {'u', 1}, {'u', 1}}, {1, 1}},
      {"key latch", {{'K', 1}, {'u', 1}}, {1}},
      {"keys wait while the mouse holds", {{'m', 1}, {'k', 2}, {'u', 2}, {'r', 0}, {'k', 2}}, {1, 1, 2}},
      {"two keys held", {{'k', 1}, {'k', 2}, {'u', 1}, {'u', 2}}, {1, 2, 1, 2}},
      {"a forgotten hold ends without toggling", {{'m', 3}, {'f', 3}, {'r', 0}, {'k', 4}, {'f', 4}, {'u', 4}}, {3, 4}},
      {"numbers outside the panel", {{'m', 0}, {'m', 5}, {'k', -1}, {'K', 9}, {'u', 9}, {'f', 7}, {'r', 0}}, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<int> toggles;
    TPushLatch buttons(4, [&toggles](int button) { toggles.push_back(button); });
    for (const Step& s : row.steps) {
      switch (s.what) {
        case 'm': case 'M': buttons.MousePress(s.button, s.what == 'M'); break;
        case 'o': buttons.MouseOver(s.button); break;
        case 'r': buttons.MouseRelease(); break;
        case 'k': case 'K': case 'a': buttons.KeyPress(s.button, s.what == 'K', s.what == 'a'); break;
        case 'u': buttons.KeyRelease(s.button); break;
        case 'f': buttons.Forget(s.button); break;
      }
    }
    EXPECT_EQ(toggles, row.toggles);
  }
}

}  // namespace
