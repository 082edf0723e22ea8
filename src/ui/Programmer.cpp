#include "ui/Programmer.h"

#include "link/Backends.h"
#include "sim/EmulatedLink.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QStyleFactory>
#include <QTranslator>

#include <cstdio>
#include <cstring>

namespace rtw::ui {

ParsedArguments parseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Edits, saves, sends and reads the configuration of the RTW 53 zem dialer."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption simulate(
        QStringLiteral("simulate"),
        QStringLiteral("Attach an emulated unit, paced like the real 9600-baud line."));
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Reach the unit through this serial device."),
                                  QStringLiteral("PATH"));
    parser.addOption(simulate);
    parser.addOption(port);
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("A settings file (.pff) to open at start."),
                                 QStringLiteral("[FILE]"));

    ParsedArguments result;
    if (!parser.parse(arguments)) {
        result.error = parser.errorText();
        return result;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        result.helpShown = true;
        result.error = parser.helpText();
        return result;
    }
    if (parser.isSet(simulate) && parser.isSet(port)) {
        result.error = QStringLiteral("--simulate and --port exclude each other.");
        return result;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        result.error = QStringLiteral("Only one FILE can be opened at start.");
        return result;
    }
    ProgrammerOptions options;
    if (parser.isSet(simulate)) {
        options.link = LinkChoice::Simulated;
    } else if (parser.isSet(port)) {
        options.link = LinkChoice::SerialPort;
        options.serialPath = QFile::encodeName(parser.value(port)).toStdString();
        if (options.serialPath.empty()) {
            result.error = QStringLiteral("--port needs the path of a serial device.");
            return result;
        }
    }
    if (!files.isEmpty()) {
        options.fileToOpen = files.constFirst();
    }
    result.options = options;
    return result;
}

namespace {

std::unique_ptr<ftdi::D2xxApi> backendFor(const ProgrammerOptions& options) {
    LinkOptions link;
    if (options.link == LinkChoice::SerialPort) {
        link.serialPath = options.serialPath;
    } else if (options.link == LinkChoice::Simulated) {
        const sim::Pacing pacing =
            options.pacedSimulation ? sim::Pacing::Paced : sim::Pacing::Instant;
        link.emulatedUnit = [pacing] { return sim::makeEmulatedLink(pacing); };
    }
    return chooseBackend(link);
}

} // namespace

// The backend lives as long as the program, so a simulated unit keeps its memory: a Read
// gives back what a Send wrote.
Programmer::Programmer(const ProgrammerOptions& options) : Programmer(backendFor(options)) {}

Programmer::Programmer(std::unique_ptr<ftdi::D2xxApi> backend)
    : m_backend(std::move(backend)), m_link(*m_backend) {
    // The main window first, then the two progress dialogs, hidden.
    m_main = std::make_unique<TfMain>(m_config, m_link, m_flags);
    m_send = std::make_unique<TfSend>(m_link, m_flags, *m_main);
    m_read = std::make_unique<TfRead>(m_link, m_flags, *m_main);
    m_main->setProgressDialogs(*m_send, *m_read);
}

Programmer::~Programmer() = default;

void Programmer::start(const QString& fileToOpen) {
    m_main->show();
    if (!fileToOpen.isEmpty()) {
        runCommand(*m_main, [&] { m_main->openSettingsFile(fileToOpen); });
    }
}

namespace {

bool styleRequested(int argc, char** argv) {
    if (qEnvironmentVariableIsSet("QT_STYLE_OVERRIDE")) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-style") == 0 || std::strncmp(argv[i], "-style=", 7) == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

void useGermanQtTexts() {
    // Qt's own dialogs, buttons and edit menus speak German like the window, whatever the
    // user's locale.
    static QTranslator* german = nullptr;
    if (german != nullptr) {
        return;
    }
    german = new QTranslator(QCoreApplication::instance());
    if (german->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(german);
    }
}

int runProgrammer(int argc, char** argv) {
    // Help needs no display: answer it before the window system is asked for one.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-h") == 0 || std::strcmp(argv[i], "--help") == 0) {
            QCoreApplication core(argc, argv);
            QCoreApplication::setApplicationName(QStringLiteral("rtwprog"));
            std::fputs(parseArguments(QCoreApplication::arguments()).error.toLocal8Bit(), stdout);
            return 0;
        }
    }

    const bool ownStyle = !styleRequested(argc, argv);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rtwprog"));
    QApplication::setApplicationVersion(QStringLiteral(RTW_VERSION));
    if (ownStyle) {
        // One look on every desktop: the colours of the window are set against it.
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    }

    // Qt's own dialogs, buttons and edit menus speak German like the window, whatever the
    // user's locale.
    QTranslator qtGerman;
    if (qtGerman.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                      QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtGerman);
    }

    const ParsedArguments parsed = parseArguments(QApplication::arguments());
    if (!parsed.options) {
        std::fputs((parsed.error + QLatin1Char('\n')).toLocal8Bit(),
                   parsed.helpShown ? stdout : stderr);
        return parsed.helpShown ? 0 : 2;
    }

    Programmer programmer(*parsed.options);
    programmer.start(parsed.options->fileToOpen);
    return QApplication::exec();
}

} // namespace rtw::ui
