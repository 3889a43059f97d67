// Shared helpers of the project model tests.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "RecordingUserInterface.h"
#include "TBlockList.h"
#include "TGraphBlock.h"
#include "TTarvixPlusModel.h"
#include "TModelView.h"
#include "TChangeRecord.h"
#include "plexor.h"

namespace mt {

inline void EnsureApp() {
  if (QGuiApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "model_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

// Records every notification a model sends.
class RecordingView : public TModelView {
 public:
  struct Note {
    int32_t code;
    int64_t data;
    TChangeRecord record;
    bool hasRecord;
  };
  void ModelChanged(int32_t code, int64_t data, const TChangeRecord* record) override {
    notes.push_back({code, data, record ? *record : TChangeRecord{}, record != nullptr});
  }
  void ModelGone() override { gone = true; }
  std::vector<int32_t> Codes() const {
    std::vector<int32_t> codes;
    for (const Note& n : notes) codes.push_back(n.code);
    return codes;
  }
  std::vector<Note> notes;
  bool gone = false;
};

// Replies for the recording user interface.
inline RecordingUserInterface::Reply Accept(bool accept = true) {
  RecordingUserInterface::Reply r;
  r.accept = accept;
  return r;
}
inline RecordingUserInterface::Reply WithText(const QString& text) {
  RecordingUserInterface::Reply r;
  r.accept = true;
  r.text = text;
  return r;
}
inline RecordingUserInterface::Reply WithAnswer(TUserInterface::Answer answer) {
  RecordingUserInterface::Reply r;
  r.answer = answer;
  return r;
}

// Writes bytes to a file.
inline void WriteFile(const QString& name, const QByteArray& bytes) {
  QFile f(name);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

inline QByteArray ReadFile(const QString& name) {
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

// The engine holds a block with that id.
inline bool EngineHasBlock(PlexorHandle e, int32_t id) { return PlexorGetBlockInputMenuFlags(e, id, id) != nullptr; }

// Which inputs of a block are wired in the engine ('*') or free (' '), seen
// through a value constant placed in the same page for the question.
inline std::string EngineWires(PlexorHandle e, int32_t id) {
  const int32_t probe = static_cast<int32_t>((static_cast<uint32_t>(id) & 0xFFFF0000u) | 0xFFFFu);
  if (!PlexorAddBlock(e, 700, probe)) return "?";
  const char* flags = PlexorGetBlockInputMenuFlags(e, probe, id);
  std::string result = flags ? flags : "?";
  PlexorRemoveBlock(e, probe);
  return result;
}

// The engine's page of every cell holds exactly the cell's functional blocks
// and wires.
inline void ExpectEngineMatches(const TTarvixPlusModel& model) {
  PlexorHandle e = model.Engine();
  for (const auto& cell : model.Cells()) {
    for (int i = 0; i < cell->Count(); ++i) {
      const auto* g = dynamic_cast<const TGraphBlock*>(cell->Items(i));
      if (!g) {
        EXPECT_FALSE(EngineHasBlock(e, cell->Items(i)->Id())) << "comment in engine " << cell->Items(i)->Id();
        continue;
      }
      if (!g->InEngine()) {  // a type the engine does not know: reported at load
        EXPECT_FALSE(EngineHasBlock(e, g->Id())) << "block " << g->Id();
        EXPECT_FALSE(model.LoadLosses().isEmpty()) << "unreported block " << g->Id();
        continue;
      }
      ASSERT_TRUE(EngineHasBlock(e, g->Id())) << "missing block " << g->Id();
      std::string wires = EngineWires(e, g->Id());
      for (size_t slot = 0; slot < wires.size(); ++slot)
        EXPECT_EQ(wires[slot] == '*', g->GetInput(static_cast<int>(slot)) != nullptr)
            << "block " << g->Id() << " slot " << slot;
    }
  }
}

// Init, Compile and Done; 0 on success.
inline int32_t CompileProject(PlexorHandle e) {
  if (!PlexorCompilerInit(e)) return -100;
  int32_t r = PlexorCompile(e);
  if (r != 0) return r;
  return PlexorCompilerDone(e) ? 0 : -100;
}

// The order of the engine's pages, read from the page markers the
// simulation passes (each page gets a print of nothing; an empty page still
// has its marker).
inline std::vector<int32_t> EnginePageOrder(PlexorHandle e) {
  std::vector<int32_t> order;
  if (CompileProject(e) != 0) return order;
  PlexorResetProgram(e);
  for (int i = 0; i < 1000; ++i) {
    int32_t r = PlexorStep(e);
    int32_t status = r & 0xFFFF;
    if (status == 1) order.push_back((r >> 16) & 0xFFFF);
    else if (status == 0 || status == 0xFFFF) break;
  }
  return order;
}

}  // namespace mt
