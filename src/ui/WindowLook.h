#pragma once
// The fonts and the compact tabs of the window.
#include <QFont>

class QTabBar;

namespace rtw::ui {

// The window's font: 11 pixels (8 point) high, of the family the window was drawn for
// where it is installed, else of one with the same metrics.
[[nodiscard]] QFont windowFont();

// Tabs as narrow as the page controls of the window's platform, so four captions fit on
// one row of the page control that holds them.
void useCompactTabs(QTabBar& tabs);

} // namespace rtw::ui
