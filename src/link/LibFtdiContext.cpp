// The only file that talks to libftdi1 itself.
#include "link/FtdiContext.h"

#include <ftdi.h>

#include <array>

namespace rtw::link {
namespace {

// libftdi's string limits are its callers' buffers; the chip's own are shorter.
constexpr int kUsbStringSize = 128;

class LibFtdiContext final : public FtdiContext {
public:
    explicit LibFtdiContext(ftdi_context* context) : m_context(context) {}
    ~LibFtdiContext() override {
        if (m_open) {
            ftdi_usb_close(m_context);
        }
        releaseList();
        ftdi_free(m_context);
    }
    LibFtdiContext(const LibFtdiContext&) = delete;
    LibFtdiContext& operator=(const LibFtdiContext&) = delete;

    int findAll(int vendorId, int productId, std::vector<FtdiUsbStrings>& devices) override {
        releaseList();
        m_devices.clear();
        devices.clear();
        const int found = ftdi_usb_find_all(m_context, &m_list, vendorId, productId);
        if (found < 0) {
            return found;
        }
        for (ftdi_device_list* entry = m_list; entry != nullptr; entry = entry->next) {
            std::array<char, kUsbStringSize> description{};
            std::array<char, kUsbStringSize> serial{};
            FtdiUsbStrings strings;
            strings.readable =
                ftdi_usb_get_strings(m_context, entry->dev, nullptr, 0, description.data(),
                                     kUsbStringSize, serial.data(), kUsbStringSize) == 0;
            description.back() = '\0';
            serial.back() = '\0';
            if (strings.readable) {
                strings.description = description.data();
                strings.serialNumber = serial.data();
            }
            devices.push_back(strings);
            m_devices.push_back(entry->dev);
        }
        return found;
    }

    int openDevice(std::size_t index) override {
        if (index >= m_devices.size()) {
            return -1;
        }
        m_context->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
        const int result = ftdi_usb_open_dev(m_context, m_devices[index]);
        m_open = result == 0;
        // The opened device keeps its own reference; the list is no longer needed.
        releaseList();
        return result;
    }

    [[nodiscard]] FtdiChip chipType() const override {
        return static_cast<FtdiChip>(m_context->type);
    }

    void setUsbTimeouts(int readMs, int writeMs) override {
        m_context->usb_read_timeout = readMs;
        m_context->usb_write_timeout = writeMs;
    }

    int usbReset() override { return ftdi_usb_reset(m_context); }
    int setBaudrate(int baudRate) override { return ftdi_set_baudrate(m_context, baudRate); }
    int setLineProperty(int bits, int stopBits, int parity) override {
        return ftdi_set_line_property(m_context, static_cast<ftdi_bits_type>(bits),
                                      static_cast<ftdi_stopbits_type>(stopBits),
                                      static_cast<ftdi_parity_type>(parity));
    }
    int setFlowControl(int flowControl) override {
        return ftdi_setflowctrl(m_context, flowControl);
    }
    int setFlowControlXonXoff(std::uint8_t xon, std::uint8_t xoff) override {
        return ftdi_setflowctrl_xonxoff(m_context, xon, xoff);
    }
    int setLatencyTimer(std::uint8_t milliseconds) override {
        return ftdi_set_latency_timer(m_context, milliseconds);
    }
    int readData(std::uint8_t* buffer, int size) override {
        return ftdi_read_data(m_context, buffer, size);
    }
    int writeData(const std::uint8_t* buffer, int size) override {
        return ftdi_write_data(m_context, buffer, size);
    }
    int close() override {
        if (!m_open) {
            return -1;
        }
        m_open = false;
        return ftdi_usb_close(m_context);
    }

private:
    void releaseList() {
        if (m_list != nullptr) {
            ftdi_list_free(&m_list);
            m_list = nullptr;
        }
        m_devices.clear();
    }

    ftdi_context* m_context;
    ftdi_device_list* m_list = nullptr;
    std::vector<libusb_device*> m_devices;
    bool m_open = false;
};

} // namespace

std::unique_ptr<FtdiContext> makeLibFtdiContext() {
    ftdi_context* context = ftdi_new();
    if (context == nullptr) {
        return nullptr;
    }
    return std::make_unique<LibFtdiContext>(context);
}

} // namespace rtw::link
