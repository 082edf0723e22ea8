#include "link/DynamicLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace rtw::link {

std::unique_ptr<DynamicLibrary> DynamicLibrary::open(const std::string& fileName) {
#ifdef _WIN32
    void* module = reinterpret_cast<void*>(LoadLibraryA(fileName.c_str()));
#else
    // Local binding, so the library's symbols cannot stand in for anybody else's.
    void* module = dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
#endif
    if (module == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(module));
}

DynamicLibrary::~DynamicLibrary() {
#ifdef _WIN32
    FreeLibrary(reinterpret_cast<HMODULE>(m_module));
#else
    dlclose(m_module);
#endif
}

void* DynamicLibrary::symbol(const char* name) const {
#ifdef _WIN32
    return reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(m_module), name));
#else
    return dlsym(m_module, name);
#endif
}

} // namespace rtw::link
