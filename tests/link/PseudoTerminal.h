#pragma once
// A pseudo-terminal whose master side the test holds: the test plays the unit there while
// the code under test opens the slave by its path.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rtw::test {

class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    [[nodiscard]] const std::string& slavePath() const { return m_slavePath; }
    // The unit sends.
    void send(std::string_view bytes);
    void send(const std::vector<std::uint8_t>& bytes);
    // What the unit received: waits up to waitMs for the first byte, then takes what
    // follows without a gap of more than a few milliseconds, up to max bytes.
    [[nodiscard]] std::vector<std::uint8_t> receive(std::size_t max, int waitMs = 100);
    // The unit goes away (the cable is pulled).
    void hangUp();

private:
    int m_master = -1;
    std::string m_slavePath;
};

} // namespace rtw::test
