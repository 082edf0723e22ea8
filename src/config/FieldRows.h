#pragma once
// The field table: every setting of the unit as rows of data. A row stands for one field,
// or, where its texts hold "{n}", for one field per input or output n, and, where its
// name holds "{k}", for the k entries of a phone list. FieldTable.cpp expands the rows into
// the 207 fields; their order is the settings file's (see FieldIds.h).
#include <array>
#include <cstdint>
#include <string_view>

namespace rtw {

enum class FieldKind : std::uint8_t { PhoneEntry, SmsText, DtmfCode, Number, Choice };

// The nine phone lists, in the order of the unit's counts block.
enum class ListId : std::uint8_t { POV1, POV2, POO1, POO2, PZS1, PZS2, TCV1, TCV2, TCZSSMS };
inline constexpr int kListCount = 9;

// The window's four group boxes, and the kinds of page inside them (one page per input or
// output).
enum class WindowGroup : std::uint8_t { Inputs, Status, OutputSms, OutputNumbers };
enum class WindowPage : std::uint8_t { None, Input, Output, Reception, SmsControl };

struct GroupText {
    std::string_view caption;
    std::string_view hint; // empty: the caption is the hint
};

struct PageText {
    std::string_view caption; // "{n}" stands for the page's input or output
    std::string_view hint;    // empty: none of its own
};

// Indexed by WindowGroup and WindowPage. Texts are UTF-8 (the Slovak hints hold letters
// CP1252 lacks).
inline constexpr std::array<GroupText, 4> kGroupTexts = {{
    {"Tel. Nr. für SMS-Versand", ""},
    {"Tel. Nr. für Status-SMS ", "Text Nachricht mit Status-Meldungen an folgende Nummern"},
    {"SMS für Ausgang Fernsteuerung", ""},
    {"Telefon Nummern für Ausgang Fernsteuerung", ""},
}};

inline constexpr std::array<PageText, 5> kPageTexts = {{
    {"", ""},
    {"{n}. Eingang", ""},
    {"{n}.Ausgang", "SMS für {n}.Ausgang Fernsteuerung"},
    {"{n}.Ausgang - Empfang", "Telefon Nummern für {n}.Ausgang Empfang-Fernsteuerung"},
    {"{n}.Ausgang - SMS", "Telefon Nummern für {n}.Ausgang SMS-Fernsteuerung"},
}};

// The rows by name, for the typed field identifiers; named after the group codes.
enum class FieldRowId : std::uint8_t {
    TCV,
    POO,
    SMSV,
    SMSNV,
    SMSZAP,
    SMSVYP,
    DTMFZAP,
    DTMFVYP,
    TCZSSMS,
    POV,
    PZS,
    INTERVAL,
    CAS,
    CASRELE,
    DELAY,
    KREDIT,
    VSTNO,
    VSTNC,
};
inline constexpr std::size_t kFieldRowCount = 18;

struct Limits {
    int typed = 0;   // characters (digits for a number); 0 for a choice
    int minimum = 0; // number fields, stepped by 1
    int maximum = 0;
};

struct WindowText {
    WindowGroup group;
    WindowPage page;
    std::string_view heading; // a caption above the field on its page
    std::string_view label;   // lines apart by '\n'; "{k}" stands for the entry number
    std::string_view unit;    // shown after a number field
    std::string_view hint;    // empty: inherited from the page or group
};

struct FieldRow {
    FieldRowId row;
    // The settings file's section; with "{n}", one section per number. Rows that follow
    // each other under the same section share it, their fields ordered by number first.
    std::string_view section;
    std::string_view name; // canonical, letter case as written
    FieldKind kind;
    int numbers; // 2: one field per input or output, "{n}"; 0: one field
    int entries; // phone lists: entries per number, "{k}"; 0 otherwise
    Limits limits;
    std::string_view defaultValue; // a text, or for a choice "1" when selected
    bool hidden;                   // never shown in the window
    WindowText window;
};

// A label the pattern does not give.
struct LabelException {
    FieldRowId row;
    int number;
    int entry;
    std::string_view label;
};

// Where a phone list stands in the rows.
struct ListRow {
    FieldRowId row;
    int number; // 0 for the list of an unnumbered row
};

inline constexpr int kNumberLimit = 14; // phone entries and DTMF codes
inline constexpr int kSmsLimit = 127;

namespace rows {
using enum FieldRowId;
using enum FieldKind;
using enum WindowGroup;
using enum WindowPage;

// clang-format off
inline constexpr std::array<FieldRow, kFieldRowCount> kFieldRows = {{
    // row, section, name, kind, numbers, entries, limits, default, hidden,
    //     window: group, page, heading, label, unit, hint
    {TCV, "TCV", "editTCV{n}_{k}", PhoneEntry, 2, 8, {kNumberLimit}, "", false,
        {Inputs, Input, "", "{k}.Nummer", "",
         "Telefon Nummer an welche Info bei Statusänderung der Eingänge versendet wird"}},
    {POO, "POO{n}_", "editPOO{n}_{k}", PhoneEntry, 2, 8, {kNumberLimit}, "", false,
        {OutputNumbers, SmsControl, "", "{k}.Nummer", "", ""}},
    {SMSV, "SMSV", "memoSMSV{n}", SmsText, 2, 0, {kSmsLimit}, "", false,
        {Inputs, Input, "", "Text SMS\nbei Eingang\nAuslösen", "",
         "Text Nachricht, welche bei einer Zustandsänderung gesendet wird"}},
    {SMSNV, "SMSNV", "memoSMSNV{n}", SmsText, 2, 0, {kSmsLimit}, "", false,
        {Inputs, Input, "", "Text SMS\nbei Eingang\nRücksetzen", "",
         "Text Nachricht, welche bei einer Zustandsänderung gesendet wird"}},
    {SMSZAP, "SMSZAP", "memoSMSZAP{n}", SmsText, 2, 0, {kSmsLimit}, "", false,
        {OutputSms, Output, "", "Text SMS\n- einschalten", "",
         "Text SMS für {n}.Ausgang einschalten"}},
    {SMSVYP, "SMSVYP", "memoSMSVYP{n}", SmsText, 2, 0, {kSmsLimit}, "", false,
        {OutputSms, Output, "", "Text SMS\n- auschalten", "",
         "Text SMS für {n}.Ausgang auschalten"}},
    {DTMFZAP, "DTMFZAP", "MemoDTMFZAP{n}", DtmfCode, 2, 0, {kNumberLimit}, "", true,
        {OutputSms, Output, "", "DTMF-Code einschalten", "",
         "DTMF kód, ktorým sa bude zapínať {n}.výstup"}},
    {DTMFVYP, "DTMFVYP", "MemoDTMFVYP{n}", DtmfCode, 2, 0, {kNumberLimit}, "", true,
        {OutputSms, Output, "", "DTMF-Code auschalten", "",
         "DTMF kód, ktorým sa bude vypínať {n}.výstup"}},
    {TCZSSMS, "TCZSSMS", "editTCZSSMS_{k}", PhoneEntry, 0, 8, {kNumberLimit}, "", false,
        {Status, None, "", "{k}.Nummer", "", ""}},
    {POV, "POV", "editPOV{n}_{k}", PhoneEntry, 2, 64, {kNumberLimit}, "", false,
        {OutputNumbers, Reception, "", "{k}.Num.", "", ""}},
    {PZS, "PZS", "editPZS{n}_{k}", PhoneEntry, 2, 8, {kNumberLimit}, "", false,
        {Inputs, Input, "Tel. Nr. für Sprachnachrichten", "{k}.Nummer", "",
         "Telefon Nummern welche zum Empfang der Sprachnachrichten berechtigt sind"}},
    {INTERVAL, "INTERVAL", "spinINTERVAL", Number, 0, 0, {3, 0, 180}, "0", false,
        {Status, None, "", "Senden Alle:", "Tage",
         "In welchen Abständen (in Tagen) wird die Status-SMS versendet"}},
    {CAS, "CAS", "spinCAS", Number, 0, 0, {2, 0, 23}, "0", false,
        {Status, None, "", "Zeitpunkt:", "00:Uhr",
         "Zeit, wann eine autom. Status-SMS versendet wird"}},
    {CASRELE, "CASRELE{n}", "SpinCASRELE{n}", Number, 2, 0, {3, 0, 255}, "0", false,
        {OutputSms, Output, "", "Einschaltdauer (sek.)", "", "Einschaltdauer {n}. Ausgang"}},
    {DELAY, "DELAY{n}", "spinDELAY{n}", Number, 2, 0, {3, 1, 255}, "1", false,
        {Inputs, Input, "", "Verzögerung (sek.)", "",
         "Mindestdauer des Trigger-Impuls aktiviert den Eintrag in Sekunden"}},
    {KREDIT, "KREDIT", "spinKREDIT", Number, 0, 0, {1, 0, 9}, "0", true,
        {Status, None, "", "Kredit", "(€)",
         "Automatické upozornenie na nedostatočný kredit ( 0 znamená, že SMS nebudú "
         "zasielané)"}},
    {VSTNO, "AKT-DEAKT", "rbVST{n}_1", Choice, 2, 0, {}, "1", false,
        {Inputs, Input, "Art der Eingang", "NO", "", ""}},
    {VSTNC, "AKT-DEAKT", "rbVST{n}_2", Choice, 2, 0, {}, "", false,
        {Inputs, Input, "Art der Eingang", "NC", "", ""}},
}};
// clang-format on

// Labels the pattern does not give: the window has them so.
inline constexpr std::array<LabelException, 1> kLabelExceptions = {{{TCV, 2, 5, "5 Nummer"}}};

// Where each phone list stands in the rows, in ListId order.
inline constexpr std::array<ListRow, kListCount> kListRows = {
    {{POV, 1}, {POV, 2}, {POO, 1}, {POO, 2}, {PZS, 1}, {PZS, 2}, {TCV, 1}, {TCV, 2}, {TCZSSMS, 0}}};

} // namespace rows
using rows::kFieldRows;
using rows::kLabelExceptions;
using rows::kListRows;

} // namespace rtw
