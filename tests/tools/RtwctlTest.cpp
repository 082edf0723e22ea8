// rtwctl new, check and image, run as the installed program would be.
#include "../settings/TempFolder.h"

#include "config/Cp1252.h"
#include "config/DeviceConfig.h"
#include "config/Validation.h"
#include "protocol/ConfigImage.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace rtw {
namespace {

using testing::fixture;
using testing::readAll;
using testing::TempFolder;
using testing::writeAll;

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs the built rtwctl (its path comes from the test's environment) with stdout and
// stderr caught in files.
Outcome rtwctl(const TempFolder& dir, const std::vector<std::string>& args) {
    const char* program = std::getenv("RTWCTL");
    if (program == nullptr) {
        ADD_FAILURE() << "RTWCTL names no program";
        return {};
    }
    std::vector<std::string> argv = {program};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char*> cargv;
    for (std::string& a : argv) {
        cargv.push_back(a.data());
    }
    cargv.push_back(nullptr);

    const std::string outFile = dir.file(".stdout");
    const std::string errFile = dir.file(".stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program, &actions, nullptr, cargv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        ADD_FAILURE() << "cannot start " << program;
        return {};
    }
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    Outcome run;
    run.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    run.out = readAll(outFile);
    run.err = readAll(errFile);
    std::remove(outFile.c_str());
    std::remove(errFile.c_str());
    return run;
}

std::string utf8Lines(const std::vector<std::string>& cp1252Lines) {
    std::string out;
    for (const std::string& line : cp1252Lines) {
        out += utf8FromCp1252(line) + "\n";
    }
    return out;
}

TEST(Rtwctl, NewWritesWhatSaveWritesAfterClear) {
    const TempFolder dir;
    const Outcome run = rtwctl(dir, {"new", dir.file("neu.pff")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(readAll(dir.file("neu.pff")), readAll(fixture("cleared.pff")));

    // Over an existing file, as Save: foreign lines stay, the keys take the defaults.
    writeAll(dir.file("alt.pff"), "[Kunde]\r\nName=A\r\n[CAS]\r\nspinCAS=12\r\n");
    EXPECT_EQ(rtwctl(dir, {"new", dir.file("alt.pff")}).status, 0);
    const std::string merged = readAll(dir.file("alt.pff"));
    EXPECT_EQ(merged.rfind("[Kunde]\r\nName=A\r\n[CAS]\r\nspinCAS=0\r\n[TCV]\r\n", 0), 0u)
        << merged;

    const Outcome failed = rtwctl(dir, {"new", dir.file("fehlt/neu.pff")});
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err, "rtwctl new: Unable to write to " + dir.file("fehlt/neu.pff") + "\n");
}

TEST(Rtwctl, CheckPrintsEachProblemInUtf8) {
    const TempFolder dir;
    EXPECT_EQ(rtwctl(dir, {"new", dir.file("ok.pff")}).status, 0);
    const Outcome ok = rtwctl(dir, {"check", dir.file("ok.pff")});
    EXPECT_EQ(ok.status, 0) << ok.out << ok.err;
    EXPECT_EQ(ok.out, "");
    EXPECT_EQ(ok.err, "");

    writeAll(dir.file("bad.pff"), "[CAS]\r\nspinCAS=24\r\n[KREDIT]\r\nspinKREDIT=\xE4\r\n"
                                  "[SMSV]\r\nmemoSMSV1=" +
                                      std::string(128, 'x') + "\r\n");
    DeviceConfig expected;
    OpenSettingsFile(expected, dir.file("bad.pff"));
    const Outcome bad = rtwctl(dir, {"check", dir.file("bad.pff")});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.out, utf8Lines(validateForSend(expected)));
    EXPECT_NE(bad.out.find("Tel. Nr. für Status-SMS / Zeitpunkt: (00:Uhr): Der Wert 24 liegt "
                           "nicht zwischen 0 und 23.\n"),
              std::string::npos)
        << bad.out;
    EXPECT_NE(bad.out.find("\"ä\" ist keine ganze Zahl."), std::string::npos) << bad.out;

    // A file that is not there opens empty: its numbers are missing, and a note says why.
    const Outcome missing = rtwctl(dir, {"check", dir.file("fehlt.pff")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("Es ist keine Zahl eingetragen."), std::string::npos);
    EXPECT_NE(missing.err.find("does not exist"), std::string::npos) << missing.err;
}

TEST(Rtwctl, ImagePrintsTheBlocksInSendOrder) {
    const TempFolder dir;
    DeviceConfig config;
    config.setText("editPOV1_1", "0123456789");
    config.setText("spinCAS", "23");
    config.setText("spinDELAY2", "255");
    config.setSelected("rbVST2_2", true);
    config.setText("memoSMSVYP2", "AUS");
    SaveSettingsFile(config, dir.file("k.pff"));

    const Outcome run = rtwctl(dir, {"image", dir.file("k.pff")});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::string expected;
    for (const ImageBlock& block : EncodeImage(config)) {
        char line[8];
        std::snprintf(line, sizeof line, "%04X:", block.address);
        expected += line;
        for (const auto byte : block.data) {
            std::snprintf(line, sizeof line, " %02X", byte);
            expected += line;
        }
        expected += "\n";
    }
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.out.rfind("0000: 0A 30 31 32 33 34 35 36 37 38 39 00 00 00 00 00\n", 0), 0u);
    EXPECT_NE(run.out.find("\n0BC0: 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("\n0BD0: 02 00 23 00 00 00 00 FE 00 00 00 00 00 00 00 00\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("\n0F80: 03 41 55 53 00"), std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 254);
}

TEST(Rtwctl, ImageOfAConfigurationThatCannotBeSentPrintsItsProblems) {
    const TempFolder dir;
    writeAll(dir.file("bad.pff"), "[TCV]\r\neditTCV1_1=0123456789012345\r\n");
    DeviceConfig expected;
    OpenSettingsFile(expected, dir.file("bad.pff"));
    const Outcome run = rtwctl(dir, {"image", dir.file("bad.pff")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, utf8Lines(validateForSend(expected)));
}

TEST(Rtwctl, FollowsTheCommandLineConventions) {
    const TempFolder dir;
    EXPECT_EQ(rtwctl(dir, {"new", dir.file("-a.pff")}).status, 0);
    const Outcome dashed = rtwctl(dir, {"check", "--", dir.file("-a.pff")});
    EXPECT_EQ(dashed.status, 0) << dashed.err;

    const Outcome help = rtwctl(dir, {"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char* command : {"  new FILE", "  check FILE", "  image FILE"}) {
        EXPECT_NE(help.out.find(command), std::string::npos) << command;
    }
    const Outcome commandHelp = rtwctl(dir, {"image", dir.file("x.pff"), "-h"});
    EXPECT_EQ(commandHelp.status, 0);
    EXPECT_EQ(commandHelp.out.rfind("Usage: rtwctl image FILE\n", 0), 0u) << commandHelp.out;

    const Outcome usage = rtwctl(dir, {"check"});
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(usage.out, "");
    EXPECT_EQ(usage.err, "rtwctl check: missing FILE\nTry 'rtwctl check --help'.\n");
}

} // namespace
} // namespace rtw
