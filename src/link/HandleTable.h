#pragma once
// The open devices of a backend, each behind the handle the library hands out. A handle
// is the address of the device's state, and a call with a handle the table does not hold
// is refused instead of followed.
#include "link/FTDItypes.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace rtw::link {

template <typename Device> class HandleTable {
public:
    [[nodiscard]] ftdi::FT_HANDLE add(std::unique_ptr<Device> device) {
        ftdi::FT_HANDLE handle = device.get();
        m_devices.push_back(std::move(device));
        return handle;
    }

    [[nodiscard]] Device* find(ftdi::FT_HANDLE handle) const {
        const auto it =
            std::find_if(m_devices.begin(), m_devices.end(),
                         [handle](const auto& device) { return device.get() == handle; });
        return it == m_devices.end() ? nullptr : it->get();
    }

    // Hands the device back to the caller, or null for an unknown handle.
    [[nodiscard]] std::unique_ptr<Device> remove(ftdi::FT_HANDLE handle) {
        const auto it = position(handle);
        if (it == m_devices.end()) {
            return nullptr;
        }
        std::unique_ptr<Device> device = std::move(*it);
        m_devices.erase(it);
        return device;
    }

    template <typename Predicate> [[nodiscard]] bool any(Predicate predicate) const {
        return std::any_of(m_devices.begin(), m_devices.end(),
                           [&](const auto& device) { return predicate(*device); });
    }

private:
    auto position(ftdi::FT_HANDLE handle) {
        return std::find_if(m_devices.begin(), m_devices.end(),
                            [handle](const auto& device) { return device.get() == handle; });
    }

    std::vector<std::unique_ptr<Device>> m_devices;
};

} // namespace rtw::link
