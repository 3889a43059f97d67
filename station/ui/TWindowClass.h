// TWindowClass: the station's window classes by name — the one place that
// spells them. The window factory registers a window under its class name
// and the desktop file stores it so; the frame, its menus and the windows
// that open one another name them through this.
#pragma once

#include <QString>
#include <cstdint>

enum class TWindowClass : uint8_t {
  ProgramCell,
  TableEditor,
  CommentEditor,
  DataLog,
  CheckResults,
  Compare,
  Terminal,
  Watch,
  DigitalPorts,
  AnalogPorts,
  Keys,
};

namespace windowclass {

constexpr const char* kNames[] = {"TProgramCellForm", "TTableEditorForm", "TCommentEditForm", "TPlexorFileForm",
                                  "TCheckResultForm", "TCompareForm",     "TTerminalForm",    "TWatchForm",
                                  "TDigitalPortForm", "TAnalogPortForm",  "TKeyLEDForm"};
constexpr int kCount = static_cast<int>(sizeof kNames / sizeof kNames[0]);
static_assert(kCount == static_cast<int>(TWindowClass::Keys) + 1, "a name for every window class");

inline QString Name(TWindowClass c) { return QString::fromLatin1(kNames[static_cast<int>(c)]); }
// Whether a window (a TMDIChildForm's ClassName()) is of that class.
inline bool Is(const QString& className, TWindowClass c) {
  return className == QLatin1String(kNames[static_cast<int>(c)]);
}

}  // namespace windowclass
