#include "link/PosixSerial.h"

#include "link/ArgumentChecks.h"
#include "link/DeviceText.h"
#include "link/SerialPort.h"
#include "link/SysfsTty.h"

#include <cerrno>
#include <optional>

namespace rtw::link {
namespace fs = std::filesystem;

using ftdi::FT_HANDLE;
using ftdi::FT_STATUS;

struct PosixSerial::Device {
    std::unique_ptr<SerialPort> port;
    fs::path path; // canonical, so two names of one terminal are seen as one
    std::string ttyName;
    std::uint32_t type = ftdi::FT_DEVICE_UNKNOWN;
    std::uint32_t id = 0;
    std::string serialNumber;
    std::string description;
    std::uint32_t readTimeoutMs = 0;
    std::uint32_t writeTimeoutMs = 0;
};

namespace {

FT_STATUS statusOf(bool done) {
    return done ? ftdi::FT_OK : ftdi::FT_IO_ERROR;
}

std::uint32_t deviceIdOf(const UsbTtyInfo& info) {
    return (std::uint32_t{info.vendorId} << 16) | info.productId;
}

bool isTheUnitsChip(const UsbTtyInfo& info, const std::string& description) {
    return info.vendorId == ftdi::kFtdiVendorId && info.productId == ftdi::kFt232rProductId &&
           info.product == description;
}

} // namespace

PosixSerial::PosixSerial(SerialOptions options) : m_options(std::move(options)) {}

PosixSerial::~PosixSerial() = default;

FT_STATUS PosixSerial::FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    if (!isOpenRequest(arg, handle) || flags != ftdi::FT_OPEN_BY_DESCRIPTION) {
        return ftdi::FT_INVALID_PARAMETER;
    }
    const std::string description(static_cast<const char*>(arg));
    return m_options.devicePath.empty() ? openFound(description, handle)
                                        : openNamed(description, handle);
}

FT_STATUS PosixSerial::openNamed(const std::string& description, FT_HANDLE* handle) {
    std::error_code error;
    const fs::path path = fs::canonical(m_options.devicePath, error);
    if (error) {
        return ftdi::FT_DEVICE_NOT_FOUND;
    }
    auto device = std::make_unique<Device>();
    device->ttyName = ttyNameOfNode(m_options.sysRoot, path).value_or("");
    if (const std::optional<UsbTtyInfo> info = usbInfoOfTty(m_options.sysRoot, device->ttyName)) {
        // A USB adapter tells who it is; one with another description is not the unit's.
        if (info->product != description) {
            return ftdi::FT_DEVICE_NOT_FOUND;
        }
        device->type = deviceTypeOfUsb(*info);
        device->id = deviceIdOf(*info);
        device->serialNumber = info->serialNumber;
        device->description = info->product;
    } else {
        device->type = ftdi::FT_DEVICE_232R;
        device->id = ftdi::kFt232rDeviceId;
        device->description = description;
    }
    return openPath(path, std::move(device), handle);
}

FT_STATUS PosixSerial::openFound(const std::string& description, FT_HANDLE* handle) {
    bool sawBusy = false;
    for (const std::string& name : ttyNamesWithDevice(m_options.sysRoot)) {
        const std::optional<UsbTtyInfo> info = usbInfoOfTty(m_options.sysRoot, name);
        if (!info || !isTheUnitsChip(*info, description)) {
            continue;
        }
        std::error_code error;
        const fs::path path = fs::canonical(m_options.devRoot / name, error);
        if (error) {
            continue;
        }
        auto device = std::make_unique<Device>();
        device->ttyName = name;
        device->type = deviceTypeOfUsb(*info);
        device->id = deviceIdOf(*info);
        device->serialNumber = info->serialNumber;
        device->description = info->product;
        const FT_STATUS status = openPath(path, std::move(device), handle);
        if (status == ftdi::FT_OK) {
            return status;
        }
        sawBusy = true;
    }
    return sawBusy ? ftdi::FT_DEVICE_NOT_OPENED : ftdi::FT_DEVICE_NOT_FOUND;
}

FT_STATUS PosixSerial::openPath(const fs::path& path, std::unique_ptr<Device> device,
                                FT_HANDLE* handle) {
    // The chip opens once, as the library opens it; root would get past the terminal's
    // own exclusive mode.
    if (m_devices.any([&](const Device& open) { return open.path == path; })) {
        return ftdi::FT_DEVICE_NOT_OPENED;
    }
    int errorNumber = 0;
    device->port = SerialPort::open(path.string(), errorNumber);
    if (!device->port) {
        return errorNumber == ENOENT || errorNumber == ENOTTY ? ftdi::FT_DEVICE_NOT_FOUND
                                                              : ftdi::FT_DEVICE_NOT_OPENED;
    }
    device->path = path;
    *handle = m_devices.add(std::move(device));
    return ftdi::FT_OK;
}

FT_STATUS PosixSerial::FT_Close(FT_HANDLE handle) {
    return m_devices.remove(handle) ? ftdi::FT_OK : ftdi::FT_INVALID_HANDLE;
}

FT_STATUS PosixSerial::FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                        char* serialNumber, char* description, void* /*reserved*/) {
    return m_devices.with(handle, [&](const Device& device) {
        writeDeviceInfo(device.type, device.id, device.serialNumber, device.description, type, id,
                        serialNumber, description);
        return ftdi::FT_OK;
    });
}

FT_STATUS PosixSerial::FT_ResetDevice(FT_HANDLE handle) {
    return m_devices.with(handle, [](Device& device) {
        // As the chip's reset: the buffers emptied and flow control off, the line format kept.
        const bool purged = device.port->purge();
        const bool flowOff = device.port->setFlow(LineFlow::None);
        return statusOf(purged && flowOff);
    });
}

FT_STATUS PosixSerial::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) {
    return m_devices.with(handle, [baudRate](Device& device) {
        return device.port->setBaudRate(baudRate) ? ftdi::FT_OK : ftdi::FT_INVALID_BAUD_RATE;
    });
}

FT_STATUS PosixSerial::FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                                 std::uint8_t stopBits, std::uint8_t parity) {
    return m_devices.with(handle, [&](Device& device) {
        if (!isLineFormat(wordLength, stopBits, parity)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        return statusOf(device.port->setDataCharacteristics(
            wordLength, stopBits == ftdi::FT_STOP_BITS_2 ? 2 : 1, parity));
    });
}

FT_STATUS PosixSerial::FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl,
                                         std::uint8_t xon, std::uint8_t xoff) {
    return m_devices.with(handle, [&](Device& device) {
        switch (flowControl) {
        case ftdi::FT_FLOW_NONE:
            return statusOf(device.port->setFlow(LineFlow::None));
        case ftdi::FT_FLOW_RTS_CTS:
            return statusOf(device.port->setFlow(LineFlow::RtsCts));
        case ftdi::FT_FLOW_XON_XOFF:
            return statusOf(device.port->setFlow(LineFlow::XonXoff, xon, xoff));
        case ftdi::FT_FLOW_DTR_DSR:
            return ftdi::FT_NOT_SUPPORTED; // termios has no DTR/DSR handshake
        default:
            return ftdi::FT_INVALID_PARAMETER;
        }
    });
}

FT_STATUS PosixSerial::FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                      std::uint32_t writeTimeout) {
    return m_devices.with(handle, [&](Device& device) {
        device.readTimeoutMs = readTimeout;
        device.writeTimeoutMs = writeTimeout;
        return ftdi::FT_OK;
    });
}

FT_STATUS PosixSerial::FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                               std::uint32_t* bytesReturned) {
    return m_devices.with(handle, [&](Device& device) {
        if (!isTransfer(buffer, bytesToRead, bytesReturned)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        const SerialOutcome outcome = device.port->read(
            static_cast<std::uint8_t*>(buffer), bytesToRead, device.readTimeoutMs, *bytesReturned);
        return statusOf(outcome != SerialOutcome::Failed);
    });
}

FT_STATUS PosixSerial::FT_Write(FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                                std::uint32_t* bytesWritten) {
    return m_devices.with(handle, [&](Device& device) {
        if (!isTransfer(buffer, bytesToWrite, bytesWritten)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        const SerialOutcome outcome =
            device.port->write(static_cast<const std::uint8_t*>(buffer), bytesToWrite,
                               device.writeTimeoutMs, *bytesWritten);
        return statusOf(outcome != SerialOutcome::Failed);
    });
}

FT_STATUS PosixSerial::FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) {
    return m_devices.with(handle, [&](Device& device) {
        if (writeSysfsLatency(m_options.sysRoot, device.ttyName, milliseconds) ||
            device.port->setLowLatency()) {
            return ftdi::FT_OK;
        }
        return ftdi::FT_NOT_SUPPORTED;
    });
}

} // namespace rtw::link
