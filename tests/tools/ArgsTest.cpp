#include "rtwctl/Args.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

namespace rtw::cli {
namespace {

// What the last run of the demo command saw.
std::vector<std::string> g_seen;

int runDemo(Args& args) {
    g_seen = args.operands();
    if (args.has("verbose")) {
        g_seen.push_back("verbose");
    }
    if (const auto port = args.value("port")) {
        g_seen.push_back("port=" + *port);
    }
    return 7;
}

constexpr std::array<OptionSpec, 2> kDemoOptions = {{
    {"port", 'p', "NAME", "the port"},
    {"verbose", 'v', {}, "say more"},
}};
const CommandSpec kDemo{"demo",          "FILE [MORE]", 1,      2, "a demo",
                        "Does nothing.", kDemoOptions,  runDemo};
const CommandSpec kOther{"other", "", 0, 0, "another", "Nothing either.", {}, runDemo};
const CommandSpec* const kTable[] = {&kDemo, &kOther};

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome run(std::vector<std::string> argv) {
    g_seen.clear();
    std::ostringstream out;
    std::ostringstream err;
    const int status = runTool(kTable, argv, out, err);
    return {status, out.str(), err.str()};
}

TEST(Args, ParsesOptionsAndOperandsInAnyOrder) {
    struct Case {
        std::vector<std::string> argv;
        std::vector<std::string> seen;
    };
    const Case cases[] = {
        {{"demo", "f"}, {"f"}},
        {{"demo", "f", "g"}, {"f", "g"}},
        {{"demo", "-v", "f"}, {"f", "verbose"}},
        {{"demo", "f", "--verbose"}, {"f", "verbose"}},
        {{"demo", "--port", "/dev/x", "f"}, {"f", "port=/dev/x"}},
        {{"demo", "f", "--port=/dev/x"}, {"f", "port=/dev/x"}},
        {{"demo", "-p", "a", "f", "-pb"}, {"f", "port=b"}},
        {{"demo", "--port=", "f"}, {"f", "port="}},
        {{"demo", "--", "-v", "--help"}, {"-v", "--help"}},
        {{"demo", "-", "--verbose"}, {"-", "verbose"}},
        {{"demo", "--port", "--verbose", "f"}, {"f", "port=--verbose"}},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.argv);
        EXPECT_EQ(o.status, 7) << c.argv.back() << "\n" << o.err;
        EXPECT_EQ(g_seen, c.seen) << c.argv.back();
        EXPECT_EQ(o.err, "");
    }
}

TEST(Args, RefusesBadUsageWithExitTwo) {
    struct Case {
        std::vector<std::string> argv;
        const char* message;
    };
    const Case cases[] = {
        {{}, "rtwctl: no command given\nTry 'rtwctl --help'.\n"},
        {{"nope"}, "rtwctl: unknown command 'nope'\n"},
        {{"--nope"}, "rtwctl: unknown option '--nope'\n"},
        {{"demo"}, "rtwctl demo: missing FILE [MORE]\nTry 'rtwctl demo --help'.\n"},
        {{"demo", "a", "b", "c"}, "rtwctl demo: unexpected operand 'c'\n"},
        {{"demo", "--nope", "f"}, "rtwctl demo: unknown option '--nope'\n"},
        {{"demo", "-x", "f"}, "rtwctl demo: unknown option '-x'\n"},
        {{"demo", "-vv", "f"}, "rtwctl demo: unknown option '-vv'\n"},
        {{"demo", "f", "--port"}, "rtwctl demo: option '--port' needs NAME\n"},
        {{"demo", "f", "--verbose=1"}, "rtwctl demo: option '--verbose' takes no value\n"},
        {{"other", "f"}, "rtwctl other: unexpected operand 'f'\n"},
        {{"help", "nope"}, "rtwctl: help takes one command name\n"},
    };
    for (const Case& c : cases) {
        const Outcome o = run(c.argv);
        EXPECT_EQ(o.status, kExitUsage) << c.message;
        EXPECT_EQ(o.out, "") << c.message;
        EXPECT_EQ(o.err.rfind(c.message, 0), 0u) << o.err;
        EXPECT_TRUE(g_seen.empty()) << "the command must not run: " << c.message;
    }
}

TEST(Args, ShowsHelpOnStdout) {
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"--help"}, "Usage: rtwctl COMMAND"},
        {{"-h"}, "Usage: rtwctl COMMAND"},
        {{"help"}, "Usage: rtwctl COMMAND"},
        {{"help", "demo"}, "Usage: rtwctl demo [OPTIONS] FILE [MORE]\n\nDoes nothing."},
        {{"demo", "--help"}, "Usage: rtwctl demo [OPTIONS] FILE [MORE]"},
        {{"demo", "f", "-h", "--nope"}, "Usage: rtwctl demo"},
        {{"other", "-h"}, "Usage: rtwctl other\n"},
    };
    for (const auto& [argv, start] : cases) {
        const Outcome o = run(argv);
        EXPECT_EQ(o.status, kExitOk) << start;
        EXPECT_EQ(o.out.rfind(start, 0), 0u) << o.out;
        EXPECT_EQ(o.err, "");
        EXPECT_TRUE(g_seen.empty());
    }
    const Outcome tool = run({"--help"});
    EXPECT_NE(tool.out.find("  demo FILE [MORE]  a demo\n"), std::string::npos) << tool.out;
    EXPECT_NE(tool.out.find("  other" + std::string(13, ' ') + "another\n"), std::string::npos)
        << tool.out;
    const Outcome demo = run({"demo", "--help"});
    EXPECT_NE(demo.out.find("  -p, --port NAME  the port\n"), std::string::npos) << demo.out;
    EXPECT_NE(demo.out.find("  -v, --verbose    say more\n"), std::string::npos) << demo.out;
    EXPECT_NE(demo.out.find("  -h, --help       show this help\n"), std::string::npos);
}

TEST(Args, AnEscapingExceptionIsAFailure) {
    static const CommandSpec throwing{
        "boom", "", 0, 0, "", "", {}, [](Args&) -> int {
                                          throw std::runtime_error("kaputt"); }};
    const CommandSpec* const table[] = {&throwing};
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runTool(table, std::vector<std::string>{"boom"}, out, err), kExitFailure);
    EXPECT_EQ(err.str(), "rtwctl boom: kaputt\n");
}

} // namespace
} // namespace rtw::cli
