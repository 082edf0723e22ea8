// The arrangement of the main window: positions in pixels from the top left corner of the
// enclosing control, nothing anchored, so resizing moves nothing.
#include "ui/ChoiceButton.h"
#include "ui/MemoEdit.h"
#include "ui/NumberEdit.h"
#include "ui/Palette.h"
#include "ui/PhoneEdit.h"
#include "ui/WindowLook.h"
#include "ui/uMain.h"

#include <QGroupBox>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>

namespace rtw::ui {
namespace {

constexpr int kEntryWidth = 98;
constexpr int kEntryHeight = 21;
constexpr int kMemoWidth = 98;
constexpr int kNumberWidth = 45;
constexpr int kNumberHeight = 22;
constexpr int kChoiceWidth = 113;
constexpr int kChoiceHeight = 17;
constexpr int kRowPitch = 23;
constexpr int kStatusRowPitch = 24;

QGroupBox* makeGroup(QWidget* window, const char* name, const QString& caption, const QString& hint,
                     const QColor& colour, QRect geometry) {
    auto* group = new QGroupBox(caption, window);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    group->setPalette(facePalette(group->palette(), colour));
    group->setAutoFillBackground(true);
    group->setToolTip(hint);
    usePlainGroupFrame(*group);
    return group;
}

// Page controls keep the ordinary face colour; only the group around them is coloured.
QTabWidget* makePages(QGroupBox* group, const char* name, QRect geometry,
                      const QString& hint = {}) {
    auto* pages = new QTabWidget(group);
    pages->setObjectName(QString::fromLatin1(name));
    pages->setGeometry(geometry);
    pages->setPalette(facePalette(pages->palette(), clBtnFace()));
    pages->setToolTip(hint);
    pages->tabBar()->setExpanding(false);
    pages->tabBar()->setUsesScrollButtons(false);
    pages->tabBar()->setElideMode(Qt::ElideNone);
    useCompactTabs(*pages->tabBar());
    return pages;
}

QString u8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

} // namespace

QWidget* TfMain::addPage(QTabWidget* pages, const char* name, const QString& caption,
                         const QString& hint) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    page->setToolTip(hint);
    pages->addTab(page, caption);
    return page;
}

QLabel* TfMain::addLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TfMain::registerControl(FieldControl* control) {
    control->widget()->setToolTip(u8(control->info().hint));
    if (control->info().hidden) {
        control->widget()->setFocusPolicy(Qt::NoFocus);
        control->widget()->hide();
    }
    m_controls.at(control->fieldId()) = control;
}

void TfMain::addEntry(ListId list, int entry, QWidget* parent, int labelX, int labelY, int x,
                      int y) {
    const FieldId id = entryField(list, entry);
    addLabel(parent, u8(fieldInfo(id).label), labelX, labelY);
    auto* edit = new PhoneEdit(m_config, id, KeyFilter::Numbers, parent);
    edit->setGeometry(x, y, kEntryWidth, kEntryHeight);
    registerControl(edit);

    void (TfMain::*handler)(FieldId, const QString&) = nullptr;
    switch (list) {
    case ListId::TCV1:
    case ListId::TCV2:
        handler = &TfMain::editTCV1_1Change;
        break;
    case ListId::PZS1:
    case ListId::PZS2:
        handler = &TfMain::editPZS1_1Change;
        break;
    case ListId::POV1:
    case ListId::POV2:
        handler = &TfMain::editPOV1_1Change;
        break;
    case ListId::POO1:
        handler = &TfMain::editPOO1_1Change;
        break;
    case ListId::POO2:
        handler = &TfMain::editPOO2_1Change;
        break;
    case ListId::TCZSSMS:
        handler = &TfMain::editTCZSSMS_1Change;
        break;
    }
    connect(edit, &PhoneEdit::edited, this, handler);
}

void TfMain::addMemo(std::string_view name, QWidget* parent, int x, int y, int height) {
    const FieldId id = fieldId(name);
    const KeyFilter filter =
        fieldInfo(id).kind == FieldKind::SmsText ? KeyFilter::Text : KeyFilter::Numbers;
    auto* memo = new MemoEdit(m_config, id, filter, parent);
    memo->setGeometry(x, y, kMemoWidth, height);
    registerControl(memo);
    connect(memo, &MemoEdit::edited, this, &TfMain::takeEdit);
}

void TfMain::addNumber(std::string_view name, QWidget* parent, int x, int y) {
    auto* number = new NumberEdit(m_config, fieldId(name), parent);
    number->setGeometry(x, y, kNumberWidth, kNumberHeight);
    registerControl(number);
    connect(number, &NumberEdit::edited, this, &TfMain::takeEdit);
}

void TfMain::addChoice(std::string_view name, const QString& caption, QWidget* parent, int x,
                       int y) {
    auto* choice = new ChoiceButton(m_config, fieldId(name), caption, parent);
    choice->setGeometry(x, y, kChoiceWidth, kChoiceHeight);
    registerControl(choice);
}

void TfMain::buildInputPage(QWidget* page, int input) {
    const QString n = QString::number(input);
    const ListId messages = input == 1 ? ListId::TCV1 : ListId::TCV2;
    const ListId voice = input == 1 ? ListId::PZS1 : ListId::PZS2;
    for (int k = 1; k <= 8; ++k) {
        addEntry(messages, k, page, 4, 5 + kRowPitch * (k - 1), 58, 1 + kRowPitch * (k - 1));
    }
    addLabel(page, QStringLiteral("Text SMS"), 0, 186);
    addLabel(page, QStringLiteral("bei Eingang"), 0, 198);
    addLabel(page, QStringLiteral("Auslösen"), 0, 210);
    addMemo(("memoSMSV" + n).toStdString(), page, 58, 186, 36);
    addLabel(page, QStringLiteral("Text SMS"), 0, 224);
    addLabel(page, QStringLiteral("bei Eingang"), 0, 236);
    addLabel(page, QStringLiteral("Rücksetzen"), 0, 248);
    addMemo(("memoSMSNV" + n).toStdString(), page, 58, 224, 36);
    addLabel(page, QStringLiteral("Tel. Nr. für Sprachnachrichten"), 0, 272);
    for (int k = 1; k <= 8; ++k) {
        addEntry(voice, k, page, 4, 293 + kRowPitch * (k - 1), 58, 289 + kRowPitch * (k - 1));
    }
    addLabel(page, QStringLiteral("Art der Eingang"), 16, 471);
    addChoice(("rbVST" + n + "_1").toStdString(), QStringLiteral("NO"), page, 8, 485);
    addChoice(("rbVST" + n + "_2").toStdString(), QStringLiteral("NC"), page, 80, 485);
    addLabel(page, QStringLiteral("Verzögerung (sek.)"), 6, 509);
    addNumber(("spinDELAY" + n).toStdString(), page, 102, 506);
}

void TfMain::buildOutputSmsPage(QWidget* page, int output) {
    const QString n = QString::number(output);
    addLabel(page, QStringLiteral("Text SMS"), 0, 8);
    addLabel(page, QStringLiteral("- einschalten"), 0, 24);
    addMemo(("memoSMSZAP" + n).toStdString(), page, 58, 5, 76);
    addLabel(page, QStringLiteral("Text SMS"), 0, 104);
    addLabel(page, QStringLiteral("- auschalten"), 0, 120);
    addMemo(("memoSMSVYP" + n).toStdString(), page, 58, 96, 76);
    addLabel(page, QStringLiteral("Einschaltdauer (sek.)"), 0, 189);
    addNumber(("SpinCASRELE" + n).toStdString(), page, 110, 184);
    // The DTMF codes belong to this page but are never shown.
    addMemo(("MemoDTMFZAP" + n).toStdString(), page, 58, 5, kEntryHeight);
    addMemo(("MemoDTMFVYP" + n).toStdString(), page, 58, 96, kEntryHeight);
}

void TfMain::buildReceptionPage(QWidget* page, ListId list) {
    struct Column {
        int first;
        int last;
        int labelX;
        int entryX;
    };
    constexpr Column kColumns[] = {{1, 22, 0, 40}, {23, 44, 144, 184}, {45, 64, 287, 327}};
    // The last two rows of the first two columns sit a little lower.
    constexpr int kLowRowTops[] = {462, 486};
    for (const Column& column : kColumns) {
        for (int k = column.first; k <= column.last; ++k) {
            const int row = k - column.first;
            const int fromEnd = column.last - k;
            int top = 1 + kRowPitch * row;
            if (column.last - column.first == 21 && fromEnd < 2) {
                top = kLowRowTops[1 - fromEnd];
            }
            addEntry(list, k, page, column.labelX, top + 4, column.entryX, top);
        }
    }
}

void TfMain::buildSmsControlPage(QWidget* page, ListId list) {
    for (int k = 1; k <= 8; ++k) {
        addEntry(list, k, page, 0, 5 + kRowPitch * (k - 1), 56, 1 + kRowPitch * (k - 1));
    }
}

void TfMain::buildInputsGroup() {
    const QString caption = QStringLiteral("Tel. Nr. für SMS-Versand");
    GroupBox1 =
        makeGroup(this, "GroupBox1", caption, caption, kInputsGroupColour, {0, 0, 177, 573});
    PageControl1 = makePages(GroupBox1, "PageControl1", {5, 14, 169, 556});
    buildInputPage(addPage(PageControl1, "TabSheet1", QStringLiteral("1. Eingang"), {}), 1);
    buildInputPage(addPage(PageControl1, "TabSheet2", QStringLiteral("2. Eingang"), {}), 2);
}

void TfMain::buildStatusGroup() {
    GroupBox4 = makeGroup(this, "GroupBox4", QStringLiteral("Tel. Nr. für Status-SMS "),
                          QStringLiteral("Text Nachricht mit Status-Meldungen an folgende Nummern"),
                          kStatusGroupColour, {177, 0, 175, 305});
    for (int k = 1; k <= 8; ++k) {
        addEntry(ListId::TCZSSMS, k, GroupBox4, 10, 24 + kStatusRowPitch * (k - 1), 63,
                 21 + kStatusRowPitch * (k - 1));
    }
    addLabel(GroupBox4, QStringLiteral("Senden Alle:"), 14, 232);
    addNumber("spinINTERVAL", GroupBox4, 85, 228);
    addLabel(GroupBox4, QStringLiteral("Tage"), 132, 232);
    addLabel(GroupBox4, QStringLiteral("Zeitpunkt:"), 14, 267);
    addNumber("spinCAS", GroupBox4, 85, 265);
    addLabel(GroupBox4, QStringLiteral("00:Uhr"), 132, 269);
    // The credit threshold and its unit belong to this group but are never shown.
    addNumber("spinKREDIT", GroupBox4, 85, 265);
    addLabel(GroupBox4, QStringLiteral("(€)"), 132, 269)->hide();
}

void TfMain::buildOutputSmsGroup() {
    const QString caption = QStringLiteral("SMS für Ausgang Fernsteuerung");
    GroupBox5 =
        makeGroup(this, "GroupBox5", caption, caption, kOutputsGroupColour, {177, 304, 175, 249});
    PageControl6 = makePages(GroupBox5, "PageControl6", {5, 16, 165, 230});
    buildOutputSmsPage(addPage(PageControl6, "TabSheet3", QStringLiteral("1.Ausgang"),
                               QStringLiteral("SMS für 1.Ausgang Fernsteuerung")),
                       1);
    buildOutputSmsPage(addPage(PageControl6, "TabSheet4", QStringLiteral("2.Ausgang"),
                               QStringLiteral("SMS für 2.Ausgang Fernsteuerung")),
                       2);
}

void TfMain::buildOutputNumbersGroup() {
    const QString caption = QStringLiteral("Telefon Nummern für Ausgang Fernsteuerung");
    GroupBox6 =
        makeGroup(this, "GroupBox6", caption, caption, kOutputsGroupColour, {351, 0, 441, 553});
    PageControl4 = makePages(GroupBox6, "PageControl4", {4, 14, 433, 535}, caption);
    buildReceptionPage(
        addPage(PageControl4, "TabSheet9", QStringLiteral("1.Ausgang - Empfang"),
                QStringLiteral("Telefon Nummern für 1.Ausgang Empfang-Fernsteuerung")),
        ListId::POV1);
    buildReceptionPage(
        addPage(PageControl4, "TabSheet10", QStringLiteral("2.Ausgang - Empfang"),
                QStringLiteral("Telefon Nummern für 2.Ausgang Empfang-Fernsteuerung")),
        ListId::POV2);
    buildSmsControlPage(addPage(PageControl4, "TabSheet5", QStringLiteral("1.Ausgang - SMS"),
                                QStringLiteral("Telefon Nummern für 1.Ausgang SMS-Fernsteuerung")),
                        ListId::POO1);
    buildSmsControlPage(addPage(PageControl4, "TabSheet6", QStringLiteral("2.Ausgang - SMS"),
                                QStringLiteral("Telefon Nummern für 2.Ausgang SMS-Fernsteuerung")),
                        ListId::POO2);
}

} // namespace rtw::ui
