#include "config/Validation.h"

#include "config/Cp1252.h"
#include "config/NumberField.h"

namespace rtw {
namespace {

std::string problem(const FieldInfo& f, std::string_view reasonUtf8) {
    return displayName(f) + ": " + cp1252FromUtf8(reasonUtf8);
}

bool allDigits(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::string> validateForSend(const DeviceConfig& config) {
    std::vector<std::string> problems;
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::Choice) {
            continue;
        }
        const std::string& text = config.text(f.id);
        if (f.kind == FieldKind::Number) {
            if (text.empty()) {
                problems.push_back(problem(f, "Es ist keine Zahl eingetragen."));
            } else if (!allDigits(text)) {
                problems.push_back(
                    problem(f, "\"" + utf8FromCp1252(text) + "\" ist keine ganze Zahl."));
            } else if (const long long v = *numberValue(text); v < f.minimum || v > f.maximum) {
                problems.push_back(problem(
                    f, "Der Wert " + utf8FromCp1252(text) + " liegt nicht zwischen " +
                           std::to_string(f.minimum) + " und " + std::to_string(f.maximum) + "."));
            }
        } else if (static_cast<int>(text.size()) > f.typedLimit) {
            problems.push_back(problem(f, "Der Text ist " + std::to_string(text.size()) +
                                              " Zeichen lang, höchstens " +
                                              std::to_string(f.typedLimit) + " sind möglich."));
        }
    }
    return problems;
}

} // namespace rtw
