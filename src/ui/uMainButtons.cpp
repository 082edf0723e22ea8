// The command buttons of the main window and its focus order.
#include "ui/Palette.h"
#include "ui/uMain.h"

#include <QPushButton>
#include <QTabWidget>

#include <vector>

namespace rtw::ui {
namespace {

constexpr int kButtonWidth = 73;
constexpr int kButtonHeight = 20;
constexpr int kButtonTop = 553;
constexpr int kSendCaptionPixels = 15;

} // namespace

void TfMain::buildButtons() {
    struct Button {
        QPushButton*& member;
        const char* name;
        int x;
        const char* caption;
        QColor colour;
        const char* hint;
        void (TfMain::*handler)();
    };
    const Button buttons[] = {
        {btnClear, "btnClear", 328, "&Clear", clTeal, "", &TfMain::btnClearClick},
        {btnSave, "btnSave", 432, "&Save", clBackground(),
         "Speichert die derzeitige Konfiguration auf der Festplatte (Alt+S)",
         &TfMain::btnSaveClick},
        {btnOpen, "btnOpen", 520, "&Open", kOpenCaptionColour,
         "Ladet ein Konfigurationsfile von der Festplatte in das Programm (Alt+O)",
         &TfMain::btnOpenClick},
        {btnRead, "btnRead", 624, "&Read", kReadCaptionColour, "", &TfMain::btnReadClick},
        {btnSend, "btnSend", 712, "S&end", kSendCaptionColour,
         "Sendet das Konfigurationsfile zum Wählgerät (Alt+E)", &TfMain::btnSendClick},
    };
    for (const Button& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), this);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.x, kButtonTop, kButtonWidth, kButtonHeight);
        button->setToolTip(QString::fromUtf8(b.hint));
        button->setAutoDefault(false);
        QFont font = button->font();
        font.setBold(true);
        if (std::string_view(b.name) == "btnSend") {
            font.setPixelSize(kSendCaptionPixels);
        }
        button->setFont(font);
        QPalette palette = button->palette();
        for (auto group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::ButtonText, b.colour);
        }
        button->setPalette(palette);
        const auto handler = b.handler;
        connect(button, &QPushButton::clicked, this,
                [this, handler] { runCommand(*this, [this, handler] { (this->*handler)(); }); });
        b.member = button;
    }
}

void TfMain::buildFocusOrder() {
    std::vector<QWidget*> order;
    const auto add = [&](FieldId id) { order.push_back(control(id)); };
    const auto addList = [&](ListId list) {
        for (int k = 1; k <= listInfo(list).size; ++k) {
            add(entryField(list, k));
        }
    };

    order.push_back(PageControl4);
    addList(ListId::POV1);
    addList(ListId::POV2);
    addList(ListId::POO1);
    addList(ListId::POO2);

    order.push_back(PageControl6);
    for (int output = 1; output <= 2; ++output) {
        add(field::memoSMSZAP(output));
        add(field::memoSMSVYP(output));
        add(field::SpinCASRELE(output));
    }

    addList(ListId::TCZSSMS);
    add(field::spinINTERVAL);
    add(field::spinCAS);

    order.push_back(PageControl1);
    for (int input = 1; input <= 2; ++input) {
        addList(input == 1 ? ListId::TCV1 : ListId::TCV2);
        add(field::memoSMSV(input));
        add(field::memoSMSNV(input));
        addList(input == 1 ? ListId::PZS1 : ListId::PZS2);
        add(field::rbVST(input, field::Contact::NO));
        add(field::rbVST(input, field::Contact::NC));
        add(field::spinDELAY(input));
    }

    for (QWidget* button : {btnClear, btnSave, btnOpen, btnSend, btnRead}) {
        order.push_back(button);
    }
    for (std::size_t i = 1; i < order.size(); ++i) {
        setTabOrder(order[i - 1], order[i]);
    }
}

} // namespace rtw::ui
