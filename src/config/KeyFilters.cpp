#include "config/KeyFilters.h"

namespace rtw {

void onlyNumbers(char& key) {
    const auto c = static_cast<unsigned char>(key);
    if (!(c <= 31 || c == '+' || (c >= '0' && c <= '9'))) {
        key = 0;
    }
}

void onlyText(char& key) {
    const auto c = static_cast<unsigned char>(key);
    if (!(c == 8 || (c >= 32 && c <= 127))) {
        key = 0;
    }
}

bool numberFieldAccepts(char key) {
    const auto c = static_cast<unsigned char>(key);
    return (c >= '0' && c <= '9') || (c < 32 && c != 13);
}

} // namespace rtw
