// TRecoveryList: the recovery copies in a directory, each read and checked,
// with what the user needs to decide on it. Copies of processes that still
// run belong to another station and are left out unless asked for.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "TRecoveryCopy.h"

struct TRecoveryEntry {
  enum class FileState { Unchanged, Changed, Missing, NeverSaved };

  QString path;
  TRecoveryHeader header;
  // Why the copy cannot be used (damaged, truncated, unreadable); empty
  // when it is whole. Such a copy is listed and kept, never loaded.
  QString problem;
  bool running = false;
  FileState fileState = FileState::NeverSaved;

  bool Usable() const { return problem.isEmpty(); }
  // The project's name: its file name without directory and extension.
  QString ProjectName() const;
  // "unverändert", "geändert", "fehlt", "nie gespeichert".
  QString FileStateText() const;
  // The time of the copy as local time, "dd.MM.yyyy hh:mm:ss".
  QString TimeText() const;
};

namespace recovery {

// Oldest first. withRunning also lists copies of running processes.
std::vector<TRecoveryEntry> List(const QString& directory, bool withRunning = false);
// Reads one copy file as List does.
TRecoveryEntry ReadEntry(const QString& path);
// Writes the copy's project to target (atomically, as saving does); false
// with a German reason, also for a copy that is not whole.
bool SaveProject(const QString& copyPath, const QString& target, QString& problem);

}  // namespace recovery
