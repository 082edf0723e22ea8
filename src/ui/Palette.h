#pragma once
// The window's colours: the system colours it names and the fixed colours of its groups
// and buttons.
#include <QColor>
#include <QPalette>

namespace rtw::ui {

// The system's window background (an enabled entry) and button face (a disabled entry,
// the window's face).
[[nodiscard]] QColor clWindow();
[[nodiscard]] QColor clBtnFace();
// The desktop colour of the unit's original platform.
[[nodiscard]] QColor clBackground();
inline const QColor clTeal{0, 128, 128};

inline const QColor kInputsGroupColour{255, 225, 230};
inline const QColor kStatusGroupColour{255, 255, 223};
inline const QColor kOutputsGroupColour{223, 223, 255};

inline const QColor kOpenCaptionColour{0, 128, 255};
inline const QColor kReadCaptionColour{175, 105, 1};
inline const QColor kSendCaptionColour{255, 0, 128};

// An entry's palette: clWindow while enabled, clBtnFace while disabled, so the colour
// follows the enabled state without further work.
[[nodiscard]] QPalette entryPalette(QPalette palette);
// A palette whose face colour is the given one.
[[nodiscard]] QPalette facePalette(QPalette palette, const QColor& face);

} // namespace rtw::ui
