#include "ProjectCommands.h"

#include "Commands.h"
#include "TTarvixPlusModel.h"

namespace projectcommands {

int Enabled(const TTarvixPlusModel* project, int32_t command, bool compiler) {
  auto rule = [](bool b) { return b ? 1 : 0; };
  switch (command) {
    case cmd::kSave:
      return rule(project && project->Modified());
    case cmd::kSaveAs:
      return rule(project != nullptr);
    case cmd::kCompile:
    case cmd::kDownload: {
      if (!project || project->IsSimulating() || !compiler) return 0;
      for (const auto& cell : project->Cells())
        if (cell->Count() > 0) return 1;
      return 0;
    }
    case cmd::kRun:
    case cmd::kSingleStep:
      return rule(project && project->Simulation().CanStart());
    case cmd::kReset:
      return rule(project && project->SimState() == TSimState::Halted);
    case cmd::kStop: {
      if (!project) return 0;
      const TSimState s = project->SimState();
      return rule(s == TSimState::Running || s == TSimState::SingleStep || s == TSimState::Pausing);
    }
    case cmd::kClearBreakpoints:
      return rule(project && !project->Breakpoints().empty());
    default:
      return -1;
  }
}

}  // namespace projectcommands
