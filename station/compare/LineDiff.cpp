#include "LineDiff.h"

#include <cstdint>

namespace {

// Beyond this many cells the table costs more than a plain listing is worth.
constexpr int64_t kMaxTable = int64_t{4} * 1024 * 1024;

}  // namespace

std::vector<TLineChange> DiffLines(const QStringList& oldLines, const QStringList& newLines) {
  std::vector<TLineChange> out;
  qsizetype start = 0;
  while (start < oldLines.size() && start < newLines.size() && oldLines[start] == newLines[start]) ++start;
  qsizetype oldEnd = oldLines.size(), newEnd = newLines.size();
  while (oldEnd > start && newEnd > start && oldLines[oldEnd - 1] == newLines[newEnd - 1]) {
    --oldEnd;
    --newEnd;
  }
  const qsizetype n = oldEnd - start, m = newEnd - start;
  auto removed = [&](qsizetype i) { out.push_back({'-', static_cast<int>(i + 1), 0, oldLines[i]}); };
  auto added = [&](qsizetype j) { out.push_back({'+', 0, static_cast<int>(j + 1), newLines[j]}); };
  if (n == 0 || m == 0 || static_cast<int64_t>(n + 1) * (m + 1) > kMaxTable) {
    for (qsizetype i = start; i < oldEnd; ++i) removed(i);
    for (qsizetype j = start; j < newEnd; ++j) added(j);
    return out;
  }
  // lcs[i][j]: common length of the suffixes from i and j.
  const size_t width = static_cast<size_t>(m + 1);
  std::vector<int32_t> lcs(static_cast<size_t>(n + 1) * width, 0);
  for (qsizetype i = n - 1; i >= 0; --i)
    for (qsizetype j = m - 1; j >= 0; --j) {
      const size_t at = static_cast<size_t>(i) * width + static_cast<size_t>(j);
      lcs[at] = oldLines[start + i] == newLines[start + j] ? lcs[at + width + 1] + 1
                                                           : std::max(lcs[at + width], lcs[at + 1]);
    }
  qsizetype i = 0, j = 0;
  while (i < n && j < m) {
    const size_t at = static_cast<size_t>(i) * width + static_cast<size_t>(j);
    if (oldLines[start + i] == newLines[start + j]) {
      ++i;
      ++j;
    } else if (lcs[at + width] >= lcs[at + 1]) {
      removed(start + i++);
    } else {
      added(start + j++);
    }
  }
  while (i < n) removed(start + i++);
  while (j < m) added(start + j++);
  return out;
}
