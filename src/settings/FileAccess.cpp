#include "settings/FileAccess.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <vector>

namespace rtw::ini {
namespace {

// The kernel's own limit on links followed in one path look-up.
constexpr int kMaxLinkHops = 40;
constexpr std::size_t kReadChunk = 64 * 1024;

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    [[nodiscard]] int get() const { return m_fd; }
    // Closes now, so that a failing close (a delayed write error) can be seen.
    [[nodiscard]] bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    if (slash == 0) {
        return "/";
    }
    return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

mode_t modeForNewFile() {
    // umask can only be read by setting it; the program has one thread.
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return static_cast<mode_t>(0666 & ~mask);
}

void syncFolder(const std::string& folder) {
    // Makes the rename itself durable; a file system that cannot do this still has the
    // renamed file, so a failure here is no failure of the save.
    FileDescriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) {
        (void)::fsync(dir.get());
    }
}

} // namespace

std::string resolveLinks(const std::string& path) {
    std::string current = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            return current;
        }
        std::vector<char> target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        const ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
        if (n < 0 || static_cast<std::size_t>(n) >= target.size()) {
            return current;
        }
        std::string next(target.data(), static_cast<std::size_t>(n));
        if (next.empty() || next.front() != '/') {
            const auto slash = current.rfind('/');
            if (slash != std::string::npos) {
                next = current.substr(0, slash + 1) + next;
            }
        }
        current = std::move(next);
    }
    return {};
}

FileContent readFileBounded(const std::string& path) {
    FileContent result;
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) {
        result.state =
            errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::Unreadable;
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        result.state = FileState::Unreadable;
        return result;
    }
    // Read in chunks, so a small file costs little; one byte beyond the bound tells a file
    // of exactly the bound from a larger one.
    std::array<char, kReadChunk> chunk{};
    while (result.bytes.size() <= kMaxFileBytes) {
        const std::size_t want = std::min(chunk.size(), kMaxFileBytes + 1 - result.bytes.size());
        const ssize_t n = ::read(fd.get(), chunk.data(), want);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.bytes.clear();
            result.state = FileState::Unreadable;
            return result;
        }
        if (n == 0) {
            break;
        }
        result.bytes.append(chunk.data(), static_cast<std::size_t>(n));
    }
    result.state = result.bytes.size() > kMaxFileBytes ? FileState::TooLarge : FileState::Read;
    if (result.state == FileState::TooLarge) {
        result.bytes.resize(kMaxFileBytes);
    }
    return result;
}

bool replaceFileAtomically(const std::string& path, std::string_view content) {
    const std::string target = resolveLinks(path);
    if (target.empty() || baseNameOf(target).empty()) {
        return false;
    }
    struct stat st {};
    const bool exists = ::lstat(target.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || ::access(target.c_str(), W_OK) != 0)) {
        return false;
    }
    const std::string folder = folderOf(target);
    std::string temp = folder + "/." + baseNameOf(target) + ".XXXXXX";
    FileDescriptor fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (fd.get() < 0) {
        return false;
    }
    const mode_t mode = exists ? static_cast<mode_t>(st.st_mode & 07777) : modeForNewFile();
    bool ok = ::fchmod(fd.get(), mode) == 0;
    if (ok && exists && (st.st_uid != ::geteuid() || st.st_gid != ::getegid())) {
        // Only a privileged user may give the file away; anyone else keeps their own.
        (void)::fchown(fd.get(), st.st_uid, st.st_gid);
    }
    ok = ok && writeAll(fd.get(), content) && ::fsync(fd.get()) == 0;
    ok = fd.close() && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

} // namespace rtw::ini
