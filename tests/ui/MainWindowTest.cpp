// The main window as the user meets it: typing through the filters, the fill rule's colours
// and enabled states, the number fields, Clear by its access key, the focus order, hints.
#include "UiTestSupport.h"

#include "config/FieldTable.h"
#include "ui/KeyTyping.h"
#include "ui/Palette.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

using namespace rtw;
using namespace rtw::ui;
using namespace rtw::ui::test;

namespace {

int g_beeps = 0;
void countBeep() {
    ++g_beeps;
}

QString shownText(QWidget* w) {
    if (auto* line = qobject_cast<QLineEdit*>(w)) {
        return line->text();
    }
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
        return memo->toPlainText();
    }
    return qobject_cast<QAbstractSpinBox*>(w)->text();
}

// QTest types ASCII only; other characters arrive as a keyboard with that key would send them.
void typeText(QWidget* widget, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClicks(widget, QString(c));
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, static_cast<Qt::Key>(c.toUpper().unicode()),
                                QString(c), Qt::NoModifier);
        }
    }
}

void clickSpinButton(QAbstractSpinBox* spin, QStyle::SubControl button) {
    QStyleOptionSpinBox option;
    option.initFrom(spin);
    option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
    option.buttonSymbols = spin->buttonSymbols();
    option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
    option.frame = spin->hasFrame();
    const QRect r = spin->style()->subControlRect(QStyle::CC_SpinBox, &option, button, spin);
    QTest::mouseClick(spin, Qt::LeftButton, {}, r.center());
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() {
        m_window = std::make_unique<Window>();
        g_beeps = 0;
        setRefusedKeySound(countBeep);
    }
    void cleanup() {
        setRefusedKeySound(nullptr);
        m_window.reset();
    }

    void startsWithTheDefaults();
    void typingPassesTheFilters_data();
    void typingPassesTheFilters();
    void pasteIsNotFilteredButCtrlKeysAreInSmsTexts();
    void smsEditMenuOffersNoRefusedShortcut();
    void groupsShowTheirColourInsideTheirFrames_data();
    void groupsShowTheirColourInsideTheirFrames();
    void entriesFollowTheFillRuleWithTheirColours();
    void clickIntoGreyEntryDoesNothing();
    void tabReachesTheNewlyEnabledEntry();
    void numberFieldsClampWhenLeft_data();
    void numberFieldsClampWhenLeft();
    void numberFieldsStepWithClamping();
    void contactChoicesAreCoupledButMayBothBeClear();
    void altCClearsEverything();
    void focusOrderRunsRightToLeftThenButtons();
    void hintsComeFromTheNearestControlThatHasOne_data();
    void hintsComeFromTheNearestControlThatHasOne();

private:
    std::unique_ptr<Window> m_window;
};

void MainWindowTest::startsWithTheDefaults() {
    Window& w = *m_window;
    QCOMPARE(w.main().windowTitle(), QStringLiteral("Programmer für RTW 53  zem - USB"));
    QVERIFY(w.config().sameValues(DeviceConfig()));
    QVERIFY(w.main().isVisible());
    QVERIFY(!w.programmer->fSend().isVisible());
    QVERIFY(!w.programmer->fRead().isVisible());
    QCOMPARE(w.main().PageControl1->currentWidget()->objectName(), QStringLiteral("TabSheet1"));
    QCOMPARE(w.main().PageControl6->currentWidget()->objectName(), QStringLiteral("TabSheet3"));
    QCOMPARE(w.main().PageControl4->currentWidget()->objectName(), QStringLiteral("TabSheet9"));
    QCOMPARE(shownText(w.control("spinDELAY2")), QStringLiteral("1"));
    QCOMPARE(shownText(w.control("SpinCASRELE1")), QStringLiteral("0"));
    QVERIFY(w.control<QRadioButton>("rbVST1_1")->isChecked());
    QVERIFY(!w.control<QRadioButton>("rbVST1_2")->isChecked());
    for (const char* hidden : {"MemoDTMFZAP1", "MemoDTMFVYP2", "spinKREDIT"}) {
        QVERIFY2(!w.control(hidden)->isVisible(), hidden);
    }
}

void MainWindowTest::typingPassesTheFilters_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("blank dropped") << "editTCV1_1"
                                   << "+1 23"
                                   << "+123";
    QTest::newRow("signs and letters dropped") << "editPOV1_1"
                                               << "0a-*#(9x"
                                               << "09";
    QTest::newRow("phone limit") << "editPZS1_1"
                                 << "1234567890123456"
                                 << "12345678901234";
    QTest::newRow("umlaut dropped in SMS") << "memoSMSV1"
                                           << "ä"
                                           << "";
    QTest::newRow("SMS keeps printable") << "memoSMSZAP1"
                                         << "Tor 1 auf!"
                                         << "Tor 1 auf!";
    QTest::newRow("SMS limit") << "memoSMSVYP1" << QString(130, QLatin1Char('x'))
                               << QString(127, QLatin1Char('x'));
}

void MainWindowTest::typingPassesTheFilters() {
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    Window& w = *m_window;
    QWidget* control = w.control(field.toStdString());
    control->setFocus();
    typeText(control, typed);
    QTest::keyClick(control, Qt::Key_Return); // types nothing anywhere here
    QCOMPARE(shownText(control), shown);
    QCOMPARE(QString::fromStdString(w.config().text(field.toStdString())), shown.toLatin1());
}

void MainWindowTest::smsEditMenuOffersNoRefusedShortcut() {
    QWidget* memo = m_window->control<QPlainTextEdit>("memoSMSV1")->viewport();
    const QPoint at = memo->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, memo->mapToGlobal(at));
    QApplication::sendEvent(memo, &event);
    QMenu* menu = nullptr;
    QTRY_VERIFY((menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr);
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << action->text();
    }
    menu->close();
    QVERIFY2(texts.contains(QStringLiteral("Einf&ügen")), qPrintable(texts.join(u'|')));
    QVERIFY2(texts.contains(QStringLiteral("&Kopieren\tStrg+C")), qPrintable(texts.join(u'|')));
}

void MainWindowTest::pasteIsNotFilteredButCtrlKeysAreInSmsTexts() {
    Window& w = *m_window;
    QApplication::clipboard()->setText(QStringLiteral("+49 Ł1"));
    auto* entry = w.control("editTCV1_1");
    entry->setFocus();
    QTest::keyClick(entry, Qt::Key_V, Qt::ControlModifier);
    // Unfiltered; the letter CP1252 lacks becomes '?'.
    QCOMPARE(w.config().text("editTCV1_1"), std::string("+49 ?1"));
    QCOMPARE(shownText(entry), QStringLiteral("+49 ?1"));

    auto* sms = w.control("memoSMSV1");
    sms->setFocus();
    QTest::keyClicks(sms, QStringLiteral("ab"));
    QTest::keyClick(sms, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(sms, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(sms, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(w.config().text("memoSMSV1"), std::string("ab"));
}

void MainWindowTest::groupsShowTheirColourInsideTheirFrames_data() {
    QTest::addColumn<QString>("group");
    QTest::addColumn<QPoint>("inside"); // inside the frame, clear of every control
    QTest::addColumn<QColor>("colour");
    QTest::newRow("left") << "GroupBox1" << QPoint(3, 300) << QColor(255, 225, 230);
    QTest::newRow("status") << "GroupBox4" << QPoint(168, 150) << QColor(255, 255, 223);
    QTest::newRow("output SMS") << "GroupBox5" << QPoint(3, 100) << QColor(223, 223, 255);
    QTest::newRow("output numbers") << "GroupBox6" << QPoint(2, 300) << QColor(223, 223, 255);
}

void MainWindowTest::groupsShowTheirColourInsideTheirFrames() {
    QFETCH(QString, group);
    QFETCH(QPoint, inside);
    QFETCH(QColor, colour);
    QWidget* box = m_window->main().findChild<QWidget*>(group);
    QVERIFY(box != nullptr);
    QCOMPARE(box->grab().toImage().pixelColor(inside), colour);
}

void MainWindowTest::entriesFollowTheFillRuleWithTheirColours() {
    Window& w = *m_window;
    auto entry = [&](int k) { return w.control<QLineEdit>("editTCZSSMS_" + std::to_string(k)); };
    const auto expectState = [&](int k, bool enabled, const QString& text) {
        const QByteArray what = "entry " + QByteArray::number(k);
        QVERIFY2(entry(k)->isEnabled() == enabled, what);
        QCOMPARE(entry(k)->text(), text);
        QCOMPARE(shownBackground(*entry(k)), enabled ? clWindow() : clBtnFace());
    };
    expectState(1, true, {});
    expectState(2, false, {});

    for (int k = 1; k <= 3; ++k) {
        entry(k)->setFocus();
        QTest::keyClicks(entry(k), QString::number(k));
    }
    expectState(3, true, QStringLiteral("3"));
    expectState(4, true, {});
    expectState(5, false, {});

    entry(1)->setFocus();
    QTest::keyClick(entry(1), Qt::Key_End);
    QTest::keyClick(entry(1), Qt::Key_Backspace);
    expectState(1, true, {});
    for (int k = 2; k <= 8; ++k) {
        expectState(k, false, {});
    }
}

void MainWindowTest::clickIntoGreyEntryDoesNothing() {
    Window& w = *m_window;
    auto* first = w.control<QLineEdit>("editTCZSSMS_1");
    auto* grey = w.control<QLineEdit>("editTCZSSMS_3");
    QTest::mouseClick(first, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), first);
    QTest::mouseClick(grey, Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), first);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("5"));
    QTest::keyClicks(grey, QStringLiteral("7"));
    QCOMPARE(first->text(), QStringLiteral("5"));
    QCOMPARE(grey->text(), QString());
    QVERIFY(w.config().text("editTCZSSMS_3").empty());
}

void MainWindowTest::tabReachesTheNewlyEnabledEntry() {
    Window& w = *m_window;
    auto* first = w.control("editTCZSSMS_1");
    first->setFocus();
    QTest::keyClick(first, Qt::Key_Tab);
    QCOMPARE(owningControlName(QApplication::focusWidget()), QStringLiteral("spinINTERVAL"));

    first->setFocus();
    QTest::keyClicks(first, QStringLiteral("0"));
    QTest::keyClick(first, Qt::Key_Tab);
    QCOMPARE(owningControlName(QApplication::focusWidget()), QStringLiteral("editTCZSSMS_2"));
}

void MainWindowTest::numberFieldsClampWhenLeft_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");  // as Open would leave it; empty: keep the default
    QTest::addColumn<QString>("typed");   // replaces the whole text; empty: type nothing
    QTest::addColumn<QString>("whileIn"); // shown before leaving
    QTest::addColumn<QString>("left");    // shown after leaving
    QTest::addColumn<int>("beeps");
    QTest::newRow("below") << "spinDELAY1"
                           << ""
                           << "0"
                           << "0"
                           << "1" << 0;
    QTest::newRow("above") << "spinINTERVAL"
                           << ""
                           << "999"
                           << "999"
                           << "180" << 0;
    QTest::newRow("two digits") << "spinCAS"
                                << ""
                                << "245"
                                << "24"
                                << "23" << 0;
    QTest::newRow("as typed") << "SpinCASRELE1"
                              << ""
                              << "007"
                              << "007"
                              << "007" << 0;
    QTest::newRow("letter beeps") << "spinINTERVAL"
                                  << ""
                                  << "1x2"
                                  << "12"
                                  << "12" << 1;
    QTest::newRow("enter beeps") << "spinINTERVAL"
                                 << ""
                                 << "\r"
                                 << ""
                                 << "" << 1;
    QTest::newRow("opened out of range") << "spinDELAY1"
                                         << "400"
                                         << ""
                                         << "400"
                                         << "255" << 0;
}

void MainWindowTest::numberFieldsClampWhenLeft() {
    QFETCH(QString, field);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, whileIn);
    QFETCH(QString, left);
    QFETCH(int, beeps);
    Window& w = *m_window;
    if (!before.isEmpty()) {
        w.config().setText(field.toStdString(), before.toStdString());
    }
    auto* spin = w.control<QAbstractSpinBox>(field.toStdString());
    QTest::mouseClick(spin, Qt::LeftButton);
    if (!typed.isEmpty()) {
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        for (QChar c : typed) {
            if (c == QLatin1Char('\r')) {
                QTest::keyClick(spin, Qt::Key_Return);
            } else {
                QTest::keyClicks(spin, QString(c));
            }
        }
    }
    QCOMPARE(spin->text(), whileIn);
    QTest::mouseClick(w.control("editTCZSSMS_1"), Qt::LeftButton);
    QCOMPARE(spin->text(), left);
    QCOMPARE(QString::fromStdString(w.config().text(field.toStdString())), left);
    QCOMPARE(g_beeps, beeps);
}

void MainWindowTest::numberFieldsStepWithClamping() {
    Window& w = *m_window;
    const auto step = [&](const char* field, const char* start, Qt::Key key, int times) {
        w.config().setText(field, start);
        auto* spin = w.control<QAbstractSpinBox>(field);
        spin->setFocus();
        for (int i = 0; i < times; ++i) {
            QTest::keyClick(spin, key);
        }
        return spin->text();
    };
    QCOMPARE(step("SpinCASRELE1", "255", Qt::Key_Up, 1), QStringLiteral("255"));
    QCOMPARE(step("spinDELAY2", "1", Qt::Key_Down, 1), QStringLiteral("1"));
    QCOMPARE(step("spinCAS", "", Qt::Key_Up, 1), QStringLiteral("1"));
    QCOMPARE(step("spinINTERVAL", "x", Qt::Key_Down, 1), QStringLiteral("0"));
    QCOMPARE(step("spinDELAY1", "007", Qt::Key_Up, 2), QStringLiteral("9"));

    auto* interval = w.control<QAbstractSpinBox>("spinINTERVAL");
    w.config().setText("spinINTERVAL", "180");
    clickSpinButton(interval, QStyle::SC_SpinBoxUp);
    QCOMPARE(interval->text(), QStringLiteral("180"));
    clickSpinButton(interval, QStyle::SC_SpinBoxDown);
    QCOMPARE(interval->text(), QStringLiteral("179"));
    QCOMPARE(w.config().text("spinINTERVAL"), std::string("179"));
}

void MainWindowTest::contactChoicesAreCoupledButMayBothBeClear() {
    Window& w = *m_window;
    auto* no = w.control<QRadioButton>("rbVST2_1");
    auto* nc = w.control<QRadioButton>("rbVST2_2");
    w.main().PageControl1->setCurrentIndex(1);
    const QPoint onCaption(8, nc->height() / 2);
    QTest::mouseClick(nc, Qt::LeftButton, {}, onCaption);
    QVERIFY(nc->isChecked() && !no->isChecked());
    QVERIFY(w.config().isNC(2));
    QTest::mouseClick(nc, Qt::LeftButton, {}, onCaption); // a click never clears a choice
    QVERIFY(nc->isChecked());
    QVERIFY(w.config().isNC(2));

    w.config().setSelected("rbVST2_2", false); // as Open of a file without the choices
    QVERIFY(!nc->isChecked() && !no->isChecked());
    QVERIFY(!w.config().isNC(2));
    QTest::mouseClick(no, Qt::LeftButton, {}, onCaption);
    QVERIFY(no->isChecked() && !nc->isChecked());
    QVERIFY(w.config().isSelected("rbVST2_1"));
}

void MainWindowTest::altCClearsEverything() {
    Window& w = *m_window;
    fillFullConfiguration(w.config());
    QVERIFY(w.control<QLineEdit>("editPOV2_64")->isEnabled());
    QCOMPARE(shownText(w.control("MemoDTMFVYP2")).size(), 14);

    w.control("editPOV1_5")->setFocus();
    QTest::keyClick(&w.main(), Qt::Key_C, Qt::AltModifier);
    QTRY_VERIFY(w.config().sameValues(DeviceConfig()));
    QVERIFY(QApplication::activeModalWidget() == nullptr); // it asks nothing

    for (const FieldInfo& f : allFields()) {
        QWidget* control = w.control(f.name);
        if (f.kind == FieldKind::Choice) {
            QCOMPARE(qobject_cast<QRadioButton*>(control)->isChecked(), f.defaultSelected);
        } else {
            QCOMPARE(shownText(control), QString::fromStdString(f.defaultText));
        }
        if (f.list) {
            QCOMPARE(control->isEnabled(), f.entry == 1);
        }
    }
}

void MainWindowTest::focusOrderRunsRightToLeftThenButtons() {
    Window& w = *m_window;
    const QStringList expected = {"PageControl4", "editPOV1_1",   "PageControl6",  "memoSMSZAP1",
                                  "memoSMSVYP1",  "SpinCASRELE1", "editTCZSSMS_1", "spinINTERVAL",
                                  "spinCAS",      "PageControl1", "editTCV1_1",    "memoSMSV1",
                                  "memoSMSNV1",   "editPZS1_1",   "rbVST1_1",      "rbVST1_2",
                                  "spinDELAY1",   "btnClear",     "btnSave",       "btnOpen",
                                  "btnSend",      "btnRead",      "PageControl4"};
    w.main().PageControl4->tabBar()->setFocus();
    QStringList visited = {owningControlName(QApplication::focusWidget())};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << owningControlName(QApplication::focusWidget());
    }
    QCOMPARE(visited, expected);
}

void MainWindowTest::hintsComeFromTheNearestControlThatHasOne_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("hint"); // empty: none is shown
    QTest::newRow("reception entry") << "editPOV1_1"
                                     << "Telefon Nummern für 1.Ausgang Empfang-Fernsteuerung";
    QTest::newRow("status entry") << "editTCZSSMS_1"
                                  << "Text Nachricht mit Status-Meldungen an folgende Nummern";
    QTest::newRow("radio button") << "rbVST1_1"
                                  << "Tel. Nr. für SMS-Versand";
    QTest::newRow("own hint") << "editTCV1_1"
                              << "Telefon Nummer an welche Info bei Statusänderung der "
                                 "Eingänge versendet wird";
    QTest::newRow("disabled entry") << "editTCV1_2"
                                    << "Telefon Nummer an welche Info bei Statusänderung der "
                                       "Eingänge versendet wird";
    QTest::newRow("number field") << "spinCAS"
                                  << "Zeit, wann eine autom. Status-SMS versendet wird";
    QTest::newRow("save") << "btnSave"
                          << "Speichert die derzeitige Konfiguration auf der Festplatte (Alt+S)";
    QTest::newRow("clear") << "btnClear"
                           << "";
    QTest::newRow("read") << "btnRead"
                          << "";
}

void MainWindowTest::hintsComeFromTheNearestControlThatHasOne() {
    QFETCH(QString, control);
    QFETCH(QString, hint);
    Window& w = *m_window;
    QWidget* target = w.main().findChild<QWidget*>(control);
    QVERIFY(target != nullptr);
    const QPoint at = target->rect().center();
    QHelpEvent event(QEvent::ToolTip, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
    QCOMPARE(event.isAccepted(), !hint.isEmpty());
    if (!hint.isEmpty()) {
        QCOMPARE(QToolTip::text(), hint);
    }
}

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
