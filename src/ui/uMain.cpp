#include "ui/uMain.h"

#include "config/Clear.h"
#include "settings/SettingsFile.h"
#include "ui/FieldControl.h"
#include "ui/ProgressDialog.h"
#include "ui/QtText.h"
#include "ui/WindowLook.h"
#include "wire/ProtocolConstants.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTimer>

#include <optional>

namespace rtw::ui {
namespace {

constexpr int kClientWidth = 792; // an outer size of 800 x 600 with the frame
constexpr int kClientHeight = 573;
constexpr QPoint kPosition{341, 147};

const QString kWindowCaption = QStringLiteral("Programmer für RTW 53  zem - USB");
const QString kPffFilter = QStringLiteral("Dialer RTW files (*.pff) (*.pff)");
// Shown as "All files (*.*)"; the pattern matches names without a dot too.
const QString kAllFilter = QStringLiteral("All files (*.*) (*)");
const QString kDefaultSuffix = QStringLiteral("pff");

void prepareFileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({kPffFilter, kAllFilter});
    dialog.selectNameFilter(kPffFilter);
    dialog.setDefaultSuffix(kDefaultSuffix);
    dialog.setSizeGripEnabled(true);
}

// The chosen name, or nothing when the user cancelled. The dialog starts with the name
// last chosen in it.
std::optional<QString> runFileDialog(QFileDialog& dialog, QString& lastName) {
    if (!lastName.isEmpty()) {
        dialog.selectFile(lastName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    lastName = dialog.selectedFiles().constFirst();
    return lastName;
}

std::string nativeFileName(const QString& fileName) {
    return QFile::encodeName(fileName).toStdString();
}

} // namespace

TfMain::TfMain(DeviceConfig& config, DeviceLink& link, TransferFlags& flags)
    : QWidget(nullptr), m_config(config), m_link(link), m_flags(flags), m_messages(*this),
      m_controls(allFields().size(), nullptr) {
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(kWindowCaption);
    setFont(windowFont());

    buildInputsGroup();
    buildStatusGroup();
    buildOutputSmsGroup();
    buildOutputNumbersGroup();
    buildButtons();
    buildFocusOrder();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(wire::kGreetingWaitMs);
    connect(Timer1, &QTimer::timeout, this, &TfMain::Timer1Timer);

    m_observer = m_config.addObserver([this](const FieldChange& change) { mirror(change); });

    resize(kClientWidth, kClientHeight);
    move(kPosition);
    FormCreate();
}

TfMain::~TfMain() {
    m_config.removeObserver(m_observer);
}

void TfMain::setProgressDialogs(ProgressDialog& send, ProgressDialog& read) {
    m_send = &send;
    m_read = &read;
}

QWidget* TfMain::control(FieldId id) const {
    FieldControl* c = m_controls.at(id);
    return c != nullptr ? c->widget() : nullptr;
}

QWidget* TfMain::control(std::string_view name) const {
    return control(fieldId(name));
}

void TfMain::mirror(const FieldChange& change) {
    if (FieldControl* c = m_controls.at(change.field)) {
        c->mirror(change.kind);
    }
}

void TfMain::takeEdit(FieldId id, const QString& text) {
    m_config.setText(id, cp1252FromQString(text));
}

void TfMain::editTCV1_1Change(FieldId entry, const QString& text) {
    takeEdit(entry, text);
}
void TfMain::editPOV1_1Change(FieldId entry, const QString& text) {
    takeEdit(entry, text);
}
void TfMain::editPZS1_1Change(FieldId entry, const QString& text) {
    takeEdit(entry, text);
}
void TfMain::editPOO1_1Change(FieldId entry, const QString& text) {
    takeEdit(entry, text);
}
void TfMain::editPOO2_1Change(FieldId entry, const QString& text) {
    takeEdit(entry, text);
}
void TfMain::editTCZSSMS_1Change(FieldId entry, const QString& text) {
    takeEdit(entry, text);
}

void TfMain::btnClearClick() {
    clearConfiguration(m_config);
}

QFileDialog& TfMain::saveDialog() {
    if (SaveDialog == nullptr) {
        SaveDialog = new QFileDialog(this);
        SaveDialog->setObjectName(QStringLiteral("SaveDialog"));
        prepareFileDialog(*SaveDialog, QFileDialog::AcceptSave);
    }
    return *SaveDialog;
}

QFileDialog& TfMain::openDialog() {
    if (OpenDialog == nullptr) {
        OpenDialog = new QFileDialog(this);
        OpenDialog->setObjectName(QStringLiteral("OpenDialog"));
        prepareFileDialog(*OpenDialog, QFileDialog::AcceptOpen);
    }
    return *OpenDialog;
}

void TfMain::btnSaveClick() {
    if (const auto fileName = runFileDialog(saveDialog(), m_lastSaveName)) {
        SaveSettingsFile(m_config, nativeFileName(*fileName));
    }
}

void TfMain::btnOpenClick() {
    if (const auto fileName = runFileDialog(openDialog(), m_lastOpenName)) {
        OpenSettingsFile(m_config, nativeFileName(*fileName));
    }
}

void TfMain::openSettingsFile(const QString& fileName) {
    m_lastOpenName = QFileInfo(fileName).absoluteFilePath();
    OpenSettingsFile(m_config, nativeFileName(m_lastOpenName));
}

TransferContext TfMain::transferContext(ProgressDialog& dialog) {
    return TransferContext{m_link, m_flags, dialog, *this, m_messages};
}

void TfMain::btnSendClick() {
    TransferContext context = transferContext(*m_send);
    rtw::btnSendClick(context, m_config);
}

void TfMain::btnReadClick() {
    TransferContext context = transferContext(*m_read);
    rtw::btnReadClick(context, m_config);
}

void TfMain::FormCreate() {
    m_link.connected = false;
}

void TfMain::Timer1Timer() {
    m_flags.waitExpired = true;
}

void TfMain::setMainWindowEnabled(bool enabled) {
    setEnabled(enabled);
}

void TfMain::processEvents() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TfMain::startTimer1() {
    Timer1->start();
}

void TfMain::stopTimer1() {
    Timer1->stop();
}

void TfMain::closeEvent(QCloseEvent* event) {
    // While a transfer runs the window is disabled and cannot be closed; otherwise it
    // closes without a question.
    if (isEnabled()) {
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace rtw::ui
