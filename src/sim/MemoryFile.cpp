#include "sim/MemoryFile.h"

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace rtw::sim {

MemoryBytes readMemoryFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("Speicherdatei nicht lesbar: " + path.string());
    }
    MemoryBytes memory{};
    in.read(reinterpret_cast<char*>(memory.data()), static_cast<std::streamsize>(memory.size()));
    const bool whole = in.gcount() == static_cast<std::streamsize>(memory.size());
    // One byte more means the file is too long.
    if (!whole || in.peek() != std::ifstream::traits_type::eof()) {
        throw std::runtime_error("Speicherdatei hat nicht genau 4096 Bytes: " + path.string());
    }
    return memory;
}

void writeMemoryFile(const std::filesystem::path& path, const MemoryBytes& memory) {
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(memory.data()),
                  static_cast<std::streamsize>(memory.size()));
        out.close();
        if (!out) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            throw std::runtime_error("Speicherdatei nicht schreibbar: " + path.string());
        }
    }
    std::error_code error;
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("Speicherdatei nicht schreibbar: " + path.string());
    }
}

} // namespace rtw::sim
