#pragma once
// The open devices of a backend, each behind the handle the backend hands out, and the
// look-up every call with a handle begins with. A call with a handle the table does not
// hold is refused instead of followed. Handles are never given twice in a table's life,
// so a handle kept past its close stays refused after the device opens again.
#include "link/FTDItypes.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace rtw::link {

template <typename Device> class HandleTable {
public:
    [[nodiscard]] ftdi::FT_HANDLE add(std::unique_ptr<Device> device) {
        const auto handle = reinterpret_cast<ftdi::FT_HANDLE>(m_nextHandle);
        m_nextHandle += kHandleStep;
        m_entries.push_back(Entry{handle, std::move(device)});
        return handle;
    }

    [[nodiscard]] Device* find(ftdi::FT_HANDLE handle) const {
        const auto it = position(m_entries, handle);
        return it == m_entries.end() ? nullptr : it->device.get();
    }

    // The call's own work on the device behind the handle; FT_INVALID_HANDLE for a handle
    // the table does not hold, without running it.
    template <typename Call> ftdi::FT_STATUS with(ftdi::FT_HANDLE handle, Call&& call) const {
        Device* device = find(handle);
        return device == nullptr ? ftdi::FT_INVALID_HANDLE : std::forward<Call>(call)(*device);
    }

    // Hands the device back to the caller, or null for an unknown handle.
    [[nodiscard]] std::unique_ptr<Device> remove(ftdi::FT_HANDLE handle) {
        const auto it = position(m_entries, handle);
        if (it == m_entries.end()) {
            return nullptr;
        }
        std::unique_ptr<Device> device = std::move(it->device);
        m_entries.erase(it);
        return device;
    }

    [[nodiscard]] bool empty() const { return m_entries.empty(); }
    [[nodiscard]] std::size_t size() const { return m_entries.size(); }

    template <typename Predicate> [[nodiscard]] bool any(Predicate predicate) const {
        return std::any_of(m_entries.begin(), m_entries.end(),
                           [&](const Entry& entry) { return predicate(*entry.device); });
    }

private:
    // Far from 0, so a caller that forgot to take its handle stands out.
    static constexpr std::uintptr_t kFirstHandle = 0x5254'0001;
    static constexpr std::uintptr_t kHandleStep = 0x10;

    struct Entry {
        ftdi::FT_HANDLE handle;
        std::unique_ptr<Device> device;
    };

    template <typename Entries> static auto position(Entries& entries, ftdi::FT_HANDLE handle) {
        return std::find_if(entries.begin(), entries.end(),
                            [handle](const Entry& entry) { return entry.handle == handle; });
    }

    std::vector<Entry> m_entries;
    std::uintptr_t m_nextHandle = kFirstHandle;
};

} // namespace rtw::link
