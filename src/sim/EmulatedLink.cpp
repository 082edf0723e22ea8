#include "sim/EmulatedLink.h"

#include "link/ForwardingApi.h"
#include "sim/Clock.h"
#include "sim/EmulatedBackend.h"
#include "sim/EmulatedUnit.h"

namespace rtw::sim {
namespace {

struct EmulatedParts {
    explicit EmulatedParts(Pacing pacing) : backend(unit, clock, pacing) {}
    EmulatedUnit unit;
    SteadyClock clock;
    EmulatedBackend backend;
};

// The parts come first among the bases, so they exist before the calls are passed to them.
class EmulatedLink final : private EmulatedParts, public link::ForwardingApi {
public:
    explicit EmulatedLink(Pacing pacing) : EmulatedParts(pacing), ForwardingApi(backend) {}
};

} // namespace

std::unique_ptr<ftdi::D2xxApi> makeEmulatedLink(Pacing pacing) {
    return std::make_unique<EmulatedLink>(pacing);
}

} // namespace rtw::sim
