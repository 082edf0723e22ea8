// The INI reader and Open on top of it, on arbitrary bytes. Beyond not crashing, every text
// written into any such file must read back exactly.
#include "config/DeviceConfig.h"
#include "settings/IniDocument.h"
#include "settings/ProfileValues.h"
#include "settings/SettingsFile.h"
#include "settings/SettingsLayout.h"
#include "settings/ValueEncoding.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

// Open reads a file, so the input goes into one that lives as long as the process.
char g_scratch[] = "/tmp/ini_reader_fuzz_XXXXXX";

const char* scratchFile() {
    static const bool made = [] {
        const int fd = ::mkstemp(g_scratch);
        if (fd < 0) {
            std::abort();
        }
        ::close(fd);
        std::atexit([] { ::unlink(g_scratch); });
        return true;
    }();
    (void)made;
    return g_scratch;
}

void writeScratch(std::string_view bytes) {
    std::FILE* f = std::fopen(scratchFile(), "wb");
    if (f == nullptr) {
        std::abort();
    }
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

// A text cut from the input, so texts hold whatever the input holds: quotes, blanks,
// backslashes, line breaks.
std::string textFor(std::string_view input, std::size_t i) {
    if (input.empty()) {
        return {};
    }
    const std::size_t start = (i * 7919) % input.size();
    return std::string(input.substr(start, (i * 31) % 48));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);

    rtw::ini::IniDocument doc(input);
    const auto keys = rtw::settingsKeys();
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::string& key = rtw::fieldInfo(keys[i].field).name;
        if (const auto stored = doc.storedValue(keys[i].section, key)) {
            (void)rtw::ini::profileString(*stored);
            (void)rtw::ini::profileBool(*stored, false);
            (void)rtw::ini::decodeValue(*stored);
        }
        doc.setValue(keys[i].section, key, rtw::ini::encodeValue(textFor(input, i)));
    }
    const rtw::ini::IniDocument reread(doc.content());
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const auto stored = reread.storedValue(keys[i].section, rtw::fieldInfo(keys[i].field).name);
        if (!stored || rtw::ini::decodeValue(*stored) != textFor(input, i)) {
            std::abort();
        }
    }

    writeScratch(input);
    rtw::DeviceConfig config;
    rtw::OpenSettingsFile(config, scratchFile());
    return 0;
}
