#pragma once
// A shared library loaded at run time (dlopen, or LoadLibrary on Windows), released with
// the object.
#include <memory>
#include <string>

namespace rtw::link {

class DynamicLibrary {
public:
    // Null when the library cannot be loaded. A bare file name is searched where the system
    // searches for libraries; a path is taken as it is.
    [[nodiscard]] static std::unique_ptr<DynamicLibrary> open(const std::string& fileName);

    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // The address of an exported symbol, or null.
    [[nodiscard]] void* symbol(const char* name) const;

private:
    explicit DynamicLibrary(void* module) : m_module(module) {}
    void* m_module;
};

} // namespace rtw::link
