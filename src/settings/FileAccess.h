#pragma once
// Reading a settings file with a bound, and replacing it whole or not at all.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace rtw::ini {

// A settings file holds 207 short lines; even with every value at the 2047 characters a read
// returns it stays far below this. Anything larger is junk, and reading it whole could
// exhaust memory.
inline constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

enum class FileState : std::uint8_t {
    Missing,    // no such file (or a folder on the way is missing)
    Read,       // read whole
    TooLarge,   // larger than the bound: bytes holds its first kMaxFileBytes
    Unreadable, // a folder, a device, no permission, a read error
};

struct FileContent {
    FileState state = FileState::Missing;
    std::string bytes;
};

// Reads a regular file, following symbolic links, never more than kMaxFileBytes. Opening
// never blocks (a named pipe is not a regular file and reads as Unreadable).
[[nodiscard]] FileContent readFileBounded(const std::string& path);

// Replaces the file's content: the whole content goes into a new file in the same folder,
// is flushed to disk and renamed over the target, so the target holds either its old or its
// new content. A symbolic link is followed to its real file and stays a link; the target's
// permissions (and owner, where allowed) carry over, a new file gets the usual 0666 less the
// umask. False, with the target unchanged, when the target is not a regular writable file or
// its folder cannot take the new file.
[[nodiscard]] bool replaceFileAtomically(const std::string& path, std::string_view content);

// The real file a path names once every symbolic link on the last component is followed;
// the path itself when it is no link. Empty when the links loop.
[[nodiscard]] std::string resolveLinks(const std::string& path);

} // namespace rtw::ini
