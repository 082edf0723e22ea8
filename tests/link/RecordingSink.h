#pragma once
// A message sink that keeps every message with what the fake chip looked like while the
// message was up: how many handles were open and how many calls had been made.
#include "RecordingD2xx.h"
#include "config/Cp1252.h"
#include "config/MessageSink.h"

#include <string>
#include <vector>

namespace rtw::test {

class RecordingSink : public MessageSink {
public:
    struct Shown {
        std::string cp1252;
        int openHandles;
        std::size_t callsBefore;
    };

    explicit RecordingSink(const RecordingD2xx& chip) : m_chip(chip) {}

    void showMessage(std::string_view text) override {
        shown.push_back(Shown{std::string(text), m_chip.openHandles(), m_chip.calls.size()});
    }

    [[nodiscard]] std::vector<std::string> texts() const {
        std::vector<std::string> utf8;
        for (const Shown& message : shown) {
            utf8.push_back(utf8FromCp1252(message.cp1252));
        }
        return utf8;
    }

    std::vector<Shown> shown;

private:
    const RecordingD2xx& m_chip;
};

} // namespace rtw::test
