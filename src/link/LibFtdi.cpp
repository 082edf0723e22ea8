#include "link/LibFtdi.h"

#include "link/ArgumentChecks.h"
#include "link/DeviceText.h"

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

namespace rtw::link {

using ftdi::FT_HANDLE;
using ftdi::FT_STATUS;

struct LibFtdi::Device {
    std::unique_ptr<FtdiContext> context;
    std::uint32_t type = ftdi::FT_DEVICE_UNKNOWN;
    std::string serialNumber;
    std::string description;
    std::uint32_t readTimeoutMs = 0;
};

namespace {

FT_STATUS statusOf(int result) {
    return result < 0 ? ftdi::FT_IO_ERROR : ftdi::FT_OK;
}

// libusb takes 0 as "no limit"; our time-out 0 means "do not wait", so one millisecond.
int usbTimeoutOf(std::uint32_t milliseconds) {
    return static_cast<int>(std::clamp<std::uint32_t>(milliseconds, 1, INT_MAX));
}

int chunkOf(std::uint32_t bytes) {
    return static_cast<int>(std::min<std::uint32_t>(bytes, INT_MAX));
}

} // namespace

std::uint32_t deviceTypeOf(FtdiChip chip) {
    switch (chip) {
    case FtdiChip::AM:
        return ftdi::FT_DEVICE_AM;
    case FtdiChip::BM:
        return ftdi::FT_DEVICE_BM;
    case FtdiChip::FT2232C:
        return ftdi::FT_DEVICE_2232C;
    case FtdiChip::R:
        return ftdi::FT_DEVICE_232R;
    case FtdiChip::FT2232H:
        return ftdi::FT_DEVICE_2232H;
    case FtdiChip::FT4232H:
        return ftdi::FT_DEVICE_4232H;
    case FtdiChip::FT232H:
        return ftdi::FT_DEVICE_232H;
    case FtdiChip::FT230X:
        return ftdi::FT_DEVICE_X_SERIES;
    }
    return ftdi::FT_DEVICE_UNKNOWN;
}

LibFtdi::LibFtdi(FtdiContextFactory makeContext, SteadyClock now)
    : m_makeContext(std::move(makeContext)), m_now(std::move(now)) {}

LibFtdi::~LibFtdi() = default;

FT_STATUS LibFtdi::FT_OpenEx(void* arg, std::uint32_t flags, FT_HANDLE* handle) {
    if (!isOpenRequest(arg, handle) || flags != ftdi::FT_OPEN_BY_DESCRIPTION) {
        return ftdi::FT_INVALID_PARAMETER;
    }
    const std::string wanted(static_cast<const char*>(arg));
    std::unique_ptr<FtdiContext> context = m_makeContext();
    if (!context) {
        return ftdi::FT_DEVICE_NOT_FOUND;
    }
    std::vector<FtdiUsbStrings> found;
    if (context->findAll(ftdi::kFtdiVendorId, ftdi::kFt232rProductId, found) < 0) {
        return ftdi::FT_DEVICE_NOT_FOUND;
    }
    bool sawBusy = false;
    for (std::size_t index = 0; index < found.size(); ++index) {
        if (!found[index].readable || found[index].description != wanted) {
            continue;
        }
        if (context->openDevice(index) < 0) {
            sawBusy = true;
            continue;
        }
        auto device = std::make_unique<Device>();
        device->type = deviceTypeOf(context->chipType());
        device->serialNumber = found[index].serialNumber;
        device->description = found[index].description;
        // libftdi's own USB time-outs stay until FT_SetTimeouts: they also bound the control
        // requests of the reset and the line settings that Connect makes before it.
        device->context = std::move(context);
        *handle = m_devices.add(std::move(device));
        return ftdi::FT_OK;
    }
    return sawBusy ? ftdi::FT_DEVICE_NOT_OPENED : ftdi::FT_DEVICE_NOT_FOUND;
}

FT_STATUS LibFtdi::FT_Close(FT_HANDLE handle) {
    std::unique_ptr<Device> device = m_devices.remove(handle);
    if (!device) {
        return ftdi::FT_INVALID_HANDLE;
    }
    return statusOf(device->context->close());
}

FT_STATUS LibFtdi::FT_GetDeviceInfo(FT_HANDLE handle, std::uint32_t* type, std::uint32_t* id,
                                    char* serialNumber, char* description, void* /*reserved*/) {
    return m_devices.with(handle, [&](const Device& device) {
        writeDeviceInfo(device.type, ftdi::kFt232rDeviceId, device.serialNumber, device.description,
                        type, id, serialNumber, description);
        return ftdi::FT_OK;
    });
}

FT_STATUS LibFtdi::FT_ResetDevice(FT_HANDLE handle) {
    return m_devices.with(handle, [](Device& device) {
        // The library's reset also ends any flow control; the line format stays.
        if (device.context->usbReset() < 0) {
            return ftdi::FT_IO_ERROR;
        }
        return statusOf(device.context->setFlowControl(kFtdiFlowDisabled));
    });
}

FT_STATUS LibFtdi::FT_SetBaudRate(FT_HANDLE handle, std::uint32_t baudRate) {
    return m_devices.with(handle, [baudRate](Device& device) {
        if (baudRate == 0 || baudRate > INT_MAX) {
            return ftdi::FT_INVALID_BAUD_RATE;
        }
        return statusOf(device.context->setBaudrate(static_cast<int>(baudRate)));
    });
}

FT_STATUS LibFtdi::FT_SetDataCharacteristics(FT_HANDLE handle, std::uint8_t wordLength,
                                             std::uint8_t stopBits, std::uint8_t parity) {
    return m_devices.with(handle, [&](Device& device) {
        if (!isLineFormat(wordLength, stopBits, parity)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        // libftdi's numbers for bits, stop bits and parity are the library's own.
        return statusOf(device.context->setLineProperty(wordLength, stopBits, parity));
    });
}

FT_STATUS LibFtdi::FT_SetFlowControl(FT_HANDLE handle, std::uint16_t flowControl, std::uint8_t xon,
                                     std::uint8_t xoff) {
    return m_devices.with(handle, [&](Device& device) {
        switch (flowControl) {
        case ftdi::FT_FLOW_NONE:
        case ftdi::FT_FLOW_RTS_CTS:
        case ftdi::FT_FLOW_DTR_DSR:
            return statusOf(device.context->setFlowControl(flowControl));
        case ftdi::FT_FLOW_XON_XOFF:
            return statusOf(device.context->setFlowControlXonXoff(xon, xoff));
        default:
            return ftdi::FT_INVALID_PARAMETER;
        }
    });
}

FT_STATUS LibFtdi::FT_SetTimeouts(FT_HANDLE handle, std::uint32_t readTimeout,
                                  std::uint32_t writeTimeout) {
    return m_devices.with(handle, [&](Device& device) {
        device.readTimeoutMs = readTimeout;
        device.context->setUsbTimeouts(usbTimeoutOf(readTimeout), usbTimeoutOf(writeTimeout));
        return ftdi::FT_OK;
    });
}

FT_STATUS LibFtdi::FT_Read(FT_HANDLE handle, void* buffer, std::uint32_t bytesToRead,
                           std::uint32_t* bytesReturned) {
    return m_devices.with(handle, [&](Device& device) {
        if (!isTransfer(buffer, bytesToRead, bytesReturned)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        auto* bytes = static_cast<std::uint8_t*>(buffer);
        const auto deadline = m_now() + std::chrono::milliseconds(device.readTimeoutMs);
        std::uint32_t got = 0;
        while (got < bytesToRead) {
            const int result = device.context->readData(bytes + got, chunkOf(bytesToRead - got));
            if (result < 0) {
                *bytesReturned = got;
                return ftdi::FT_IO_ERROR;
            }
            got += static_cast<std::uint32_t>(result);
            if (got < bytesToRead && m_now() >= deadline) {
                break;
            }
        }
        *bytesReturned = got;
        return ftdi::FT_OK;
    });
}

FT_STATUS LibFtdi::FT_Write(FT_HANDLE handle, const void* buffer, std::uint32_t bytesToWrite,
                            std::uint32_t* bytesWritten) {
    return m_devices.with(handle, [&](Device& device) {
        if (!isTransfer(buffer, bytesToWrite, bytesWritten)) {
            return ftdi::FT_INVALID_PARAMETER;
        }
        *bytesWritten = 0;
        if (bytesToWrite == 0) {
            return ftdi::FT_OK;
        }
        const int result = device.context->writeData(static_cast<const std::uint8_t*>(buffer),
                                                     chunkOf(bytesToWrite));
        if (result < 0) {
            return ftdi::FT_IO_ERROR;
        }
        *bytesWritten = static_cast<std::uint32_t>(result);
        return ftdi::FT_OK;
    });
}

FT_STATUS LibFtdi::FT_SetLatencyTimer(FT_HANDLE handle, std::uint8_t milliseconds) {
    return m_devices.with(handle, [milliseconds](Device& device) {
        return statusOf(device.context->setLatencyTimer(milliseconds));
    });
}

} // namespace rtw::link
