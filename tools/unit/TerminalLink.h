// TerminalLink: the --link PATH of vorblen-unit, a symbolic link to the
// pseudo-terminal under a stable name.
//
// The program may run as root, so the link never destroys anything but a
// link: an existing symbolic link at PATH is replaced, a regular file, a
// directory or any other object is left alone and the link is refused. On
// exit the link is removed only while it still points at this terminal.
#pragma once

#include <string>

class TerminalLink {
 public:
  // Makes path a symbolic link to target. False with the reason in *error.
  static bool Create(const std::string& path, const std::string& target, std::string* error);
  // Removes path if it is a symbolic link to target.
  static void RemoveIfOurs(const std::string& path, const std::string& target);
};
