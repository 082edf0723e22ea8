// The commands behind the buttons: Save and Open through their dialogs, Send and Read
// against the emulated unit with the dialogs' phases, Cancel, the close guard, the error box.
#include "UiTestSupport.h"

#include "protocol/ConfigImage.h"
#include "ui/Gauge.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace rtw;
using namespace rtw::ui;
using namespace rtw::ui::test;

namespace {

// What a progress dialog shows at one moment of a transfer.
struct Phase {
    bool visible = false;
    QString caption;
    QString label;
    bool gauge = false;
    bool cancel = false;
    bool mainEnabled = true;
    bool operator==(const Phase&) const = default;
};

Phase phaseOf(ProgressDialog& dialog, QWidget& main) {
    return {dialog.isVisible(),
            dialog.windowTitle(),
            dialog.Label1->text(),
            dialog.Gauge1->isVisibleTo(&dialog),
            dialog.btnCancel->isVisibleTo(&dialog),
            main.isEnabled()};
}

// The distinct phases a dialog goes through while the transfer lets events run.
struct PhaseRecorder {
    PhaseRecorder(ProgressDialog& dialog, QWidget& main)
        : pass([this, &dialog, &main] {
              const Phase now = phaseOf(dialog, main);
              if (now.visible && (phases.empty() || !(phases.back() == now))) {
                  phases.push_back(now);
              }
              return false;
          }) {}
    std::vector<Phase> phases;
    OnEveryPass pass;
};

QString u(const char* utf8) {
    return QString::fromUtf8(utf8);
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { m_window = std::make_unique<Window>(); }
    void cleanup() { m_window.reset(); }

    void saveThenOpenGivesEveryFieldBack();
    void cancellingEitherDialogChangesNothing();
    void saveFailureShowsTheErrorBox();
    void sendThenReadThroughTheDialogs();
    void cancelWhileWaitingForTheGreetingEnablesTheWindow();
    void closeIsRefusedWhileConnected();
    void gaugeClampsAndShowsTheWholePercentage_data();
    void gaugeClampsAndShowsTheWholePercentage();
    void errorTextEndsWithAFullStop_data();
    void errorTextEndsWithAFullStop();
    void commandLine_data();
    void commandLine();

private:
    std::unique_ptr<Window> m_window;
};

void CommandsTest::saveThenOpenGivesEveryFieldBack() {
    Window& w = *m_window;
    QTemporaryDir dir;
    const QString typed = dir.filePath(QStringLiteral("anlage"));
    const QString saved = typed + QStringLiteral(".pff");
    fillFullConfiguration(w.config());
    const DeviceConfig full(w.config());

    BoxAnswerer boxes;
    answerNextFileDialog(typed);
    w.main().btnSave->click();
    QVERIFY(QFile::exists(saved)); // the default extension was added

    w.main().btnClear->click();
    QVERIFY(w.config().sameValues(DeviceConfig()));

    answerNextFileDialog(typed);
    w.main().btnOpen->click();
    QVERIFY(w.config().sameValues(full));
    QCOMPARE(w.control<QLineEdit>("editPOV2_64")->text(),
             QString::fromLatin1(full.text("editPOV2_64")));
    QVERIFY(boxes.seen.empty());

    // Save again: the dialog offers the last name, and replacing the file is asked first.
    w.config().setText("MemoDTMFZAP1", "123");
    QString offered;
    answerNextFileDialog(saved, &offered);
    w.main().btnSave->click();
    QCOMPARE(QFileInfo(offered).fileName(), QStringLiteral("anlage.pff"));
    QCOMPARE(boxes.seen.size(), std::size_t{1});
    QVERIFY(boxes.seen.front().text.contains(QStringLiteral("anlage.pff")));

    // A file named at start opens as Open would.
    w.main().btnClear->click();
    w.programmer->start(saved);
    QCOMPARE(w.config().text("MemoDTMFZAP1"), std::string("123"));
    QCOMPARE(w.config().text("spinKREDIT"), full.text("spinKREDIT"));
    QVERIFY(w.config().isNC(1));
}

void CommandsTest::cancellingEitherDialogChangesNothing() {
    Window& w = *m_window;
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("anlage.pff"));
    fillFullConfiguration(w.config());
    const DeviceConfig before(w.config());
    BoxAnswerer boxes;

    cancelNextFileDialog(name);
    w.main().btnSave->click();
    QVERIFY(!QFile::exists(name));

    cancelNextFileDialog(name); // a missing file would empty every field if it were opened
    w.main().btnOpen->click();
    QVERIFY(w.config().sameValues(before));
    QVERIFY(boxes.seen.empty());
    QVERIFY(QDir(dir.path()).isEmpty());
}

void CommandsTest::saveFailureShowsTheErrorBox() {
    Window& w = *m_window;
    QTemporaryDir dir;
    QFile plain(dir.filePath(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString impossible = dir.filePath(QStringLiteral("plain/x.pff")); // under a file

    BoxAnswerer boxes;
    answerNextFileDialog(impossible);
    w.main().btnSave->click();
    QCOMPARE(boxes.seen.size(), std::size_t{1});
    QCOMPARE(boxes.seen.front().icon, QMessageBox::Critical);
    QCOMPARE(boxes.seen.front().text, QStringLiteral("Unable to write to ") + impossible + ".");
    QVERIFY(w.main().isEnabled()); // the program goes on
}

void CommandsTest::sendThenReadThroughTheDialogs() {
    Window& w = *m_window;
    fillFullConfiguration(w.config());
    const DeviceConfig sent(w.config());
    BoxAnswerer boxes;
    {
        PhaseRecorder send(w.programmer->fSend(), w.main());
        w.main().btnSend->click();
        const std::vector<Phase> expected = {
            {true, u("Sende Daten"), u("Enwarte ich Antwort..."), false, true, false},
            {true, u("Sende Daten"), u("Sende Daten.Bitte warten..."), true, false, false}};
        QCOMPARE(send.phases, expected);
        QCOMPARE(w.programmer->fSend().Gauge1->progress(), Gauge::kMaximum); // full at the end
    }
    QVERIFY(boxes.seen.empty());
    QVERIFY(!w.programmer->fSend().isVisible());
    QVERIFY(w.main().isEnabled());
    QVERIFY(!w.programmer->link().connected);
    QVERIFY(!w.backend->isOpen());
    ConfigImage expectedMemory;
    for (const ImageBlock& block : EncodeImage(sent)) {
        expectedMemory.store(block);
    }
    QVERIFY(w.unit.image().memory() == expectedMemory.memory());
    QVERIFY(w.unit.clock().has_value());

    w.main().btnClear->click();
    {
        PhaseRecorder read(w.programmer->fRead(), w.main());
        w.main().btnRead->click();
        const std::vector<Phase> expected = {
            {true, u("Laden Daten"), u("Enwarte ich Antwort..."), false, true, false},
            {true, u("Laden Daten"), u("Laden Daten.Bitte warten..."), true, false, false}};
        QCOMPARE(read.phases, expected);
        QCOMPARE(w.programmer->fRead().Gauge1->progress(), Gauge::kMaximum);
    }
    QVERIFY(boxes.seen.empty());
    QVERIFY(!w.programmer->fRead().isVisible());
    QVERIFY(w.main().isEnabled());
    QVERIFY(w.config().sameValues(sent));
    QCOMPARE(w.control<QLineEdit>("editTCZSSMS_8")->text(),
             QString::fromLatin1(sent.text("editTCZSSMS_8")));
}

void CommandsTest::cancelWhileWaitingForTheGreetingEnablesTheWindow() {
    Window& w = *m_window;
    w.unit.faults().noGreeting = true;
    TfSend& dialog = w.programmer->fSend();
    bool mainWasDisabled = false;
    OnEveryPass cancel([&] {
        if (!dialog.isVisible() || !dialog.btnCancel->isVisible()) {
            return false;
        }
        mainWasDisabled = !w.main().isEnabled();
        QTest::mouseClick(dialog.btnCancel, Qt::LeftButton);
        return true;
    });
    BoxAnswerer boxes;
    w.main().btnSend->click();

    QVERIFY(mainWasDisabled);
    QVERIFY(!dialog.isVisible());
    QVERIFY(w.main().isEnabled());
    QVERIFY(!w.main().Timer1->isActive());
    QVERIFY(!w.programmer->link().connected);
    QVERIFY(w.programmer->link().devicePort == nullptr);
    QVERIFY(!w.backend->isOpen());
    QCOMPARE(boxes.seen.size(), std::size_t{1});
    QCOMPARE(boxes.seen.front().icon, QMessageBox::NoIcon);
    QCOMPARE(boxes.seen.front().text, u("Falsche USB-Gerät !"));

    auto* entry = w.control("editTCV1_1");
    QTest::mouseClick(entry, Qt::LeftButton);
    QTest::keyClicks(entry, QStringLiteral("12"));
    QCOMPARE(w.config().text("editTCV1_1"), std::string("12"));
}

void CommandsTest::closeIsRefusedWhileConnected() {
    Window& w = *m_window;
    TfSend& dialog = w.programmer->fSend();
    const Qt::WindowFlags flags = dialog.windowFlags();
    QVERIFY(!flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowSystemMenuHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinMaxButtonsHint));

    int refused = 0;
    bool mainClosed = false;
    OnEveryPass closeNow([&] {
        if (!dialog.isVisible()) {
            return false;
        }
        dialog.close();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        refused += dialog.isVisible() ? 1 : 0;
        mainClosed = mainClosed || w.main().close(); // disabled, it cannot be closed either
        return dialog.Gauge1->isVisible();
    });
    w.main().btnSend->click();
    QVERIFY(refused >= 2); // while waiting for the unit and while blocks moved
    QVERIFY(!mainClosed);
    QVERIFY(w.main().isVisible());
    QVERIFY(!dialog.isVisible());

    dialog.show(); // with no connection the close request is granted
    QVERIFY(dialog.close());
    QVERIFY(!dialog.isVisible());
}

void CommandsTest::gaugeClampsAndShowsTheWholePercentage_data() {
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("kept");
    QTest::addColumn<int>("percent");
    QTest::newRow("clock block address") << 32896 << 4080 << 100;
    QTest::newRow("half") << 2040 << 2040 << 50;
    QTest::newRow("just below full") << 4079 << 4079 << 99;
    QTest::newRow("below the range") << -16 << 0 << 0;
}

void CommandsTest::gaugeClampsAndShowsTheWholePercentage() {
    QFETCH(int, value);
    QFETCH(int, kept);
    QFETCH(int, percent);
    TfRead& dialog = m_window->programmer->fRead();
    dialog.setGaugeValue(value);
    QCOMPARE(dialog.Gauge1->progress(), kept);
    QCOMPARE(dialog.Gauge1->percentDone(), percent);
}

void CommandsTest::errorTextEndsWithAFullStop_data() {
    QTest::addColumn<QByteArray>("message");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter") << QByteArray("tftdichip.closeDevice: Not open")
                            << "tftdichip.closeDevice: Not open.";
    QTest::newRow("full stop") << QByteArray("Done.") << "Done.";
    QTest::newRow("blank and mark")
        << QByteArray("Falsche USB-Ger\xE4t !") << u("Falsche USB-Gerät !");
    QTest::newRow("umlaut last") << QByteArray("Ger\xE4") << u("Gerä.");
    QTest::newRow("empty") << QByteArray() << QString();
}

void CommandsTest::errorTextEndsWithAFullStop() {
    QFETCH(QByteArray, message);
    QFETCH(QString, shown);
    QCOMPARE(errorBoxText(std::string_view(message.constData(), message.size())), shown);
}

void CommandsTest::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<int>("link");
    QTest::addColumn<QString>("file");
    const int automatic = static_cast<int>(LinkChoice::Automatic);
    const int port = static_cast<int>(LinkChoice::SerialPort);
    const int simulated = static_cast<int>(LinkChoice::Simulated);
    QTest::newRow("nothing") << QStringList{"rtwprog"} << true << automatic << "";
    QTest::newRow("simulate") << QStringList{"rtwprog", "--simulate"} << true << simulated << "";
    QTest::newRow("port and file")
        << QStringList{"rtwprog", "a.pff", "--port", "/dev/ttyUSB0"} << true << port << "a.pff";
    QTest::newRow("both links") << QStringList{"rtwprog", "--simulate", "--port", "x"} << false << 0
                                << "";
    QTest::newRow("two files") << QStringList{"rtwprog", "a.pff", "b.pff"} << false << 0 << "";
    QTest::newRow("unknown") << QStringList{"rtwprog", "--fast"} << false << 0 << "";
}

void CommandsTest::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, accepted);
    QFETCH(int, link);
    QFETCH(QString, file);
    const ParsedArguments parsed = parseArguments(arguments);
    QCOMPARE(parsed.options.has_value(), accepted);
    if (accepted) {
        QCOMPARE(static_cast<int>(parsed.options->link), link);
        QCOMPARE(parsed.options->fileToOpen, file);
    } else {
        QVERIFY(!parsed.error.isEmpty());
    }
}

QTEST_MAIN(CommandsTest)
#include "CommandsTest.moc"
