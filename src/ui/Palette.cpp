#include "ui/Palette.h"

#include <QApplication>

namespace rtw::ui {

QColor clWindow() {
    return QApplication::palette().color(QPalette::Active, QPalette::Base);
}

QColor clBtnFace() {
    return QApplication::palette().color(QPalette::Active, QPalette::Button);
}

// Windows' default desktop colour; Qt knows no desktop colour of its own.
QColor clBackground() {
    return {0, 0, 0};
}

QPalette entryPalette(QPalette palette) {
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Base, clWindow());
    }
    palette.setColor(QPalette::Disabled, QPalette::Base, clBtnFace());
    return palette;
}

QPalette facePalette(QPalette palette, const QColor& face) {
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, face);
    }
    return palette;
}

} // namespace rtw::ui
