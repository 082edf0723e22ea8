#pragma once
// The command line of rtwctl: a command name, then its options and operands in any order.
// "--" ends the options; "-h"/"--help" shows the command's help. Each command declares
// what it takes in a CommandSpec, and the parser checks it before the command runs.
#include <cstddef>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace rtw::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1; // the command ran and found problems or failed
inline constexpr int kExitUsage = 2;   // the command line was wrong

struct OptionSpec {
    std::string_view name;      // long form, without "--"
    char shortName = 0;         // 0 when there is none
    std::string_view valueName; // empty for a flag; else the option takes a value
    std::string_view help;
};

class Args;

struct CommandSpec {
    std::string_view name;
    std::string_view operands; // synopsis, e.g. "FILE"
    std::size_t minOperands = 0;
    std::size_t maxOperands = 0;
    std::string_view summary;     // one line in the tool's help
    std::string_view description; // the command's help, after the usage line
    std::span<const OptionSpec> options;
    int (*run)(Args& args) = nullptr;
};

class Args {
public:
    Args(const CommandSpec& command, std::ostream& out, std::ostream& err)
        : m_command(&command), m_out(&out), m_err(&err) {}

    [[nodiscard]] const CommandSpec& command() const { return *m_command; }
    [[nodiscard]] const std::vector<std::string>& operands() const { return m_operands; }
    [[nodiscard]] const std::string& operand(std::size_t i) const { return m_operands.at(i); }
    // Whether an option was given, and the value it was last given with.
    [[nodiscard]] bool has(std::string_view option) const;
    [[nodiscard]] std::optional<std::string> value(std::string_view option) const;

    // Normal output and error output.
    [[nodiscard]] std::ostream& out() const { return *m_out; }
    [[nodiscard]] std::ostream& err() const { return *m_err; }

    // Reports a bad command line ("rtwctl <command>: <message>", and where help is) and
    // returns kExitUsage, for a command that finds fault with an option's value.
    int usageError(std::string_view message) const;
    // Reports a failure ("rtwctl <command>: <message>") and returns kExitFailure.
    int failure(std::string_view message) const;

    void addOperand(std::string operand) { m_operands.push_back(std::move(operand)); }
    void addOption(std::string_view name, std::optional<std::string> value);

private:
    const CommandSpec* m_command;
    std::ostream* m_out;
    std::ostream* m_err;
    std::vector<std::string> m_operands;
    std::vector<std::pair<std::string, std::optional<std::string>>> m_options;
};

// Runs the tool on the arguments after the program's name: the first names the command, the
// rest are checked against what the command declares before it runs. Returns the exit status.
int runTool(std::span<const CommandSpec* const> commands, std::span<const std::string> argv,
            std::ostream& out, std::ostream& err);

} // namespace rtw::cli
