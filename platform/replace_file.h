// Replacing a file's content so that whoever reads it, and a crash or power cut at any
// moment, finds either the old content or the new content whole, never a mixture.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace platform {

// Writes `bytes` to a new file beside the target, created exclusively under a name of its
// own (never through a link someone put there), flushes it to the disk and renames it over
// the target. A target that is a link keeps the link: the file it names is replaced. The
// new file takes the previous file's permissions, or the usual ones (the umask applied)
// when there was none. False with `error` saying what failed and why; the target is then
// as it was and no temporary file is left.
bool ReplaceFileContent(const std::filesystem::path& path, std::span<const uint8_t> bytes,
                        std::string& error);

}  // namespace platform
