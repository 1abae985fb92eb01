#include "config/profile_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <functional>

#include "config/profile_text.h"

namespace sirelo {
namespace {

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closing can report a late write error, so the result counts.
    bool close() {
        int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes the rename itself survive a crash; a failure here no longer risks the file.
void SyncFolder(const std::string& folder) {
    FileDescriptor fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.valid()) ::fsync(fd.get());
}

bool IsReadableKind(const struct stat& info) {
    return S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) <= kProfileFileLimit;
}

// Root may write whatever the mode says, so the mode itself is asked too.
bool IsReadOnly(const std::string& path, const struct stat& info) {
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// The pid in "<name>.<pid>.tmp", or nothing when `entry` is no such name.
std::optional<pid_t> TemporaryOwner(std::string_view entry, std::string_view name) {
    constexpr std::string_view kSuffix = ".tmp";
    if (entry.size() <= name.size() + 1 + kSuffix.size() || !entry.starts_with(name) ||
        entry[name.size()] != '.' || !entry.ends_with(kSuffix)) {
        return std::nullopt;
    }
    std::string_view digits =
        entry.substr(name.size() + 1, entry.size() - name.size() - 1 - kSuffix.size());
    if (digits.size() > 9) return std::nullopt;
    pid_t pid = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        pid = pid * 10 + (c - '0');
    }
    return pid;
}

// A process that may not be signalled still runs.
bool IsRunning(pid_t pid) {
    return pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path) {
    // Looked at before the open too: opening a FIFO or a device may block or act.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !IsReadableKind(info)) return std::nullopt;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !IsReadableKind(info)) {
        return std::nullopt;
    }
    std::string content;
    char buffer[8192];
    for (;;) {
        ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            return std::nullopt;
        }
        if (got == 0) return content;
        content.append(buffer, static_cast<std::size_t>(got));
        // It grew while being read.
        if (content.size() > kProfileFileLimit) return std::nullopt;
    }
}

std::optional<std::string> WriteTarget(const std::string& path) {
    constexpr int kMaxLinks = 40;  // as the kernel allows
    std::string current = path;
    for (int link = 0; link <= kMaxLinks; ++link) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        char target[PATH_MAX];
        ssize_t length = ::readlink(current.c_str(), target, sizeof target);
        if (length <= 0 || static_cast<std::size_t>(length) >= sizeof target) return std::nullopt;
        std::string next(target, static_cast<std::size_t>(length));
        current = next.front() == '/' ? next : FolderOf(current) + "/" + next;
    }
    return std::nullopt;
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string name = NameOf(path);
    DIR* folder = ::opendir(FolderOf(path).c_str());
    if (!folder) return;
    while (const dirent* entry = ::readdir(folder)) {
        const auto owner = TemporaryOwner(entry->d_name, name);
        if (!owner || IsRunning(*owner)) continue;
        struct stat info {};
        // Only files: a folder or a link of that name is not ours to remove.
        if (::fstatat(::dirfd(folder), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(info.st_mode)) {
            ::unlinkat(::dirfd(folder), entry->d_name, 0);
        }
    }
    ::closedir(folder);
}

std::string TemporaryPathFor(const std::string& path) {
    return path + "." + std::to_string(::getpid()) + ".tmp";
}

bool ReplaceFile(const std::string& path, std::string_view content) {
    struct stat old {};
    bool hadFile = ::stat(path.c_str(), &old) == 0;
    std::string temporary = TemporaryPathFor(path);
    FileDescriptor fd(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!fd.valid()) return false;
    bool ok = WriteAll(fd.get(), content) &&
              (!hadFile || ::fchmod(fd.get(), old.st_mode & 07777) == 0) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        return false;
    }
    SyncFolder(FolderOf(path));
    return true;
}

bool WriteWholeFile(const std::string& path, std::string_view content) {
    const std::optional<std::string> target = WriteTarget(path);
    if (!target) return false;
    struct stat info {};
    if (::stat(target->c_str(), &info) == 0 ? IsReadOnly(*target, info) : errno != ENOENT) {
        return false;
    }
    RemoveStaleTemporaries(*target);
    return ReplaceFile(*target, content);
}

namespace {

// The file's text, or empty text for a missing file, through `edit` and back.
bool EditProfile(const std::string& path,
                 const std::function<std::string(std::string_view)>& edit) {
    const std::optional<std::string> target = WriteTarget(path);
    if (!target) return false;
    std::string text;
    struct stat info {};
    if (::stat(target->c_str(), &info) == 0) {
        if (IsReadOnly(*target, info)) return false;
        // A file that exists but cannot be read must not be replaced by one key.
        std::optional<std::string> old = ReadWholeFile(*target);
        if (!old) return false;
        text = std::move(*old);
    } else if (errno != ENOENT) {
        return false;
    }
    RemoveStaleTemporaries(*target);
    return ReplaceFile(*target, edit(text));
}

}  // namespace

bool WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
    return EditProfile(
        path, [&](std::string_view text) { return WithProfileValue(text, section, key, value); });
}

bool RemoveProfileString(const std::string& path, std::string_view section, std::string_view key) {
    // Nothing to remove is no reason to create or rewrite the file.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && errno == ENOENT) return true;
    const std::optional<std::string> text = ReadWholeFile(path);
    if (text && WithoutProfileKey(*text, section, key) == *text) return true;
    return EditProfile(
        path, [&](std::string_view text) { return WithoutProfileKey(text, section, key); });
}

}  // namespace sirelo
