#pragma once
// A sysfs and /dev of our own in a temporary folder: USB devices above terminals, and
// device nodes that are pseudo-terminals in disguise.
#include "PseudoTerminal.h"
#include "link/PosixSerial.h"

#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace rtw::test {

namespace fs = std::filesystem;
using link::SerialOptions;

class FakeSysfs {
public:
    FakeSysfs() {
        m_root = fs::temp_directory_path() /
                 ("rtw-link-sysfs-" + std::to_string(::getpid()) + "-" + std::to_string(++s_count));
        fs::create_directories(sys() / "class" / "tty");
        fs::create_directories(dev());
    }
    ~FakeSysfs() {
        std::error_code error;
        fs::remove_all(m_root, error);
    }

    [[nodiscard]] fs::path sys() const { return m_root / "sys"; }
    [[nodiscard]] fs::path dev() const { return m_root / "dev"; }

    // A USB serial terminal `name` behind the pseudo-terminal's slave.
    void addUsbTty(const std::string& name, const PseudoTerminal& node, const std::string& vendor,
                   const std::string& product, const std::string& bcd, const std::string& text) {
        const fs::path usb = sys() / "devices" / "usb1" / ("1-" + name);
        const fs::path port = usb / (("1-" + name) + ":1.0") / name;
        fs::create_directories(port);
        write(usb / "idVendor", vendor);
        write(usb / "idProduct", product);
        write(usb / "bcdDevice", bcd);
        write(usb / "product", text);
        write(usb / "serial", "SN-" + name);
        const fs::path classDevice = sys() / "class" / "tty" / name;
        fs::create_directories(classDevice);
        fs::create_directory_symlink(port, classDevice / "device");
        fs::create_directories(sys() / "bus" / "usb-serial" / "devices" / name);
        write(sys() / "bus" / "usb-serial" / "devices" / name / "latency_timer", "16");
        fs::create_symlink(node.slavePath(), dev() / name);

        struct stat status {};
        ASSERT_EQ(::stat(node.slavePath().c_str(), &status), 0);
        fs::create_directories(sys() / "dev" / "char");
        fs::create_directory_symlink(classDevice, sys() / "dev" / "char" /
                                                      (std::to_string(major(status.st_rdev)) + ":" +
                                                       std::to_string(minor(status.st_rdev))));
    }
    // A terminal with a device that is not on USB (an on-board UART).
    void addPlainTty(const std::string& name) {
        const fs::path port = sys() / "devices" / "platform" / "serial8250" / name;
        fs::create_directories(port);
        fs::create_directories(sys() / "class" / "tty" / name);
        fs::create_directory_symlink(port, sys() / "class" / "tty" / name / "device");
    }
    [[nodiscard]] std::string latency(const std::string& name) const {
        std::ifstream in(sys() / "bus" / "usb-serial" / "devices" / name / "latency_timer");
        std::string value;
        std::getline(in, value);
        return value;
    }

    [[nodiscard]] SerialOptions automatic() const { return SerialOptions{"", sys(), dev()}; }
    [[nodiscard]] SerialOptions named(const std::string& path) const {
        return SerialOptions{path, sys(), dev()};
    }

private:
    static void write(const fs::path& file, const std::string& text) {
        std::ofstream(file) << text << '\n';
    }
    fs::path m_root;
    static inline int s_count = 0;
};

} // namespace rtw::test
