#pragma once
// The private-profile file as a whole: reading it, and a write of one key
// that replaces the file atomically, so a crash or a full disk in the middle
// of a write can never leave a half-written file behind. The file is the
// user's: one that is not a plain file of a sane size is never read nor
// replaced, and a symbolic link is written through, so it stays a link.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace sirelo {

// A settings file holds a few hundred bytes; anything past this is not one.
inline constexpr std::size_t kProfileFileLimit = 1 << 20;

// The whole file; nothing when it cannot be read (missing, a folder, no rights)
// or is no regular file (a FIFO, a device) or is larger than kProfileFileLimit.
// Never blocks on what it opens.
std::optional<std::string> ReadWholeFile(const std::string& path);

// The temporary file a replacement of `path` is written to first. It lies in the
// same folder, so the rename that follows stays on one file system.
std::string TemporaryPathFor(const std::string& path);

// Writes `content` to the temporary file, flushes it to the disk and renames it
// over `path`, keeping the old file's permissions. On any failure the old file
// stays exactly as it was, the temporary file is removed and false comes back.
bool ReplaceFile(const std::string& path, std::string_view content);

// Where writes to `path` go: the end of its chain of symbolic links (which
// may not exist yet), or `path` itself when it is no link. Nothing for a loop.
std::optional<std::string> WriteTarget(const std::string& path);

// Removes the temporary files that writes to `path` by processes no longer
// running left behind (a kill in the middle of a write).
void RemoveStaleTemporaries(const std::string& path);

// Writes `content` as the whole file `path` names, the way a key is written:
// through symbolic links, atomically, and never over a read-only file. False
// when nothing was written.
bool WriteWholeFile(const std::string& path, std::string_view content);

// Writes one key (see WithProfileValue) into the file `path` names, through
// symbolic links, creating the file if it is missing. False, with the file
// untouched, when it exists but cannot be read, is read-only (no write bit in
// its mode, whoever runs the program) or cannot be replaced. A write that goes
// ahead first removes the stale temporary files beside the target.
bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value);

// Removes one key (see WithoutProfileKey) the same way; true when the file has
// no such key afterwards.
bool RemoveProfileString(const std::string& path, std::string_view section, std::string_view key);

}  // namespace sirelo
