#include "rtwctl/TransferRun.h"

#include "link/Backends.h"
#include "link/Connection.h"
#include "rtwctl/TerminalTransfer.h"
#include "rtwctl/TraceApi.h"
#include "sim/EmulatedLink.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>

namespace rtw::cli {
namespace {

constexpr OptionSpec kOptions[] = {
    {"port", 'p', "PATH", "the unit's serial device (a ttyUSB or a pseudo-terminal)"},
    {"simulate", 0, "", "use an emulated unit inside rtwctl instead of a real one"},
    {"trace", 0, "FILE", "log every byte written and read, time-stamped, in hex into FILE"},
    {"quiet", 'q', "", "show no progress line"},
};

using FileCloser = int (*)(std::FILE*);

} // namespace

std::span<const OptionSpec> transferOptions() {
    return kOptions;
}

std::optional<int> transferUsageError(const Args& args) {
    if (args.has("port") && args.has("simulate")) {
        return args.usageError("--port and --simulate cannot be used together");
    }
    if (const auto port = args.value("port"); port && port->empty()) {
        return args.usageError("--port needs the path of a serial device");
    }
    if (const auto trace = args.value("trace"); trace && trace->empty()) {
        return args.usageError("--trace needs a file name");
    }
    return std::nullopt;
}

int runTransfer(const Args& args, const Transfer& transfer) {
    LinkOptions options;
    options.serialPath = args.value("port").value_or("");
    if (args.has("simulate")) {
        // The emulated unit answers at once, so a transfer with it takes a moment only.
        options.emulatedUnit = [] { return sim::makeEmulatedLink(sim::Pacing::Instant); };
    }
    const std::unique_ptr<ftdi::D2xxApi> backend = chooseBackend(options);
    ftdi::D2xxApi* api = backend.get();

    std::unique_ptr<std::FILE, FileCloser> traceFile{nullptr, &std::fclose};
    std::unique_ptr<TraceApi> trace;
    if (const auto path = args.value("trace")) {
        traceFile.reset(std::fopen(path->c_str(), "w"));
        if (!traceFile) {
            args.err() << "rtwctl " << args.command().name << ": cannot write the trace file "
                       << *path << ": " << std::strerror(errno) << '\n';
            return kExitUsage;
        }
        trace = std::make_unique<TraceApi>(*backend, traceFile.get());
        api = trace.get();
    }

    DeviceLink link(*api);
    TransferFlags flags;
    InterruptCounter interrupts;
    TerminalHost host(flags, interrupts, args.err());
    TerminalView view(link, flags, host, args.err(),
                      !args.has("quiet") && ::isatty(STDERR_FILENO) == 1);
    host.setView(view);
    TerminalSink sink(args.err());
    sink.setView(view);
    TransferContext context{link, flags, view, host, sink};

    switch (transfer(context)) {
    case TransferResult::Done:
        return kExitOk;
    case TransferResult::Cancelled:
        // The dialog shows nothing on Cancel; a terminal should still say why it stopped.
        return args.failure("cancelled");
    case TransferResult::Invalid:
    case TransferResult::NotConnected:
    case TransferResult::WrongDevice:
    case TransferResult::NoAnswer:
        break;
    }
    return kExitFailure;
}

} // namespace rtw::cli
