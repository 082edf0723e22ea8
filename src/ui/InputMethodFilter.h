#pragma once
// Text committed by an input method (compose keys, dead keys) is typed text too: it passes
// the field's filter character by character.
#include "ui/KeyTyping.h"

#include <QString>

namespace rtw::ui {

[[nodiscard]] QString filteredCommitString(const QString& commit, KeyFilter filter);

} // namespace rtw::ui
