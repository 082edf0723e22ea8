#pragma once
// A thin layer over the few libftdi1 calls the libftdi backend makes, one object per libftdi
// context. Results are libftdi's own: negative on failure, otherwise what the call returns.
// The backend's logic stays above this line, so tests can replace libftdi here.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace rtw::link {

// libftdi's chip types (its enum ftdi_chip_type).
enum class FtdiChip {
    AM = 0,
    BM = 1,
    FT2232C = 2,
    R = 3,
    FT2232H = 4,
    FT4232H = 5,
    FT232H = 6,
    FT230X = 7
};

// libftdi's flow value for none, which is the chip's own (as are its line values).
inline constexpr int kFtdiFlowDisabled = 0x0000;

struct FtdiUsbStrings {
    bool readable = false; // false when the device could not be asked (no permission)
    std::string description;
    std::string serialNumber;
};

class FtdiContext {
public:
    virtual ~FtdiContext() = default;
    // ftdi_usb_find_all and ftdi_usb_get_strings: the devices with these IDs, in bus order.
    virtual int findAll(int vendorId, int productId, std::vector<FtdiUsbStrings>& devices) = 0;
    // ftdi_usb_open_dev on the index-th device of the last findAll, with the kernel driver
    // detached while open and given back by close (AUTO_DETACH_REATACH_SIO_MODULE).
    virtual int openDevice(std::size_t index) = 0;
    [[nodiscard]] virtual FtdiChip chipType() const = 0;
    // The bounds of one USB transfer (usb_read_timeout, usb_write_timeout). libftdi bounds
    // its control requests (reset, baud rate, line, flow, latency) by the write one too.
    virtual void setUsbTimeouts(int readMs, int writeMs) = 0;
    virtual int usbReset() = 0;
    virtual int setBaudrate(int baudRate) = 0;
    virtual int setLineProperty(int bits, int stopBits, int parity) = 0;
    virtual int setFlowControl(int flowControl) = 0;
    virtual int setFlowControlXonXoff(std::uint8_t xon, std::uint8_t xoff) = 0;
    virtual int setLatencyTimer(std::uint8_t milliseconds) = 0;
    // What one USB transfer brought, possibly nothing: it does not wait for size bytes.
    virtual int readData(std::uint8_t* buffer, int size) = 0;
    virtual int writeData(const std::uint8_t* buffer, int size) = 0;
    virtual int close() = 0;
};

// Makes a fresh context, or null when libftdi cannot start (no USB stack).
using FtdiContextFactory = std::function<std::unique_ptr<FtdiContext>()>;

// The real thing: libftdi1 over libusb.
[[nodiscard]] std::unique_ptr<FtdiContext> makeLibFtdiContext();

} // namespace rtw::link
