#include "ui/KeyTyping.h"

#include "config/KeyFilters.h"
#include "ui/QtText.h"

#include <QApplication>
#include <QKeyEvent>
#include <QList>

namespace rtw::ui {
namespace {

constexpr char kBackspace = 8;
constexpr char kEnter = 13;

void defaultRefusedKeySound() {
    QApplication::beep();
}

RefusedKeySound g_refusedKeySound = defaultRefusedKeySound;

} // namespace

std::optional<char> typedCharacter(const QKeyEvent& event) {
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    switch (key) {
    case Qt::Key_Backspace:
        return kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return kEnter;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    const bool alt = mods.testFlag(Qt::AltModifier);
    if (ctrl && !alt && key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<char>(key - Qt::Key_A + 1);
    }
    if (alt && !ctrl) {
        return std::nullopt; // an access key, not typing
    }
    const QString text = event.text();
    if (text.isEmpty()) {
        return std::nullopt;
    }
    const char32_t codePoint = text.toUcs4().value(0);
    if (codePoint < 32 || codePoint == 127) {
        return std::nullopt; // a key without a character of its own (X11 reports Delete so)
    }
    return cp1252FromQChar(codePoint);
}

bool filterKeeps(KeyFilter filter, char key) {
    char filtered = key;
    if (filter == KeyFilter::Numbers) {
        onlyNumbers(filtered);
    } else {
        onlyText(filtered);
    }
    return filtered != 0;
}

void setRefusedKeySound(RefusedKeySound sound) {
    g_refusedKeySound = sound != nullptr ? sound : defaultRefusedKeySound;
}

void playRefusedKeySound() {
    g_refusedKeySound();
}

} // namespace rtw::ui
