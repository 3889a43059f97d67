// The rules of the commands the main window carries out on the project
// itself (save, compile and transfer, the run commands, clearing the
// breakpoints): whether each is enabled in the project's state.
#pragma once

#include <cstdint>

class TTarvixPlusModel;

namespace projectcommands {

// 1 enabled, 0 disabled, -1 not a command of the project (the tree or the
// active window decides). compiler: whether the program has one.
int Enabled(const TTarvixPlusModel* project, int32_t command, bool compiler);

}  // namespace projectcommands
