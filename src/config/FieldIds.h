#pragma once
// Typed field identifiers. A FieldId is the field's place in the settings file's order,
// worked out from the rows at compile time, so code names a field without spelling its
// name and a wrong input number or entry fails at compile time where it can.
#include "config/FieldRows.h"

#include <stdexcept>

namespace rtw {

using FieldId = std::uint16_t;

namespace rows {

[[nodiscard]] constexpr const FieldRow& rowOf(FieldRowId id) {
    for (const FieldRow& row : kFieldRows) {
        if (row.row == id) {
            return row;
        }
    }
    throw std::logic_error("field row missing from the table");
}

[[nodiscard]] constexpr int numberCount(const FieldRow& row) {
    return row.numbers == 0 ? 1 : row.numbers;
}
[[nodiscard]] constexpr int fieldsPerNumber(const FieldRow& row) {
    return row.entries == 0 ? 1 : row.entries;
}

// Where a row's fields begin and how far apart the fields of two numbers lie. The rows of
// a section run by number first, so number n+1 follows the whole section's number n.
struct RowPlace {
    int first = 0;
    int stride = 0;
};

[[nodiscard]] constexpr std::array<RowPlace, kFieldRowCount> rowPlaces() {
    std::array<RowPlace, kFieldRowCount> places{};
    int next = 0;
    std::size_t begin = 0;
    while (begin < kFieldRows.size()) {
        const FieldRow& head = kFieldRows[begin];
        std::size_t end = begin;
        int perNumber = 0;
        for (; end < kFieldRows.size() && kFieldRows[end].section == head.section; ++end) {
            if (kFieldRows[end].numbers != head.numbers) {
                throw std::logic_error("the rows of a section differ in their numbers");
            }
            perNumber += fieldsPerNumber(kFieldRows[end]);
        }
        int offset = 0;
        for (std::size_t i = begin; i < end; ++i) {
            RowPlace& place = places.at(static_cast<std::size_t>(kFieldRows[i].row));
            if (place.stride != 0) {
                throw std::logic_error("a field row stands twice in the table");
            }
            place = {next + offset, perNumber};
            offset += fieldsPerNumber(kFieldRows[i]);
        }
        next += perNumber * numberCount(head);
        begin = end;
    }
    return places;
}

inline constexpr std::array<RowPlace, kFieldRowCount> kRowPlaces = rowPlaces();

[[nodiscard]] constexpr int fieldCount() {
    int count = 0;
    for (const FieldRow& row : kFieldRows) {
        count += numberCount(row) * fieldsPerNumber(row);
    }
    return count;
}

} // namespace rows

inline constexpr int kFieldCount = rows::fieldCount();
static_assert(kFieldCount == 207);

// The field of a row for input or output `number` (0 in an unnumbered row) and list entry
// `entry` (0 outside the lists).
[[nodiscard]] constexpr FieldId fieldOf(FieldRowId row, int number = 0, int entry = 0) {
    const FieldRow& r = rows::rowOf(row);
    const bool numberFits = r.numbers == 0 ? number == 0 : number >= 1 && number <= r.numbers;
    const bool entryFits = r.entries == 0 ? entry == 0 : entry >= 1 && entry <= r.entries;
    if (!numberFits || !entryFits) {
        throw std::out_of_range("no such field in its row");
    }
    const rows::RowPlace& place = rows::kRowPlaces.at(static_cast<std::size_t>(row));
    return static_cast<FieldId>(place.first + (number == 0 ? 0 : number - 1) * place.stride +
                                (entry == 0 ? 0 : entry - 1));
}

[[nodiscard]] constexpr int listSize(ListId list) {
    return rows::rowOf(kListRows.at(static_cast<std::size_t>(list)).row).entries;
}

// Entry k (1-based) of a phone list.
[[nodiscard]] constexpr FieldId entryField(ListId list, int entry) {
    const ListRow& place = kListRows.at(static_cast<std::size_t>(list));
    return fieldOf(place.row, place.number, entry);
}

// The single and numbered fields under their canonical names; n is the input or output.
namespace field {

inline constexpr FieldId spinINTERVAL = fieldOf(FieldRowId::INTERVAL);
inline constexpr FieldId spinCAS = fieldOf(FieldRowId::CAS);
inline constexpr FieldId spinKREDIT = fieldOf(FieldRowId::KREDIT);

[[nodiscard]] constexpr FieldId memoSMSV(int input) {
    return fieldOf(FieldRowId::SMSV, input);
}
[[nodiscard]] constexpr FieldId memoSMSNV(int input) {
    return fieldOf(FieldRowId::SMSNV, input);
}
[[nodiscard]] constexpr FieldId memoSMSZAP(int output) {
    return fieldOf(FieldRowId::SMSZAP, output);
}
[[nodiscard]] constexpr FieldId memoSMSVYP(int output) {
    return fieldOf(FieldRowId::SMSVYP, output);
}
[[nodiscard]] constexpr FieldId MemoDTMFZAP(int output) {
    return fieldOf(FieldRowId::DTMFZAP, output);
}
[[nodiscard]] constexpr FieldId MemoDTMFVYP(int output) {
    return fieldOf(FieldRowId::DTMFVYP, output);
}
[[nodiscard]] constexpr FieldId SpinCASRELE(int output) {
    return fieldOf(FieldRowId::CASRELE, output);
}
[[nodiscard]] constexpr FieldId spinDELAY(int input) {
    return fieldOf(FieldRowId::DELAY, input);
}

// The two contact-type choices of an input: rbVST<n>_1 and rbVST<n>_2.
enum class Contact : std::uint8_t { NO, NC };
[[nodiscard]] constexpr FieldId rbVST(int input, Contact contact) {
    return fieldOf(contact == Contact::NO ? FieldRowId::VSTNO : FieldRowId::VSTNC, input);
}

} // namespace field
} // namespace rtw
