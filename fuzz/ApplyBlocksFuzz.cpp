// Applies arbitrary received blocks, 18 input bytes each (address high, address low, 16
// data bytes), to one configuration with one SMS assembly, as a Read would. After every
// block the phone lists keep their invariants, the assembly stays bounded, and no field
// outside what the block's address names has changed. A configuration reached this way
// that can be sent encodes to blocks that give it back.
#include "config/DeviceConfig.h"
#include "config/Validation.h"
#include "protocol/ConfigImage.h"
#include "protocol/ImageLayout.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
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

void checkAssembly(const SmsAssembly& sms, std::uint16_t address) {
    check(sms.collected.size() <= wire::kSmsCapacity, "more than 127 bytes collected", address);
    if (sms.pending) {
        check(sms.areaAddress >= wire::kSmsBase && sms.areaAddress < wire::kMemorySize &&
                  sms.areaAddress % wire::kSmsAreaStride == 0,
              "pending area is not an SMS area", address);
        check(sms.pendingText == (sms.areaAddress % wire::kSmsGroupStride == 0 ? 1 : 2),
              "pending text number does not match its area", address);
    }
}

// Whether a block at this address may change the field, worked out from the layout
// rather than from the code under test.
bool mayChange(std::uint16_t address, const FieldInfo& f) {
    if (address < wire::kDtmfZap1) {
        std::size_t list = 0;
        while (list + 1 < kListBases.size() && address >= kListBases[list + 1]) {
            ++list;
        }
        return f.list && static_cast<std::size_t>(*f.list) == list;
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
        const SmsGroup& group = smsGroupAt(address);
        return f.id ==
               (address % wire::kSmsGroupStride < wire::kSmsAreaStride ? group.text1 : group.text2);
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
        ImageBlock block;
        block.address = static_cast<std::uint16_t>(data[at] << 8 | data[at + 1]);
        for (std::size_t i = 0; i < wire::kBlockSize; ++i) {
            block.data[i] = data[at + 2 + i];
        }
        const DeviceConfig before(config);
        ApplyImageBlock(config, block, sms);
        checkLists(config, block.address);
        checkAssembly(sms, block.address);
        checkUntouched(before, config, block.address);
    }
    checkRoundTrip(config);
    return 0;
}
