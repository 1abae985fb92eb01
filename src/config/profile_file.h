#pragma once
// The private-profile file as a whole: reading it, and a write of one key
// that replaces the file atomically, so a crash or a full disk in the middle
// of a write can never leave a half-written file behind.

#include <optional>
#include <string>
#include <string_view>

namespace sirelo {

// The whole file; nothing when it cannot be read (missing, a folder, no rights).
std::optional<std::string> ReadWholeFile(const std::string& path);

// The temporary file a replacement of `path` is written to first. It lies in the
// same folder, so the rename that follows stays on one file system.
std::string TemporaryPathFor(const std::string& path);

// Writes `content` to the temporary file, flushes it to the disk and renames it
// over `path`, keeping the old file's permissions. On any failure the old file
// stays exactly as it was, the temporary file is removed and false comes back.
bool ReplaceFile(const std::string& path, std::string_view content);

// Writes one key (see WithProfileValue), creating the file if it is missing.
// False, with the file untouched, when it exists but cannot be read or replaced.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

}  // namespace sirelo
