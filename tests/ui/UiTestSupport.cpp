#include "UiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>

#include <string>

namespace rtw::ui::test {

Window::Window() {
    useGermanQtTexts();
    auto emulated = std::make_unique<sim::EmulatedBackend>(unit, clock, sim::Pacing::Instant);
    backend = emulated.get();
    programmer = std::make_unique<Programmer>(std::move(emulated));
    programmer->start();
    main().activateWindow();
    (void)QTest::qWaitForWindowActive(&main());
}

void fillFullConfiguration(DeviceConfig& config) {
    int serial = 0;
    for (const FieldInfo& f : allFields()) {
        switch (f.kind) {
        case FieldKind::PhoneEntry:
        case FieldKind::DtmfCode: {
            std::string number = "+" + std::to_string(4900000000000 + ++serial);
            config.setText(f.id, number.substr(0, 14));
            break;
        }
        case FieldKind::SmsText: {
            std::string text = f.name + " Gr\xFC\xDF"
                                        "e ";
            while (text.size() < 127) {
                text += static_cast<char>('a' + text.size() % 26);
            }
            config.setText(f.id, text);
            break;
        }
        case FieldKind::Number:
            config.setText(f.id, std::to_string(f.maximum - 1));
            break;
        case FieldKind::Choice:
            break;
        }
    }
    config.setSelected("rbVST1_2", true);
}

QColor shownBackground(QWidget& widget) {
    const QImage image = widget.grab().toImage();
    return image.pixelColor(image.width() - 5, image.height() / 2);
}

QString owningControlName(QWidget* focus) {
    for (QWidget* w = focus; w != nullptr; w = w->parentWidget()) {
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_"))) {
            return w->objectName();
        }
    }
    return {};
}

BoxAnswerer::BoxAnswerer() {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) {
                continue;
            }
            seen.push_back({box->icon(), box->text()});
            QAbstractButton* yes = box->button(QMessageBox::Yes);
            QAbstractButton* ok = box->button(QMessageBox::Ok);
            (yes != nullptr ? yes : ok)->click();
        }
    });
    m_timer.start();
}

OnEveryPass::OnEveryPass(std::function<bool()> act) {
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, [this, act = std::move(act)] {
        if (act()) {
            m_timer.stop();
        }
    });
    m_timer.start();
}

namespace {

// Runs `act` on the next file dialog once it has come up.
void onNextFileDialog(std::function<void(QFileDialog&)> act) {
    auto* timer = new QTimer;
    timer->setInterval(0);
    QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(*dialog);
    });
    timer->start();
}

} // namespace

void answerNextFileDialog(const QString& typedName, QString* shownName) {
    onNextFileDialog([typedName, shownName](QFileDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (shownName != nullptr) {
            *shownName = edit->text();
        }
        edit->setText(typedName);
        static_cast<QDialog&>(dialog).accept(); // as the dialog's own button does
    });
}

void cancelNextFileDialog(const QString& typedName) {
    onNextFileDialog([typedName](QFileDialog& dialog) {
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(typedName);
        dialog.reject();
    });
}

} // namespace rtw::ui::test
