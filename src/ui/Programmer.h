#pragma once
// The running programmer: the model, the way to the unit, the shared transfer state and
// the three windows, created in their fixed order and alive until the program ends.
#include "config/DeviceConfig.h"
#include "link/Connection.h"
#include "protocol/Transfers.h"
#include "ui/uMain.h"
#include "ui/uRead.h"
#include "ui/uSend.h"

#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <string>

namespace rtw::ui {

enum class LinkChoice { Automatic, SerialPort, Simulated };

struct ProgrammerOptions {
    LinkChoice link = LinkChoice::Automatic;
    std::string serialPath;      // LinkChoice::SerialPort
    bool pacedSimulation = true; // LinkChoice::Simulated: like a 9600-baud line
    QString fileToOpen;          // opened at start, as Open would
};

// The command line: [--simulate | --port PATH] [FILE.pff]. Nothing on a bad command line;
// the error text says why.
struct ParsedArguments {
    std::optional<ProgrammerOptions> options;
    QString error;
    bool helpShown = false;
};
[[nodiscard]] ParsedArguments parseArguments(const QStringList& arguments);

class Programmer {
public:
    explicit Programmer(const ProgrammerOptions& options);
    // For tests: any backend, the emulated unit included.
    explicit Programmer(std::unique_ptr<ftdi::D2xxApi> backend);
    ~Programmer();
    Programmer(const Programmer&) = delete;
    Programmer& operator=(const Programmer&) = delete;

    // Shows the main window and opens the start file, if any.
    void start(const QString& fileToOpen = {});

    [[nodiscard]] DeviceConfig& config() { return m_config; }
    [[nodiscard]] DeviceLink& link() { return m_link; }
    [[nodiscard]] TransferFlags& flags() { return m_flags; }
    [[nodiscard]] TfMain& fMain() { return *m_main; }
    [[nodiscard]] TfSend& fSend() { return *m_send; }
    [[nodiscard]] TfRead& fRead() { return *m_read; }

private:
    std::unique_ptr<ftdi::D2xxApi> m_backend;
    DeviceConfig m_config;
    DeviceLink m_link;
    TransferFlags m_flags;
    std::unique_ptr<TfMain> m_main;
    std::unique_ptr<TfSend> m_send;
    std::unique_ptr<TfRead> m_read;
};

// Loads Qt's German translations for its own dialogs and menus (once per application).
void useGermanQtTexts();

// The whole program: application object, windows, event loop.
int runProgrammer(int argc, char** argv);

} // namespace rtw::ui
