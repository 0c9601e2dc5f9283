// Files that hold a person's data (phonebook names and numbers in a trace, a log or the
// simulator's state): created readable by their owner alone, never through a link that
// another user may have planted at the path.
#pragma once

#include <cstdio>
#include <string>

namespace platform {

// Opens `path` for appending, creating it with mode 0600 when it does not exist; an existing
// file keeps its mode. A symbolic link at the path is refused (ELOOP). Returns nullptr with
// errno set when it cannot.
FILE* OpenPrivateAppend(const std::string& path);

// Creates `path` empty with mode 0600 when nothing is there, a link included. Returns 0 when
// it created the file, else the error number (EEXIST when something is already there).
int CreatePrivateFile(const std::string& path);

}  // namespace platform
