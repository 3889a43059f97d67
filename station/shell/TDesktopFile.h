// TDesktopFile: the desktop file, which holds what the station showed at its
// last exit (the project, its breakpoints and watches, the tree, the document
// windows and where they were) so that the next start shows it again.
//
// Reading and writing work on a plain value; the frame gathers it from its
// windows and applies it to them. A file is parsed whole before anything is
// applied: a damaged or cut file is refused as a whole, never half applied.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

struct TDesktop {
  struct Watch {
    QString name;
    int32_t mapCode = 0;
    bool operator==(const Watch&) const = default;
  };
  struct Window {
    QString className;
    int32_t left = 0, top = 0, width = 0, height = 0;
    int32_t state = 0;  // 0 normal, 1 minimised, 2 maximised
    QByteArray own;     // the window's own data
    bool operator==(const Window&) const = default;
  };

  // Empty: no project, or one without a file (then the lists are not kept).
  QString projectFile;
  std::vector<int32_t> breakpoints;
  std::vector<Watch> watches;
  bool hasTree = true;
  int32_t selected = 0;
  bool tablesExpanded = false;
  bool cellsExpanded = false;
  // From the bottom of the stacking order to the top.
  std::vector<Window> windows;

  bool operator==(const TDesktop&) const = default;
};

class TDesktopFile {
 public:
  static constexpr uint32_t kMagic = 0x56445348;  // "VDSH"
  static constexpr int32_t kVersion = 1;
  // A desktop file holds a few placements per window; far more is no desktop file.
  static constexpr int64_t kFileLimit = 16LL * 1024 * 1024;
  static constexpr int32_t kListLimit = 10000;
  static constexpr int32_t kWindowLimit = 1000;

  // The file in the current folder, named after the program ("Vorblen.DSK").
  static QString DefaultName();

  static QByteArray Write(const TDesktop& desktop);
  // Nothing for bytes that are not a whole desktop file of this version.
  static std::optional<TDesktop> Parse(const QByteArray& bytes);

  // The file as a whole (a regular file only, not without bound), or nothing
  // with a German reason in problem (empty when the contents are damaged).
  static std::optional<TDesktop> Load(const QString& fileName, QString& problem);
  // Written whole or not at all; false with a German reason in problem.
  static bool Save(const QString& fileName, const TDesktop& desktop, QString& problem);
};
