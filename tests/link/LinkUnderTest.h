#pragma once
// One backend as the read/write contract suite drives it: the seam under test, plus the
// unit's end of the line, where the test makes the unit send bytes and looks at what it
// received. Each backend that can run here adds one entry to contractTargets().
#include "link/FTDIdll.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

namespace rtw::test {

class LinkUnderTest {
public:
    virtual ~LinkUnderTest() = default;
    virtual ftdi::D2xxApi& api() = 0;
    // The unit sends these bytes towards the PC; they are waiting when this returns.
    virtual void unitSends(const std::vector<std::uint8_t>& bytes) = 0;
    // Everything the unit has received from the PC so far, taken away.
    virtual std::vector<std::uint8_t> unitReceived() = 0;
};

struct ContractTarget {
    std::string name; // a test-name suffix: letters and digits only
    std::function<std::unique_ptr<LinkUnderTest>()> make;
};

// Test listings name the backend, not the bytes of the parameter.
inline void PrintTo(const ContractTarget& target, std::ostream* out) {
    *out << target.name;
}

// The fake, the serial backend on a pseudo-terminal, the vendor library's stand-in,
// libftdi1 over its fake, and the emulated unit kept silent, its bytes sent raw.
[[nodiscard]] std::vector<ContractTarget> contractTargets();

} // namespace rtw::test
