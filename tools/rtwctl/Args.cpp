#include "rtwctl/Args.h"

#include <algorithm>
#include <exception>
#include <ostream>

namespace rtw::cli {
namespace {

constexpr std::string_view kTool = "rtwctl";

void printToolHelp(std::span<const CommandSpec* const> commands, std::ostream& out) {
    out << "Usage: " << kTool << " COMMAND [OPTIONS] [OPERANDS]\n"
        << "       " << kTool << " COMMAND --help\n\n"
        << "The command-line companion of the programmer, for scripts: settings files (.pff),\n"
        << "the unit's memory image, Send and Read, and an emulated unit.\n\n"
        << "Commands:\n";
    const auto head = [](const CommandSpec& c) {
        return std::string(c.name) + (c.operands.empty() ? "" : " ") + std::string(c.operands);
    };
    std::size_t width = 0;
    for (const CommandSpec* c : commands) {
        width = std::max(width, head(*c).size());
    }
    for (const CommandSpec* c : commands) {
        const std::string text = head(*c);
        out << "  " << text << std::string(width - text.size() + 2, ' ') << c->summary << "\n";
    }
    out << "\nOptions:\n  -h, --help  show this help\n\n"
        << "Exit status: 0 done, 1 problems found or the command failed, 2 wrong usage.\n";
}

std::string optionHead(const OptionSpec& o) {
    std::string head = o.shortName != 0 ? std::string("-") + o.shortName + ", " : "    ";
    head += "--" + std::string(o.name);
    if (!o.valueName.empty()) {
        head += " " + std::string(o.valueName);
    }
    return head;
}

void printCommandHelp(const CommandSpec& c, std::ostream& out) {
    out << "Usage: " << kTool << " " << c.name << (c.options.empty() ? "" : " [OPTIONS]");
    if (!c.operands.empty()) {
        out << " " << c.operands;
    }
    out << "\n\n" << c.description << "\n\nOptions:\n";
    const OptionSpec help{"help", 'h', {}, "show this help"};
    std::size_t width = optionHead(help).size();
    for (const OptionSpec& o : c.options) {
        width = std::max(width, optionHead(o).size());
    }
    const auto line = [&](const OptionSpec& o) {
        const std::string head = optionHead(o);
        out << "  " << head << std::string(width - head.size() + 2, ' ') << o.help << "\n";
    };
    for (const OptionSpec& o : c.options) {
        line(o);
    }
    line(help);
}

int toolUsageError(std::ostream& err, const std::string& message) {
    err << kTool << ": " << message << "\nTry '" << kTool << " --help'.\n";
    return kExitUsage;
}

const CommandSpec* findCommand(std::span<const CommandSpec* const> commands,
                               std::string_view name) {
    const auto it = std::find_if(commands.begin(), commands.end(),
                                 [name](const CommandSpec* c) { return c->name == name; });
    return it == commands.end() ? nullptr : *it;
}

const OptionSpec* findOption(const CommandSpec& c, std::string_view name, char shortName) {
    for (const OptionSpec& o : c.options) {
        if ((!name.empty() && o.name == name) || (shortName != 0 && o.shortName == shortName)) {
            return &o;
        }
    }
    return nullptr;
}

// Parses the arguments after the command name into args. Returns an exit status when the
// command must not run (help shown, or bad usage), nothing when it may.
std::optional<int> parse(const CommandSpec& c, std::span<const std::string> rest, Args& args) {
    bool options = true;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        const std::string& a = rest[i];
        if (!options || a.size() < 2 || a[0] != '-') {
            args.addOperand(a);
            continue;
        }
        if (a == "--") {
            options = false;
            continue;
        }
        if (a == "-h" || a == "--help") {
            printCommandHelp(c, args.out());
            return kExitOk;
        }
        const bool isLong = a[1] == '-';
        std::string name = isLong ? a.substr(2) : std::string();
        std::optional<std::string> inlineValue;
        if (isLong) {
            if (const auto eq = name.find('='); eq != std::string::npos) {
                inlineValue = name.substr(eq + 1);
                name.resize(eq);
            }
        } else if (a.size() > 2) {
            inlineValue = a.substr(2);
        }
        const OptionSpec* o = findOption(c, name, isLong ? 0 : a[1]);
        if (o == nullptr || (!isLong && inlineValue && o->valueName.empty())) {
            return args.usageError("unknown option '" + a + "'");
        }
        const std::string shown = "--" + std::string(o->name);
        if (o->valueName.empty()) {
            if (inlineValue) {
                return args.usageError("option '" + shown + "' takes no value");
            }
            args.addOption(o->name, std::nullopt);
            continue;
        }
        if (!inlineValue) {
            if (i + 1 == rest.size()) {
                return args.usageError("option '" + shown + "' needs " + std::string(o->valueName));
            }
            inlineValue = rest[++i];
        }
        args.addOption(o->name, std::move(inlineValue));
    }
    if (args.operands().size() < c.minOperands) {
        return args.usageError("missing " + std::string(c.operands));
    }
    if (args.operands().size() > c.maxOperands) {
        return args.usageError("unexpected operand '" + args.operands()[c.maxOperands] + "'");
    }
    return std::nullopt;
}

} // namespace

bool Args::has(std::string_view option) const {
    return std::any_of(m_options.begin(), m_options.end(),
                       [option](const auto& o) { return o.first == option; });
}

std::optional<std::string> Args::value(std::string_view option) const {
    for (auto it = m_options.rbegin(); it != m_options.rend(); ++it) {
        if (it->first == option) {
            return it->second;
        }
    }
    return std::nullopt;
}

void Args::addOption(std::string_view name, std::optional<std::string> value) {
    m_options.emplace_back(std::string(name), std::move(value));
}

int Args::usageError(std::string_view message) const {
    err() << kTool << " " << m_command->name << ": " << message << "\nTry '" << kTool << " "
          << m_command->name << " --help'.\n";
    return kExitUsage;
}

int Args::failure(std::string_view message) const {
    err() << kTool << " " << m_command->name << ": " << message << "\n";
    return kExitFailure;
}

int runTool(std::span<const CommandSpec* const> commands, std::span<const std::string> argv,
            std::ostream& out, std::ostream& err) {
    if (argv.empty()) {
        return toolUsageError(err, "no command given");
    }
    const std::string& first = argv[0];
    if (first == "-h" || first == "--help") {
        printToolHelp(commands, out);
        return kExitOk;
    }
    if (first == "help") {
        if (argv.size() == 1) {
            printToolHelp(commands, out);
            return kExitOk;
        }
        if (const CommandSpec* c = findCommand(commands, argv[1]);
            c != nullptr && argv.size() == 2) {
            printCommandHelp(*c, out);
            return kExitOk;
        }
        return toolUsageError(err, "help takes one command name");
    }
    if (first.size() > 1 && first[0] == '-') {
        return toolUsageError(err, "unknown option '" + first + "'");
    }
    const CommandSpec* command = findCommand(commands, first);
    if (command == nullptr) {
        return toolUsageError(err, "unknown command '" + first + "'");
    }
    Args args(*command, out, err);
    if (const auto status = parse(*command, argv.subspan(1), args)) {
        return *status;
    }
    try {
        return command->run(args);
    } catch (const std::exception& e) {
        return args.failure(e.what());
    }
}

} // namespace rtw::cli
