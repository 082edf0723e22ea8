#include "config/FieldTable.h"

#include "config/Cp1252.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace rtw {
namespace {

const std::string kGroupInputs = "Tel. Nr. für SMS-Versand";
const std::string kGroupStatus = "Tel. Nr. für Status-SMS ";
const std::string kGroupOutputSms = "SMS für Ausgang Fernsteuerung";
const std::string kGroupOutputNumbers = "Telefon Nummern für Ausgang Fernsteuerung";

constexpr std::array<PhoneList, kListCount> kLists = {{
    {ListId::POV1, "editPOV1_", 64},
    {ListId::POV2, "editPOV2_", 64},
    {ListId::POO1, "editPOO1_", 8},
    {ListId::POO2, "editPOO2_", 8},
    {ListId::PZS1, "editPZS1_", 8},
    {ListId::PZS2, "editPZS2_", 8},
    {ListId::TCV1, "editTCV1_", 8},
    {ListId::TCV2, "editTCV2_", 8},
    {ListId::TCZSSMS, "editTCZSSMS_", 8},
}};

std::string lower(std::string_view s) {
    std::string out(s);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

struct Table {
    std::vector<FieldInfo> fields;
    std::unordered_map<std::string, FieldId> byLowerName;
    std::array<std::vector<FieldId>, kListCount> entries;

    FieldInfo& add(std::string name, FieldKind kind, std::string_view group, std::string_view page,
                   std::string_view label, std::string_view hint) {
        FieldInfo f;
        f.id = static_cast<FieldId>(fields.size());
        f.name = std::move(name);
        f.kind = kind;
        f.group = group;
        f.page = page;
        f.label = label;
        f.hint = hint;
        if (kind == FieldKind::PhoneEntry || kind == FieldKind::DtmfCode) {
            f.typedLimit = 14;
        } else if (kind == FieldKind::SmsText) {
            f.typedLimit = 127;
        }
        fields.push_back(std::move(f));
        return fields.back();
    }

    void addList(ListId list, std::string_view group, std::string_view page,
                 std::string_view hint) {
        const PhoneList& info = kLists[static_cast<std::size_t>(list)];
        for (int k = 1; k <= info.size; ++k) {
            std::string label = std::to_string(k) + (info.size == 64 ? ".Num." : ".Nummer");
            if (list == ListId::TCV2 && k == 5) {
                label = "5 Nummer"; // the window has it so
            }
            FieldInfo& f = add(std::string(info.prefix) + std::to_string(k), FieldKind::PhoneEntry,
                               group, page, label, hint);
            f.list = list;
            f.entry = k;
            entries[static_cast<std::size_t>(list)].push_back(f.id);
        }
    }

    void addNumber(std::string name, int digits, int minimum, int maximum, std::string_view group,
                   std::string_view page, std::string_view label, std::string_view hint,
                   bool hidden = false) {
        FieldInfo& f = add(std::move(name), FieldKind::Number, group, page, label, hint);
        f.typedLimit = digits;
        f.minimum = minimum;
        f.maximum = maximum;
        f.step = 1;
        f.defaultText = std::to_string(minimum);
        f.hidden = hidden;
    }

    Table() {
        const std::string in1 = "1. Eingang";
        const std::string in2 = "2. Eingang";
        const std::string tcvHint =
            "Telefon Nummer an welche Info bei Statusänderung der Eingänge versendet wird";
        addList(ListId::TCV1, kGroupInputs, in1, tcvHint);
        addList(ListId::TCV2, kGroupInputs, in2, tcvHint);
        addList(ListId::POO1, kGroupOutputNumbers, "1.Ausgang - SMS", "");
        addList(ListId::POO2, kGroupOutputNumbers, "2.Ausgang - SMS", "");

        const std::string smsHint =
            "Text Nachricht, welche bei einer Zustandsänderung gesendet wird";
        for (int n = 1; n <= 2; ++n) {
            add("memoSMSV" + std::to_string(n), FieldKind::SmsText, kGroupInputs,
                n == 1 ? in1 : in2, "Text SMS bei Eingang Auslösen", smsHint);
        }
        for (int n = 1; n <= 2; ++n) {
            add("memoSMSNV" + std::to_string(n), FieldKind::SmsText, kGroupInputs,
                n == 1 ? in1 : in2, "Text SMS bei Eingang Rücksetzen", smsHint);
        }
        for (int n = 1; n <= 2; ++n) {
            const std::string out = std::to_string(n) + ".Ausgang";
            add("memoSMSZAP" + std::to_string(n), FieldKind::SmsText, kGroupOutputSms, out,
                "Text SMS - einschalten", "Text SMS für " + out + " einschalten");
        }
        for (int n = 1; n <= 2; ++n) {
            const std::string out = std::to_string(n) + ".Ausgang";
            add("memoSMSVYP" + std::to_string(n), FieldKind::SmsText, kGroupOutputSms, out,
                "Text SMS - auschalten", "Text SMS für " + out + " auschalten");
        }
        for (int n = 1; n <= 2; ++n) {
            const std::string out = std::to_string(n) + ".Ausgang";
            add("MemoDTMFZAP" + std::to_string(n), FieldKind::DtmfCode, kGroupOutputSms, out,
                "DTMF-Code einschalten",
                "DTMF kód, ktorým sa bude zapínať " + std::to_string(n) + ".výstup")
                .hidden = true;
        }
        for (int n = 1; n <= 2; ++n) {
            const std::string out = std::to_string(n) + ".Ausgang";
            add("MemoDTMFVYP" + std::to_string(n), FieldKind::DtmfCode, kGroupOutputSms, out,
                "DTMF-Code auschalten",
                "DTMF kód, ktorým sa bude vypínať " + std::to_string(n) + ".výstup")
                .hidden = true;
        }
        addList(ListId::TCZSSMS, kGroupStatus, "", "");
        addList(ListId::POV1, kGroupOutputNumbers, "1.Ausgang - Empfang", "");
        addList(ListId::POV2, kGroupOutputNumbers, "2.Ausgang - Empfang", "");
        const std::string pzsHint =
            "Telefon Nummern welche zum Empfang der Sprachnachrichten berechtigt sind";
        addList(ListId::PZS1, kGroupInputs, in1 + " / Tel. Nr. für Sprachnachrichten", pzsHint);
        addList(ListId::PZS2, kGroupInputs, in2 + " / Tel. Nr. für Sprachnachrichten", pzsHint);

        addNumber("spinINTERVAL", 3, 0, 180, kGroupStatus, "", "Senden Alle: (Tage)",
                  "In welchen Abständen (in Tagen) wird die Status-SMS versendet");
        addNumber("spinCAS", 2, 0, 23, kGroupStatus, "", "Zeitpunkt: (00:Uhr)",
                  "Zeit, wann eine autom. Status-SMS versendet wird");
        addNumber("SpinCASRELE1", 3, 0, 255, kGroupOutputSms, "1.Ausgang", "Einschaltdauer (sek.)",
                  "Einschaltdauer 1. Ausgang");
        addNumber("SpinCASRELE2", 3, 0, 255, kGroupOutputSms, "2.Ausgang", "Einschaltdauer (sek.)",
                  "Einschaltdauer 2. Ausgang");
        const std::string delayHint =
            "Mindestdauer des Trigger-Impuls aktiviert den Eintrag in Sekunden";
        addNumber("spinDELAY1", 3, 1, 255, kGroupInputs, in1, "Verzögerung (sek.)", delayHint);
        addNumber("spinDELAY2", 3, 1, 255, kGroupInputs, in2, "Verzögerung (sek.)", delayHint);
        addNumber("spinKREDIT", 1, 0, 9, kGroupStatus, "", "Kredit (€)",
                  "Automatické upozornenie na nedostatočný kredit ( 0 znamená, že SMS nebudú "
                  "zasielané)",
                  true);

        for (int n = 1; n <= 2; ++n) {
            const std::string& page = n == 1 ? in1 : in2;
            add("rbVST" + std::to_string(n) + "_1", FieldKind::Choice, kGroupInputs, page,
                "Art der Eingang NO", "")
                .defaultSelected = true;
            add("rbVST" + std::to_string(n) + "_2", FieldKind::Choice, kGroupInputs, page,
                "Art der Eingang NC", "");
        }

        for (const FieldInfo& f : fields) {
            byLowerName.emplace(lower(f.name), f.id);
        }
    }
};

const Table& table() {
    static const Table t;
    return t;
}

} // namespace

std::span<const FieldInfo> allFields() {
    return table().fields;
}

const FieldInfo& fieldInfo(FieldId id) {
    return table().fields.at(id);
}

std::optional<FieldId> findField(std::string_view name) {
    const auto& map = table().byLowerName;
    auto it = map.find(lower(name));
    if (it == map.end()) {
        return std::nullopt;
    }
    return it->second;
}

FieldId fieldId(std::string_view name) {
    if (auto id = findField(name)) {
        return *id;
    }
    throw std::invalid_argument("unknown field: " + std::string(name));
}

const PhoneList& listInfo(ListId list) {
    return kLists.at(static_cast<std::size_t>(list));
}

FieldId entryField(ListId list, int entry) {
    return table()
        .entries.at(static_cast<std::size_t>(list))
        .at(static_cast<std::size_t>(entry - 1));
}

std::string displayName(const FieldInfo& field) {
    std::string out = cp1252FromUtf8(field.group);
    while (!out.empty() && out.back() == ' ') {
        out.pop_back();
    }
    if (!field.page.empty()) {
        out += " / " + cp1252FromUtf8(field.page);
    }
    out += " / " + cp1252FromUtf8(field.label);
    return out;
}

} // namespace rtw
