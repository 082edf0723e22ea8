#pragma once
// Everything below the window reports to the user through this: show a plain message
// (text, no icon, one OK) and return once the user has dismissed it.
#include <string_view>

namespace rtw {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    // The text is CP1252.
    virtual void showMessage(std::string_view text) = 0;
};

} // namespace rtw
