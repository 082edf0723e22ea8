#pragma once
// Writing a text into a caller's FT_GetDeviceInfo buffer: cut to the library's capacity,
// always terminated. A null buffer is skipped, as callers may not want the text.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "link/FTDItypes.h"

namespace rtw::link {

inline void writeDeviceText(std::string_view text, char* buffer, std::size_t capacity) {
    if (buffer == nullptr || capacity == 0) {
        return;
    }
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

// FT_GetDeviceInfo's outputs for a device the backend knows; null outputs are skipped.
inline void writeDeviceInfo(std::uint32_t type, std::uint32_t id, std::string_view serialNumber,
                            std::string_view description, std::uint32_t* typeOut,
                            std::uint32_t* idOut, char* serialNumberOut, char* descriptionOut) {
    if (typeOut != nullptr) {
        *typeOut = type;
    }
    if (idOut != nullptr) {
        *idOut = id;
    }
    writeDeviceText(serialNumber, serialNumberOut, ftdi::kSerialNumberCapacity);
    writeDeviceText(description, descriptionOut, ftdi::kDescriptionCapacity);
}

} // namespace rtw::link
