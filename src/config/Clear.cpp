#include "config/Clear.h"

#include <algorithm>
#include <array>

namespace rtw {
namespace {

// The window's Clear goes through the rows in this order (observers see it): the input
// lists, the SMS control lists, the texts, the status list, the other lists, the numbers
// with the delays last, then the NO choices before the NC ones.
constexpr FieldRowId kClearOrder[] = {
    FieldRowId::TCV,     FieldRowId::POO,     FieldRowId::SMSV,    FieldRowId::SMSNV,
    FieldRowId::SMSZAP,  FieldRowId::SMSVYP,  FieldRowId::DTMFZAP, FieldRowId::DTMFVYP,
    FieldRowId::TCZSSMS, FieldRowId::POV,     FieldRowId::PZS,     FieldRowId::INTERVAL,
    FieldRowId::CAS,     FieldRowId::CASRELE, FieldRowId::KREDIT,  FieldRowId::DELAY,
    FieldRowId::VSTNO,   FieldRowId::VSTNC,
};

constexpr bool takesEveryRowOnce() {
    std::array<int, kFieldRowCount> seen{};
    for (const FieldRowId row : kClearOrder) {
        ++seen.at(static_cast<std::size_t>(row));
    }
    return std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; });
}
static_assert(takesEveryRowOnce());

} // namespace

void clearConfiguration(DeviceConfig& config) {
    for (const FieldRowId row : kClearOrder) {
        for (const FieldId id : rowFields(row)) {
            const FieldInfo& field = fieldInfo(id);
            if (field.kind == FieldKind::Choice) {
                config.setSelected(id, field.defaultSelected);
            } else {
                config.setText(id, field.defaultText);
            }
        }
    }
}

} // namespace rtw
