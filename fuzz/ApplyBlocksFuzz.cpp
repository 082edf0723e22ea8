// Applies arbitrary received blocks, 18 input bytes each (address high, address low, 16
// data bytes), to one configuration with one SMS assembly, as a Read would. After every
// block the phone lists keep their invariants, only the block's own SMS area is assembled,
// and no field outside what the block's address names has changed. A configuration
// reached this way that can be sent encodes to blocks that give it back.
#include "config/DeviceConfig.h"
#include "config/Validation.h"
#include "protocol/ConfigImage.h"
#include "protocol/MemoryMap.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <span>
#include <string>

namespace {

using namespace rtw;

void check(bool ok, const char* what, std::uint16_t address) {
    if (!ok) {
        std::fprintf(stderr, "after block at %u: %s\n", static_cast<unsigned>(address), what);
        std::abort();
    }
}

void checkLists(const DeviceConfig& c, std::uint16_t address) {
    for (int l = 0; l < kListCount; ++l) {
        const auto list = static_cast<ListId>(l);
        check(c.isEnabled(entryField(list, 1)), "entry 1 disabled", address);
        for (int k = 1; k < listInfo(list).size; ++k) {
            const FieldId next = entryField(list, k + 1);
            check(c.isEnabled(next) == !c.text(entryField(list, k)).empty(),
                  "enabled state does not follow the previous entry", address);
            check(c.isEnabled(next) || c.text(next).empty(), "disabled entry holds text", address);
        }
    }
    for (int input = 1; input <= 2; ++input) {
        check(!(c.isSelected(field::rbVST(input, field::Contact::NO)) &&
                c.isSelected(field::rbVST(input, field::Contact::NC))),
              "both choices selected", address);
    }
}

// A block changes the assembly of its own SMS area only, and nothing outside the areas.
void checkAssembly(const SmsAssembly& before, const SmsAssembly& after, std::uint16_t address) {
    std::optional<std::size_t> own;
    std::size_t area = 0;
    for (const SmsGroup& group : kSmsGroups) {
        for (std::size_t t = 0; t < group.texts.size(); ++t, ++area) {
            const std::size_t first = group.base + t * wire::kSmsAreaStride;
            if (address >= first && address < first + wire::kSmsAreaSize) {
                own = area;
            }
        }
    }
    for (std::size_t a = 0; a < kSmsAreaCount; ++a) {
        check(a == own || before.areas[a] == after.areas[a],
              "the assembly of another SMS area changed", address);
    }
}

// Whether a block at this address may change the field, worked out from the map's rows
// rather than from the code under test.
bool mayChange(std::uint16_t address, const FieldInfo& f) {
    if (address < wire::kDtmfZap1) {
        std::size_t list = 0;
        while (list + 1 < kListPlacements.size() && address >= kListPlacements[list + 1].base) {
            ++list;
        }
        return f.list && *f.list == kListPlacements[list].list;
    }
    for (const DtmfPlacement& p : kDtmfPlacements) {
        if (p.address == address) {
            return f.id == p.field;
        }
    }
    if (address == wire::kSettingsBlock) {
        return f.kind == FieldKind::Number || f.kind == FieldKind::Choice;
    }
    if (address >= wire::kSmsBase && address < wire::kMemorySize) {
        // Only the text of the block's own area.
        const SmsGroup* group = &kSmsGroups.front();
        for (const SmsGroup& g : kSmsGroups) {
            if (address >= g.base) {
                group = &g;
            }
        }
        return f.id == group->texts[(address - group->base) / wire::kSmsAreaStride];
    }
    return false;
}

void checkUntouched(const DeviceConfig& before, const DeviceConfig& after, std::uint16_t address) {
    for (const FieldInfo& f : allFields()) {
        const bool same = f.kind == FieldKind::Choice
                              ? before.isSelected(f.id) == after.isSelected(f.id)
                              : before.text(f.id) == after.text(f.id);
        check(same || mayChange(address, f), "a field outside the block's address changed",
              address);
    }
}

void checkRoundTrip(const DeviceConfig& c) {
    if (!validateForSend(c).empty()) {
        return;
    }
    DeviceConfig back;
    SmsAssembly sms;
    for (const ImageBlock& block : EncodeImage(c)) {
        ApplyImageBlock(back, block, sms);
    }
    check(back.sameValues(c), "encoded configuration does not read back", 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DeviceConfig config;
    SmsAssembly sms;
    for (std::size_t at = 0; at + wire::kFrameSize <= size; at += wire::kFrameSize) {
        const ImageBlock block = decodeFrame(
            std::span<const std::uint8_t, wire::kFrameSize>(data + at, wire::kFrameSize));
        const DeviceConfig before(config);
        const SmsAssembly smsBefore = sms;
        ApplyImageBlock(config, block, sms);
        checkLists(config, block.address);
        checkAssembly(smsBefore, sms, block.address);
        checkUntouched(before, config, block.address);
    }
    checkRoundTrip(config);
    return 0;
}
