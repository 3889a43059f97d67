// The window classes the frame, its menus and the desktop file name are the
// ones the program registers, each of the kind the frame expects of it: a
// misspelt name would leave its menu item dead and its window unrestored.
#include <gtest/gtest.h>

#include "StationWindows.h"
#include "TWindowClass.h"
#include "TWindowFactory.h"

TEST(StationWindows, EveryNamedWindowClassIsRegisteredWithItsKind) {
  RegisterStationWindows();
  using Kind = TWindowFactory::Kind;
  const struct {
    TWindowClass window;
    Kind kind;
  } expected[] = {
      {TWindowClass::ProgramCell, Kind::Document},
      {TWindowClass::TableEditor, Kind::Document},
      {TWindowClass::CommentEditor, Kind::Document},
      {TWindowClass::DataLog, Kind::Document},
      {TWindowClass::CheckResults, Kind::Document},
      {TWindowClass::Compare, Kind::Document},
      {TWindowClass::Terminal, Kind::Document},
      {TWindowClass::Watch, Kind::Document},
      {TWindowClass::DigitalPorts, Kind::Tool},
      {TWindowClass::AnalogPorts, Kind::Tool},
      {TWindowClass::Keys, Kind::Tool},
  };
  ASSERT_EQ(std::size(expected), static_cast<size_t>(windowclass::kCount));
  for (const auto& e : expected) {
    const QString name = windowclass::Name(e.window);
    ASSERT_TRUE(TWindowFactory::Has(name)) << name.toStdString();
    EXPECT_EQ(TWindowFactory::KindOf(name), e.kind) << name.toStdString();
    EXPECT_TRUE(windowclass::Is(name, e.window));
  }
}
