// Shared helpers of the recovery tests: a project with content, a copy of
// it as the station writes one, and the copies in a directory.
#pragma once

#include <QDir>
#include <QTemporaryDir>

#include "ModelTestSupport.h"
#include "ProjectBuilder.h"
#include "TRecoveryCopy.h"

namespace rt {

// A modified project with one counter cell and a table.
inline std::unique_ptr<TTarvixPlusModel> EditedProject(const QString& fileName = {}) {
  mt::EnsureApp();
  auto m = std::make_unique<TTarvixPlusModel>();
  m->InitNew();
  m->SetFileName(fileName);
  mt::AddCounterCell(*m);
  m->SetModified(true);
  return m;
}

inline QStringList Copies(const QString& dir) {
  return QDir(dir).entryList({QStringLiteral("*.vrc")}, QDir::Files);
}

// A process identity that cannot be running: a child that has ended.
inline TProcessIdentity EndedProcess() {
  TProcessIdentity ended = TProcessIdentity::Self();
  ended.pid = 0x7FFFFFF0;  // above any pid_max Linux allows
  ended.startTicks = 0;
  return ended;
}

}  // namespace rt
