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
#include <QPoint>
#include <QTabBar>
#include <QTabWidget>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

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

QString u8(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QGroupBox* makeGroup(QWidget* window, const char* name, WindowGroup texts, const QColor& colour,
                     QRect geometry) {
    auto* group = new QGroupBox(u8(groupCaption(texts)), window);
    group->setObjectName(QString::fromLatin1(name));
    group->setGeometry(geometry);
    group->setPalette(facePalette(group->palette(), colour));
    group->setAutoFillBackground(true);
    group->setToolTip(u8(groupHint(texts)));
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

} // namespace

QWidget* TfMain::addPage(QTabWidget* pages, const char* name, WindowPage texts, int number) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(name));
    page->setToolTip(u8(pageHint(texts, number)));
    pages->addTab(page, u8(pageCaption(texts, number)));
    return page;
}

QLabel* TfMain::addLabel(QWidget* parent, std::string_view utf8, int x, int y) {
    auto* label = new QLabel(u8(utf8), parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TfMain::addLabelLines(QWidget* parent, FieldId id, std::initializer_list<QPoint> at) {
    const std::vector<std::string> lines = labelLines(fieldInfo(id));
    if (lines.size() != at.size()) {
        throw std::logic_error("a label line without its place: " + fieldInfo(id).name);
    }
    auto line = lines.begin();
    for (const QPoint& point : at) {
        addLabel(parent, *line++, point.x(), point.y());
    }
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
    addLabel(parent, fieldInfo(id).label, labelX, labelY);
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

void TfMain::addMemo(FieldId id, QWidget* parent, int x, int y, int height) {
    const KeyFilter filter =
        fieldInfo(id).kind == FieldKind::SmsText ? KeyFilter::Text : KeyFilter::Numbers;
    auto* memo = new MemoEdit(m_config, id, filter, parent);
    memo->setGeometry(x, y, kMemoWidth, height);
    registerControl(memo);
    connect(memo, &MemoEdit::edited, this, &TfMain::takeEdit);
}

void TfMain::addNumber(FieldId id, QWidget* parent, int x, int y) {
    auto* number = new NumberEdit(m_config, id, parent);
    number->setGeometry(x, y, kNumberWidth, kNumberHeight);
    registerControl(number);
    connect(number, &NumberEdit::edited, this, &TfMain::takeEdit);
}

void TfMain::addChoice(FieldId id, QWidget* parent, int x, int y) {
    auto* choice = new ChoiceButton(m_config, id, u8(fieldInfo(id).label), parent);
    choice->setGeometry(x, y, kChoiceWidth, kChoiceHeight);
    registerControl(choice);
}

void TfMain::buildInputPage(QWidget* page, int input) {
    const ListId messages = input == 1 ? ListId::TCV1 : ListId::TCV2;
    const ListId voice = input == 1 ? ListId::PZS1 : ListId::PZS2;
    for (int k = 1; k <= 8; ++k) {
        addEntry(messages, k, page, 4, 5 + kRowPitch * (k - 1), 58, 1 + kRowPitch * (k - 1));
    }
    addLabelLines(page, field::memoSMSV(input), {{0, 186}, {0, 198}, {0, 210}});
    addMemo(field::memoSMSV(input), page, 58, 186, 36);
    addLabelLines(page, field::memoSMSNV(input), {{0, 224}, {0, 236}, {0, 248}});
    addMemo(field::memoSMSNV(input), page, 58, 224, 36);
    addLabel(page, fieldInfo(entryField(voice, 1)).heading, 0, 272);
    for (int k = 1; k <= 8; ++k) {
        addEntry(voice, k, page, 4, 293 + kRowPitch * (k - 1), 58, 289 + kRowPitch * (k - 1));
    }
    const FieldId no = field::rbVST(input, field::Contact::NO);
    addLabel(page, fieldInfo(no).heading, 16, 471);
    addChoice(no, page, 8, 485);
    addChoice(field::rbVST(input, field::Contact::NC), page, 80, 485);
    addLabelLines(page, field::spinDELAY(input), {{6, 509}});
    addNumber(field::spinDELAY(input), page, 102, 506);
}

void TfMain::buildOutputSmsPage(QWidget* page, int output) {
    addLabelLines(page, field::memoSMSZAP(output), {{0, 8}, {0, 24}});
    addMemo(field::memoSMSZAP(output), page, 58, 5, 76);
    addLabelLines(page, field::memoSMSVYP(output), {{0, 104}, {0, 120}});
    addMemo(field::memoSMSVYP(output), page, 58, 96, 76);
    addLabelLines(page, field::SpinCASRELE(output), {{0, 189}});
    addNumber(field::SpinCASRELE(output), page, 110, 184);
    // The DTMF codes belong to this page but are never shown.
    addMemo(field::MemoDTMFZAP(output), page, 58, 5, kEntryHeight);
    addMemo(field::MemoDTMFVYP(output), page, 58, 96, kEntryHeight);
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
    GroupBox1 =
        makeGroup(this, "GroupBox1", WindowGroup::Inputs, kInputsGroupColour, {0, 0, 177, 573});
    PageControl1 = makePages(GroupBox1, "PageControl1", {5, 14, 169, 556});
    buildInputPage(addPage(PageControl1, "TabSheet1", WindowPage::Input, 1), 1);
    buildInputPage(addPage(PageControl1, "TabSheet2", WindowPage::Input, 2), 2);
}

void TfMain::buildStatusGroup() {
    GroupBox4 =
        makeGroup(this, "GroupBox4", WindowGroup::Status, kStatusGroupColour, {177, 0, 175, 305});
    for (int k = 1; k <= 8; ++k) {
        addEntry(ListId::TCZSSMS, k, GroupBox4, 10, 24 + kStatusRowPitch * (k - 1), 63,
                 21 + kStatusRowPitch * (k - 1));
    }
    addLabelLines(GroupBox4, field::spinINTERVAL, {{14, 232}});
    addNumber(field::spinINTERVAL, GroupBox4, 85, 228);
    addLabel(GroupBox4, fieldInfo(field::spinINTERVAL).unit, 132, 232);
    addLabelLines(GroupBox4, field::spinCAS, {{14, 267}});
    addNumber(field::spinCAS, GroupBox4, 85, 265);
    addLabel(GroupBox4, fieldInfo(field::spinCAS).unit, 132, 269);
    // The credit threshold and its unit belong to this group but are never shown.
    addNumber(field::spinKREDIT, GroupBox4, 85, 265);
    addLabel(GroupBox4, fieldInfo(field::spinKREDIT).unit, 132, 269)->hide();
}

void TfMain::buildOutputSmsGroup() {
    GroupBox5 = makeGroup(this, "GroupBox5", WindowGroup::OutputSms, kOutputsGroupColour,
                          {177, 304, 175, 249});
    PageControl6 = makePages(GroupBox5, "PageControl6", {5, 16, 165, 230});
    buildOutputSmsPage(addPage(PageControl6, "TabSheet3", WindowPage::Output, 1), 1);
    buildOutputSmsPage(addPage(PageControl6, "TabSheet4", WindowPage::Output, 2), 2);
}

void TfMain::buildOutputNumbersGroup() {
    GroupBox6 = makeGroup(this, "GroupBox6", WindowGroup::OutputNumbers, kOutputsGroupColour,
                          {351, 0, 441, 553});
    // The page control has the group's hint.
    PageControl4 = makePages(GroupBox6, "PageControl4", {4, 14, 433, 535},
                             u8(groupHint(WindowGroup::OutputNumbers)));
    buildReceptionPage(addPage(PageControl4, "TabSheet9", WindowPage::Reception, 1), ListId::POV1);
    buildReceptionPage(addPage(PageControl4, "TabSheet10", WindowPage::Reception, 2), ListId::POV2);
    buildSmsControlPage(addPage(PageControl4, "TabSheet5", WindowPage::SmsControl, 1),
                        ListId::POO1);
    buildSmsControlPage(addPage(PageControl4, "TabSheet6", WindowPage::SmsControl, 2),
                        ListId::POO2);
}

} // namespace rtw::ui
