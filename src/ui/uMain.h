#pragma once
// The main window `fMain`: one control per field of the model, mirrored, and the five
// commands. It keeps no value of its own.
#include "config/DeviceConfig.h"
#include "link/Connection.h"
#include "protocol/Transfers.h"
#include "ui/MessageBoxes.h"

#include <QPoint>
#include <QString>
#include <QWidget>

#include <initializer_list>

#include <vector>

class QFileDialog;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;
class QTimer;

namespace rtw::ui {

class FieldControl;
class ProgressDialog;

class TfMain : public QWidget, public TransferHost {
    Q_OBJECT
public:
    TfMain(DeviceConfig& config, DeviceLink& link, TransferFlags& flags);
    ~TfMain() override;

    // The progress dialogs are created after the main window; they are handed in here.
    void setProgressDialogs(ProgressDialog& send, ProgressDialog& read);

    // The controls by field; every control also carries its field's name as object name.
    [[nodiscard]] QWidget* control(FieldId id) const;
    [[nodiscard]] QWidget* control(std::string_view name) const;

    // The window's handlers. The change handlers take an edit of an entry of their lists
    // into the model, where the fill rule runs.
    void editTCV1_1Change(FieldId entry, const QString& text);
    void editPOV1_1Change(FieldId entry, const QString& text);
    void editPZS1_1Change(FieldId entry, const QString& text);
    void editPOO1_1Change(FieldId entry, const QString& text);
    void editPOO2_1Change(FieldId entry, const QString& text);
    void editTCZSSMS_1Change(FieldId entry, const QString& text);
    void btnClearClick();
    void btnSaveClick();
    void btnOpenClick();
    void btnSendClick();
    void btnReadClick();
    void FormCreate();
    void Timer1Timer();

    // Opens a settings file as Open does after its dialog; the Open dialog then starts
    // with this name.
    void openSettingsFile(const QString& fileName);

    // TransferHost
    void setMainWindowEnabled(bool enabled) override;
    void processEvents() override;
    void startTimer1() override;
    void stopTimer1() override;

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QGroupBox* GroupBox5 = nullptr;
    QGroupBox* GroupBox6 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QTabWidget* PageControl4 = nullptr;
    QTabWidget* PageControl6 = nullptr;
    QPushButton* btnClear = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnOpen = nullptr;
    QPushButton* btnRead = nullptr;
    QPushButton* btnSend = nullptr;
    QFileDialog* SaveDialog = nullptr; // created on first use
    QFileDialog* OpenDialog = nullptr;
    QTimer* Timer1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Building the window (uMainLayout.cpp).
    void buildInputsGroup();
    void buildStatusGroup();
    void buildOutputSmsGroup();
    void buildOutputNumbersGroup();
    void buildButtons();
    void buildFocusOrder();
    void buildInputPage(QWidget* page, int input);
    void buildOutputSmsPage(QWidget* page, int output);
    void buildReceptionPage(QWidget* page, ListId list);
    void buildSmsControlPage(QWidget* page, ListId list);
    QWidget* addPage(QTabWidget* pages, const char* name, WindowPage texts, int number);
    QLabel* addLabel(QWidget* parent, std::string_view utf8, int x, int y);
    // The lines of a field's label, one under another at the given places.
    void addLabelLines(QWidget* parent, FieldId id, std::initializer_list<QPoint> at);
    void addEntry(ListId list, int entry, QWidget* parent, int labelX, int labelY, int x, int y);
    void addMemo(FieldId id, QWidget* parent, int x, int y, int height);
    void addNumber(FieldId id, QWidget* parent, int x, int y);
    void addChoice(FieldId id, QWidget* parent, int x, int y);
    void registerControl(FieldControl* control);

    // The dialogs' last names, kept for the run.
    [[nodiscard]] QFileDialog& saveDialog();
    [[nodiscard]] QFileDialog& openDialog();

    void takeEdit(FieldId id, const QString& text);
    void mirror(const FieldChange& change);
    [[nodiscard]] TransferContext transferContext(ProgressDialog& dialog);

    DeviceConfig& m_config;
    DeviceLink& m_link;
    TransferFlags& m_flags;
    MessageBoxSink m_messages;
    ProgressDialog* m_send = nullptr;
    ProgressDialog* m_read = nullptr;
    std::vector<FieldControl*> m_controls; // by field id
    int m_observer = 0;
    QString m_lastSaveName;
    QString m_lastOpenName;
};

} // namespace rtw::ui
