// TBlockPalette: the block palette of the main window's block tool bar.
//
// A group selector lists the block groups of the catalogue with their
// pictures; eight buttons show the types of the chosen group (arrows scroll
// through longer groups) and one button inserts a comment. Every button, and
// every item of the "B&löcke" menu built from the same catalogue, sends its
// command tag (20000 + type id, 29999 for the comment) through
// CommandTriggered; the main window routes it to the active cell window.
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <set>

class QComboBox;
class QMenu;
class QToolButton;

class TBlockPalette : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kButtons = 8;

  explicit TBlockPalette(QWidget* parent = nullptr);

  // Fills the group selector from the catalogue (again after it changed).
  void Reload();
  // Shows group i (an invalid index hides every type button).
  void SelectGroup(int index);
  int Group() const { return group_; }
  int Offset() const { return offset_; }
  void Scroll(int by);

  // Asked for every button whose command may run now (the frame passes the
  // active window's IsCommandEnabled); without one every button is enabled.
  void SetCommandEnabler(std::function<bool(int32_t)> enabler) { enabler_ = std::move(enabler); }
  void UpdateCommandStates();

  // A "B&löcke" menu with one submenu per group and the comment item; its
  // items send their tags through CommandTriggered as well.
  QMenu* BuildBlockMenu(QWidget* parent);

  QComboBox* GroupSelector() const { return groups_; }
  QToolButton* BlockButton(int i) const { return buttons_[static_cast<size_t>(i)]; }
  QToolButton* BackwardButton() const { return backward_; }
  QToolButton* ForwardButton() const { return forward_; }
  QToolButton* TextBlockButton() const { return textBlock_; }

 signals:
  void CommandTriggered(int32_t command);

 private:
  void ShowTypes();
  QIcon GlyphIcon(int32_t typeId, const QString& glyphName);

  QComboBox* groups_ = nullptr;
  QToolButton* backward_ = nullptr;
  QToolButton* forward_ = nullptr;
  QToolButton* textBlock_ = nullptr;
  std::array<QToolButton*, kButtons> buttons_{};
  int group_ = -1;
  int offset_ = 0;
  std::function<bool(int32_t)> enabler_;
  // Glyphs reported missing once; the palette does not repeat the box.
  std::set<QString> reported_;
};
