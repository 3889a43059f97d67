#include "TerminalLink.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

bool PointsAt(const std::string& path, const std::string& target) {
  std::vector<char> buffer(target.size() + 2);
  ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
  return n >= 0 && static_cast<size_t>(n) == target.size() && target.compare(0, target.size(), buffer.data(), n) == 0;
}

}  // namespace

bool TerminalLink::Create(const std::string& path, const std::string& target, std::string* error) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0) {
    if (!S_ISLNK(st.st_mode)) {
      *error = "exists and is not a symbolic link; it is left alone";
      return false;
    }
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
      *error = std::strerror(errno);
      return false;
    }
  } else if (errno != ENOENT) {
    *error = std::strerror(errno);
    return false;
  }
  // symlink() never replaces: whatever appeared since the check stays.
  if (::symlink(target.c_str(), path.c_str()) != 0) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

void TerminalLink::RemoveIfOurs(const std::string& path, const std::string& target) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode) && PointsAt(path, target)) ::unlink(path.c_str());
}
