#include "TempFolder.h"

#include "config/Cp1252.h"
#include "config/DeviceConfig.h"
#include "settings/FileAccess.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <string>

namespace rtw {
namespace {

namespace fs = std::filesystem;
using testing::readAll;
using testing::TempFolder;
using testing::writeAll;

constexpr const char* kOld = "[Kunde]\r\nName=alt\r\n";

mode_t modeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

std::size_t entriesIn(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

void makeHugeFile(const std::string& path, off_t size) {
    // Sparse: no real disk space, and reads as zero bytes.
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::ftruncate(fd, size), 0);
    ::close(fd);
}

struct FailureCase {
    const char* what;
    std::function<std::string(const TempFolder&)> prepare; // returns the file to save
};

// Save must fail with the message, leave an existing file as it was and leave no temporary
// file behind.
void expectSaveFails(const FailureCase& c) {
    const TempFolder dir;
    const std::string file = c.prepare(dir);
    const fs::path folder = fs::path(file).parent_path();
    const bool folderExists = fs::is_directory(folder);
    const std::size_t entriesBefore = folderExists ? entriesIn(folder) : 0;
    const bool fileExisted = fs::is_regular_file(file);
    const auto oldSize = fileExisted ? fs::file_size(file) : 0;
    const auto oldMode = fileExisted ? modeOf(file) : 0;

    try {
        SaveSettingsFile(DeviceConfig(), file);
        ADD_FAILURE() << c.what << ": saved";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(e.what(), "Unable to write to " + cp1252FromUtf8(file)) << c.what;
    }
    if (fileExisted) {
        EXPECT_EQ(modeOf(file), oldMode) << c.what;
        EXPECT_EQ(fs::file_size(file), oldSize) << c.what;
        if (oldSize < 1024) {
            fs::permissions(file, fs::perms::owner_read, fs::perm_options::add);
            EXPECT_EQ(readAll(file), kOld) << c.what; // every small file here holds kOld
        }
    }
    if (folderExists) {
        EXPECT_EQ(entriesIn(folder), entriesBefore) << c.what << ": a temporary file is left";
    }
}

TEST(SaveSafety, FailsWhereNoFileCanBeWritten) {
    const FailureCase cases[] = {
        {"missing folder", [](const TempFolder& d) { return d.file("nicht-da/neu.pff"); }},
        {"a file where the folder should be",
         [](const TempFolder& d) {
             writeAll(d.file("datei"), kOld);
             return d.file("datei/neu.pff");
         }},
        {"a folder where the file should be",
         [](const TempFolder& d) {
             fs::create_directory(d.file("ordner.pff"));
             return d.file("ordner.pff");
         }},
        {"a file too large to read whole",
         [](const TempFolder& d) {
             makeHugeFile(d.file("gross.pff"), 64 << 20);
             return d.file("gross.pff");
         }},
    };
    for (const FailureCase& c : cases) {
        expectSaveFails(c);
    }
}

TEST(SaveSafety, FailsWherePermissionsForbidIt) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permission bits do not bind root; FailsWhereNoFileCanBeWritten "
                        "covers the same refusals";
    }
    const FailureCase cases[] = {
        {"a read-only file",
         [](const TempFolder& d) {
             writeAll(d.file("ro.pff"), kOld);
             fs::permissions(d.file("ro.pff"), fs::perms::owner_read);
             return d.file("ro.pff");
         }},
        {"a file that cannot be read",
         [](const TempFolder& d) {
             writeAll(d.file("wo.pff"), kOld);
             fs::permissions(d.file("wo.pff"), fs::perms::owner_write);
             return d.file("wo.pff");
         }},
        {"a read-only folder",
         [](const TempFolder& d) {
             fs::create_directory(d.file("ro"));
             writeAll(d.file("ro/alt.pff"), kOld);
             fs::permissions(d.file("ro"), fs::perms::owner_read | fs::perms::owner_exec);
             return d.file("ro/alt.pff");
         }},
        {"a new file in a read-only folder",
         [](const TempFolder& d) {
             fs::create_directory(d.file("ro"));
             fs::permissions(d.file("ro"), fs::perms::owner_read | fs::perms::owner_exec);
             return d.file("ro/neu.pff");
         }},
    };
    for (const FailureCase& c : cases) {
        expectSaveFails(c);
    }
}

TEST(SaveSafety, TheMessageNamesTheFullFileName) {
    const TempFolder dir;
    const fs::path old = fs::current_path();
    fs::current_path(dir.path());
    try {
        SaveSettingsFile(DeviceConfig(), "fehlt/\xC3\xBC.pff"); // ü in UTF-8
        ADD_FAILURE() << "saved";
    } catch (const SettingsWriteError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Unable to write to " + dir.path().string() + "/fehlt/\xFC.pff"); // CP1252
    }
    fs::current_path(old);
}

TEST(SaveSafety, ReplacingKeepsModeAndFollowsLinks) {
    const TempFolder dir;
    writeAll(dir.file("real.pff"), kOld);
    fs::permissions(dir.file("real.pff"), static_cast<fs::perms>(0640));
    fs::create_symlink("real.pff", dir.file("link.pff"));
    fs::create_symlink(dir.file("link.pff"), dir.file("link2.pff"));

    SaveSettingsFile(DeviceConfig(), dir.file("link2.pff"));
    EXPECT_TRUE(fs::is_symlink(dir.file("link.pff")));
    EXPECT_TRUE(fs::is_symlink(dir.file("link2.pff")));
    const std::string saved = readAll(dir.file("real.pff"));
    EXPECT_EQ(saved.rfind(kOld, 0), 0u) << "the foreign section stays first";
    EXPECT_NE(saved.find("[AKT-DEAKT]"), std::string::npos);
    EXPECT_EQ(modeOf(dir.file("real.pff")), 0640u);
    EXPECT_EQ(entriesIn(dir.path()), 3u);

    // A dangling link gets its file; the link stays.
    fs::create_symlink("later.pff", dir.file("dangling.pff"));
    SaveSettingsFile(DeviceConfig(), dir.file("dangling.pff"));
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling.pff")));
    EXPECT_TRUE(fs::is_regular_file(dir.file("later.pff")));

    // A new file gets the usual mode.
    const mode_t mask = ::umask(027);
    SaveSettingsFile(DeviceConfig(), dir.file("neu.pff"));
    ::umask(mask);
    EXPECT_EQ(modeOf(dir.file("neu.pff")), 0640u);
}

TEST(SaveSafety, LinksThatLoopCannotBeWritten) {
    const TempFolder dir;
    fs::create_symlink("b.pff", dir.file("a.pff"));
    fs::create_symlink("a.pff", dir.file("b.pff"));
    EXPECT_THROW(SaveSettingsFile(DeviceConfig(), dir.file("a.pff")), SettingsWriteError);
    EXPECT_TRUE(fs::is_symlink(dir.file("a.pff")));
}

TEST(BoundedRead, ReadsRegularFilesUpToTheBound) {
    const TempFolder dir;
    writeAll(dir.file("small"), "abc");
    makeHugeFile(dir.file("huge"), 100 << 20);
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);

    const auto small = ini::readFileBounded(dir.file("small"));
    EXPECT_EQ(small.state, ini::FileState::Read);
    EXPECT_EQ(small.bytes, "abc");
    const auto huge = ini::readFileBounded(dir.file("huge"));
    EXPECT_EQ(huge.state, ini::FileState::TooLarge);
    EXPECT_EQ(huge.bytes.size(), ini::kMaxFileBytes);
    EXPECT_EQ(ini::readFileBounded(dir.file("fifo")).state, ini::FileState::Unreadable);
    EXPECT_EQ(ini::readFileBounded(dir.path()).state, ini::FileState::Unreadable);
    EXPECT_EQ(ini::readFileBounded(dir.file("none")).state, ini::FileState::Missing);

    std::string exact(ini::kMaxFileBytes, 'x');
    writeAll(dir.file("exact"), exact);
    EXPECT_EQ(ini::readFileBounded(dir.file("exact")).state, ini::FileState::Read);
}

TEST(BoundedRead, OfAHugeFileOnlyTheWholeLinesWithinTheBoundCount) {
    std::string content = "[SMSV]\r\nmemoSMSV1=vorne\r\n";
    content.resize(ini::kMaxFileBytes - 20, ';');
    content += "\r\n[CAS]\r\n";
    content += "spinCAS=12345678901234\r\n"; // crosses the bound
    content += "[DELAY1]\r\nspinDELAY1=7\r\n";
    content.resize(3 * ini::kMaxFileBytes, '#');
    const TempFolder dir;
    writeAll(dir.file("big.pff"), content);

    DeviceConfig c;
    OpenSettingsFile(c, dir.file("big.pff"));
    EXPECT_EQ(c.text("memoSMSV1"), "vorne");
    EXPECT_EQ(c.text("spinCAS"), "") << "a line cut by the bound is absent";
    EXPECT_EQ(c.text("spinDELAY1"), "");
}

} // namespace
} // namespace rtw
