#pragma once
// The fonts, the compact tabs and the group frames of the window.
#include <QFont>

class QGroupBox;
class QTabBar;

namespace rtw::ui {

// The window's font: 11 pixels (8 point) high, of the family the window was drawn for
// where it is installed, else of one with the same metrics.
[[nodiscard]] QFont windowFont();

// Tabs as narrow as the page controls of the window's platform, so four captions fit on
// one row of the page control that holds them.
void useCompactTabs(QTabBar& tabs);

// A group frame drawn as a plain etched line, so the whole box shows its own colour: some
// styles shade the inside of the frame.
void usePlainGroupFrame(QGroupBox& group);

} // namespace rtw::ui
