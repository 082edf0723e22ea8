#include "rtwctl/Commands.h"
#include "sim/MemoryFile.h"
#include "sim/PtyServer.h"

#include <csignal>
#include <memory>
#include <ostream>
#include <stdexcept>

namespace rtw::cli {
namespace {

sim::PtyServer* g_server = nullptr;

extern "C" void stopServing(int) {
    if (g_server != nullptr) {
        g_server->requestStop();
    }
}

// SIGINT and SIGTERM end the serving loop instead of the process, so the memory dump
// written after the last transfer is complete when rtwctl exits.
class StopOnSignals {
public:
    explicit StopOnSignals(sim::PtyServer& server) {
        g_server = &server;
        struct sigaction action {};
        action.sa_handler = stopServing;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &m_previousInt);
        sigaction(SIGTERM, &action, &m_previousTerm);
    }
    ~StopOnSignals() {
        sigaction(SIGINT, &m_previousInt, nullptr);
        sigaction(SIGTERM, &m_previousTerm, nullptr);
        g_server = nullptr;
    }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;

private:
    struct sigaction m_previousInt {};
    struct sigaction m_previousTerm {};
};

std::string_view eventText(sim::PtyEvent event) {
    switch (event) {
    case sim::PtyEvent::Connected:
        return "connected";
    case sim::PtyEvent::Disconnected:
        return "disconnected";
    case sim::PtyEvent::SendCompleted:
        return "send completed";
    case sim::PtyEvent::ReadCompleted:
        return "read completed";
    case sim::PtyEvent::MemoryDumped:
        return "memory dumped";
    }
    return "event";
}

constexpr OptionSpec kOptions[] = {
    {"no-pace", 0, "", "move every byte at once instead of at 9600 baud"},
    {"memory", 0, "FILE", "start with the 4096 bytes of memory in FILE (zeros otherwise)"},
    {"dump", 0, "FILE", "write the 4096 bytes of memory into FILE now and after each transfer"},
};

int cmdSim(Args& args) {
    const std::string dump = args.value("dump").value_or("");
    sim::MemoryBytes memory{};
    if (const auto file = args.value("memory")) {
        try {
            memory = sim::readMemoryFile(*file);
        } catch (const std::runtime_error& e) {
            args.err() << "rtwctl sim: " << e.what() << '\n';
            return kExitUsage;
        }
    }
    // Written at once, so a dump file that cannot be written shows before any transfer.
    if (!dump.empty()) {
        try {
            sim::writeMemoryFile(dump, memory);
        } catch (const std::runtime_error& e) {
            args.err() << "rtwctl sim: " << e.what() << '\n';
            return kExitUsage;
        }
    }

    sim::PtyServerOptions options;
    options.paced = !args.has("no-pace");
    options.dumpFile = dump;
    options.onEvent = [&args](sim::PtyEvent event) {
        args.err() << "rtwctl sim: " << eventText(event) << '\n';
    };
    std::unique_ptr<sim::PtyServer> server;
    try {
        server = std::make_unique<sim::PtyServer>(std::move(options));
    } catch (const std::runtime_error& e) {
        return args.failure(e.what());
    }
    server->unit().loadMemory(memory);

    const StopOnSignals stop(*server);
    args.out() << server->path() << std::endl; // the first line: whoever started us waits for it
    try {
        server->run();
    } catch (const std::runtime_error& e) {
        return args.failure(e.what());
    }
    return kExitOk;
}

} // namespace

const CommandSpec kSimCommand{
    "sim",
    "",
    0,
    0,
    "run an emulated unit on a pseudo-terminal",
    "Runs an emulated unit on a new pseudo-terminal and prints the terminal's path as the\n"
    "first line. Each time a program opens the terminal the unit greets and serves one\n"
    "connection, as a unit on its USB cable does, until rtwctl is interrupted (Ctrl+C or\n"
    "SIGTERM). Give the path to send and read with --port.",
    kOptions,
    cmdSim,
};

} // namespace rtw::cli
