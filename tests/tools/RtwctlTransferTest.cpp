// rtwctl send, read and sim as a user runs them: separate processes on a real
// pseudo-terminal. Every wait is bounded; no test waits out a transfer time-out.
#include "config/Cp1252.h"
#include "config/DeviceConfig.h"
#include "protocol/ConfigImage.h"
#include "settings/SettingsFile.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace rtw::test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const char* const kRtwctl = RTWCTL_PATH;

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A child process of rtwctl with its output in files (or stdout on a pipe).
class Child {
public:
    // errFd, when not -1, is the child's stderr instead of the file err.
    Child(const std::vector<std::string>& args, const fs::path& out, const fs::path& err,
          bool stdoutPipe = false, int errFd = -1) {
        int pipeFds[2] = {-1, -1};
        if (stdoutPipe && ::pipe(pipeFds) != 0) {
            throw std::runtime_error("pipe");
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            const int o =
                stdoutPipe ? pipeFds[1] : ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            const int e =
                errFd >= 0 ? errFd : ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(o, STDOUT_FILENO);
            ::dup2(e, STDERR_FILENO);
            if (stdoutPipe) {
                ::close(pipeFds[0]);
            }
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(kRtwctl));
            for (const std::string& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execv(kRtwctl, argv.data());
            ::_exit(127);
        }
        if (stdoutPipe) {
            ::close(pipeFds[1]);
            m_stdout = pipeFds[0];
        }
    }
    ~Child() {
        if (m_pid > 0 && !m_status) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_stdout >= 0) {
            ::close(m_stdout);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The exit status, or none when the child did not end in time.
    std::optional<int> wait(std::chrono::milliseconds limit) {
        const auto end = Clock::now() + limit;
        while (!m_status) {
            int status = 0;
            if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
                m_status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
            } else if (Clock::now() > end) {
                return std::nullopt;
            } else {
                std::this_thread::sleep_for(5ms);
            }
        }
        return m_status;
    }
    // The first line on stdout (without its newline), within the limit.
    std::optional<std::string> firstLine(std::chrono::milliseconds limit) {
        std::string line;
        const auto end = Clock::now() + limit;
        while (Clock::now() < end) {
            pollfd p{m_stdout, POLLIN, 0};
            if (::poll(&p, 1, 20) == 1) {
                char c = 0;
                if (::read(m_stdout, &c, 1) != 1) {
                    return std::nullopt;
                }
                if (c == '\n') {
                    return line;
                }
                line += c;
            }
        }
        return std::nullopt;
    }
    void signal(int sig) const { ::kill(m_pid, sig); }

private:
    pid_t m_pid = -1;
    int m_stdout = -1;
    std::optional<int> m_status;
};

struct Outcome {
    int status = -1;
    std::string err;
};

class RtwctlTransfer : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("rtwctl-transfer-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path file(const std::string& name) const { return m_dir / name; }

    Outcome run(const std::vector<std::string>& args, std::chrono::milliseconds limit = 20s) {
        Child child(args, file("out.txt"), file("err.txt"));
        const auto status = child.wait(limit);
        EXPECT_TRUE(status.has_value()) << "rtwctl did not end in time";
        return {status.value_or(-1), slurp(file("err.txt"))};
    }

    static DeviceConfig sample() {
        DeviceConfig config;
        config.setText("editPOV1_1", "+421905123456");
        config.setText("editPOV1_2", "0905111222");
        config.setText("editTCV2_1", "112");
        config.setText("memoSMSV1", cp1252FromUtf8("Eingang 1 ausgelöst\r\nbitte prüfen"));
        config.setText("MemoDTMFZAP1", "4711");
        config.setText("spinCAS", "23");
        config.setText("spinDELAY2", "255");
        config.setSelected("rbVST1_2", true);
        return config;
    }

    fs::path m_dir;
};

std::string imageOf(const DeviceConfig& config) {
    ConfigImage image;
    for (const ImageBlock& block : EncodeImage(config)) {
        image.store(block);
    }
    return std::string(image.memory().begin(), image.memory().end());
}

TEST_F(RtwctlTransfer, ReadSendAndReadAgainThroughTheEmulatedUnit) {
    const DeviceConfig first = sample();
    DeviceConfig second;
    second.setText("editPZS1_1", "0900123123");
    second.setText("memoSMSVYP2", "aus");
    SaveSettingsFile(first, file("first.pff").string());
    SaveSettingsFile(second, file("second.pff").string());
    {
        std::ofstream memory(file("memory.bin"), std::ios::binary);
        memory << imageOf(first);
    }

    Child sim({"sim", "--no-pace", "--memory", file("memory.bin").string(), "--dump",
               file("dump.bin").string()},
              {}, file("sim.txt"), true);
    const std::optional<std::string> pty = sim.firstLine(5s);
    ASSERT_TRUE(pty.has_value()) << slurp(file("sim.txt"));
    ASSERT_EQ(pty->rfind("/dev/", 0), 0U) << *pty;

    // Options before and after FILE.
    const Outcome readFirst = run({"read", file("got1.pff").string(), "--port", *pty});
    EXPECT_EQ(readFirst.status, 0) << readFirst.err;
    EXPECT_EQ(slurp(file("got1.pff")), slurp(file("first.pff")));

    const Outcome send = run({"send", "--port", *pty, file("second.pff").string()});
    EXPECT_EQ(send.status, 0) << send.err;
    EXPECT_EQ(send.err, ""); // no progress line when stderr is no terminal
    // The emulated unit writes its dump as the last echo goes out, in its own process.
    const auto dumped = Clock::now() + 2s;
    while (slurp(file("dump.bin")) != imageOf(second) && Clock::now() < dumped) {
        std::this_thread::sleep_for(5ms);
    }
    EXPECT_EQ(slurp(file("dump.bin")), imageOf(second));

    const Outcome readSecond = run({"read", file("got2.pff").string(), "--port", *pty});
    EXPECT_EQ(readSecond.status, 0) << readSecond.err;
    EXPECT_EQ(slurp(file("got2.pff")), slurp(file("second.pff")));

    sim.signal(SIGINT);
    EXPECT_EQ(sim.wait(5s), 0);
}

TEST_F(RtwctlTransfer, ProgressLineOnATerminalOnly) {
    SaveSettingsFile(sample(), file("sent.pff").string());
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "progress");
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        const int slave = ::open(::ptsname(master), O_RDWR | O_NOCTTY);
        ASSERT_GE(slave, 0);
        termios t{};
        ::tcgetattr(slave, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(slave, TCSANOW, &t);

        std::vector<std::string> args = {"send", file("sent.pff").string(), "--simulate"};
        if (quiet) {
            args.emplace_back("--quiet");
        }
        Child send(args, file("out.txt"), {}, false, slave);
        ::close(slave);
        // Drain the terminal while rtwctl runs, or a full terminal would stop it.
        std::string shown;
        std::optional<int> status;
        const auto end = Clock::now() + 20s;
        while (Clock::now() < end) {
            pollfd p{master, POLLIN, 0};
            if (::poll(&p, 1, 20) == 1 && (p.revents & POLLIN)) {
                char buffer[4096];
                const ssize_t got = ::read(master, buffer, sizeof buffer);
                if (got > 0) {
                    shown.append(buffer, static_cast<std::size_t>(got));
                    continue;
                }
            }
            if (status) {
                break; // ended, and nothing more to read
            }
            status = send.wait(0ms);
        }
        ::close(master);
        EXPECT_EQ(status, 0) << shown;
        if (quiet) {
            EXPECT_EQ(shown, "");
        } else {
            EXPECT_NE(shown.find("Sende Daten: Enwarte ich Antwort... (Ctrl+C: cancel)"),
                      std::string::npos)
                << shown;
            EXPECT_NE(shown.find("Sende Daten: Sende Daten.Bitte warten... 50%"),
                      std::string::npos);
            EXPECT_NE(shown.find("Sende Daten: Sende Daten.Bitte warten... 100%"),
                      std::string::npos);
            // The line is taken off again at the end.
            EXPECT_EQ(shown.substr(shown.size() - 4), "\r\x1b[K");
        }
    }
}

struct CommandCase {
    const char* name;
    std::vector<std::string> args; // "{sent}" and "{dir}" are replaced
    int status;
    std::string errContains; // UTF-8
};

TEST_F(RtwctlTransfer, ExitStatusAndMessages) {
    SaveSettingsFile(sample(), file("sent.pff").string());
    DeviceConfig invalid;
    invalid.setText("spinCAS", "99");
    SaveSettingsFile(invalid, file("invalid.pff").string());

    const CommandCase cases[] = {
        {"send to the emulated unit", {"send", "{dir}/sent.pff", "--simulate"}, 0, ""},
        {"read from the emulated unit", {"read", "--simulate", "{dir}/new.pff"}, 0, ""},
        {"no unit on the named port",
         {"send", "{dir}/sent.pff", "--port", "{dir}/no-tty"},
         1,
         "Nicht verbunden Wählgerät!"},
        {"configuration that cannot be sent",
         {"send", "{dir}/invalid.pff", "--simulate"},
         1,
         "Die Konfiguration kann nicht gesendet werden:"},
        {"missing file", {"send", "{dir}/missing.pff", "--simulate"}, 2, "does not exist"},
        {"file that cannot be written",
         {"read", "{dir}/no/such/folder.pff", "--simulate"},
         2,
         "Unable to write to"},
        {"port and simulate",
         {"send", "{dir}/sent.pff", "--simulate", "--port", "x"},
         2,
         "cannot be used together"},
        {"trace that cannot be written",
         {"send", "{dir}/sent.pff", "--simulate", "--trace", "{dir}/no/trace.txt"},
         2,
         "cannot write the trace file"},
        {"no file", {"read", "--simulate"}, 2, ""},
    };
    for (const CommandCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> args;
        for (std::string a : c.args) {
            if (const auto at = a.find("{dir}"); at != std::string::npos) {
                a.replace(at, 5, m_dir.string());
            }
            args.push_back(a);
        }
        const Outcome r = run(args);
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << r.err;
    }
    // A Read writes its file only when the whole memory arrived.
    EXPECT_TRUE(fs::exists(file("new.pff")));
}

TEST_F(RtwctlTransfer, TraceLogsEveryByteWithTime) {
    SaveSettingsFile(sample(), file("sent.pff").string());
    const Outcome r = run(
        {"send", file("sent.pff").string(), "--simulate", "--trace", file("trace.txt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string trace = slurp(file("trace.txt"));
    EXPECT_NE(trace.find(" read  8/8  52 54 57 35 33 7A 65 6D\n"), std::string::npos);
    EXPECT_NE(trace.find(" write 1/1  AA\n"), std::string::npos);
    EXPECT_NE(trace.find(" write 18/18  00 00 0D 2B 34 32 31 39"), std::string::npos) << trace;
    EXPECT_NE(trace.find(" write 18/18  80 80 "), std::string::npos);
    // 255 frames with their echoes, and the handshake's answer.
    auto lines = [&](const std::string& what) {
        std::size_t n = 0;
        for (auto at = trace.find(what); at != std::string::npos; at = trace.find(what, at + 1)) {
            ++n;
        }
        return n;
    };
    EXPECT_EQ(lines(" write 18/18  "), 255U);
    EXPECT_EQ(lines(" read  16/16  "), 256U);
}

// A unit of the test's own on a pseudo-terminal, for what the emulated one never does on
// request: falling silent at a chosen step while rtwctl is interrupted.
class ScriptedPty {
public:
    enum class Stop { BeforeGreeting, AtHandshake, Never };

    explicit ScriptedPty(Stop stop) : m_stop(stop) {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ::grantpt(m_master);
        ::unlockpt(m_master);
        m_path = ::ptsname(m_master);
        termios t{};
        ::tcgetattr(m_master, &t);
        ::cfmakeraw(&t);
        ::tcsetattr(m_master, TCSANOW, &t);
        m_thread = std::thread([this] { serve(); });
    }
    ~ScriptedPty() {
        m_quit = true;
        m_thread.join();
        ::close(m_master);
    }
    ScriptedPty(const ScriptedPty&) = delete;
    ScriptedPty& operator=(const ScriptedPty&) = delete;

    [[nodiscard]] const std::string& path() const { return m_path; }
    // Set once the unit got as far as the script goes (and a bit of the data phase).
    std::atomic<bool> reachedStop{false};

private:
    bool readExactly(std::uint8_t* into, std::size_t n) {
        std::size_t got = 0;
        while (got < n && !m_quit) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 20) == 1 && (p.revents & POLLIN)) {
                const ssize_t r = ::read(m_master, into + got, n - got);
                if (r > 0) {
                    got += static_cast<std::size_t>(r);
                }
            }
        }
        return got == n;
    }
    void writeAll(const std::vector<std::uint8_t>& bytes) const {
        static_cast<void>(::write(m_master, bytes.data(), bytes.size()));
    }
    void serve() {
        // The other side opened the terminal once POLLHUP is gone; give it time to set it up.
        while (!m_quit) {
            pollfd p{m_master, POLLIN, 0};
            ::poll(&p, 1, 20);
            if (!(p.revents & POLLHUP)) {
                break;
            }
        }
        std::this_thread::sleep_for(150ms);
        if (m_stop == Stop::BeforeGreeting) {
            reachedStop = true;
            return;
        }
        writeAll({'R', 'T', 'W', '5', '3', 'z', 'e', 'm'});
        std::uint8_t byte = 0;
        if (!readExactly(&byte, 1)) {
            return;
        }
        if (m_stop == Stop::AtHandshake) {
            reachedStop = true;
            return;
        }
        std::vector<std::uint8_t> answer(16, 0);
        answer[0] = 0x06;
        writeAll(answer);
        for (int frame = 0; frame < 255 && !m_quit; ++frame) {
            std::array<std::uint8_t, 18> f{};
            if (!readExactly(f.data(), f.size())) {
                return;
            }
            writeAll({f.begin() + 2, f.end()});
            if (frame == 20) {
                reachedStop = true;
                std::this_thread::sleep_for(100ms); // the interrupt lands in the data phase
            }
        }
    }

    Stop m_stop;
    int m_master = -1;
    std::string m_path;
    std::atomic<bool> m_quit{false};
    std::thread m_thread;
};

struct InterruptCase {
    const char* name;
    ScriptedPty::Stop stop;
    int status;
    std::string errContains;
    std::string errLacks;
};

TEST_F(RtwctlTransfer, CtrlCCancelsWhileTheUnitIsAwaitedOnly) {
    SaveSettingsFile(sample(), file("sent.pff").string());
    const InterruptCase cases[] = {
        {"greeting wait", ScriptedPty::Stop::BeforeGreeting, 1, "Falsche USB-Gerät !", ""},
        {"handshake", ScriptedPty::Stop::AtHandshake, 1, "cancelled", "Falsche"},
        {"data phase", ScriptedPty::Stop::Never, 0, "Ctrl+C ignored", "cancelled"},
    };
    for (const InterruptCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedPty unit(c.stop);
        Child send({"send", file("sent.pff").string(), "--port", unit.path()}, file("out.txt"),
                   file("err.txt"));
        const auto end = Clock::now() + 5s;
        while (!unit.reachedStop && Clock::now() < end) {
            std::this_thread::sleep_for(5ms);
        }
        ASSERT_TRUE(unit.reachedStop);
        send.signal(SIGINT);
        const auto status = send.wait(10s);
        const std::string err = slurp(file("err.txt"));
        EXPECT_EQ(status, c.status) << err;
        EXPECT_NE(err.find(c.errContains), std::string::npos) << err;
        if (!c.errLacks.empty()) {
            EXPECT_EQ(err.find(c.errLacks), std::string::npos) << err;
        }
    }
}

} // namespace
} // namespace rtw::test
