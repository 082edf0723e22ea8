#include "ImageTestSupport.h"

#include "protocol/ConfigImage.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace rtw {
namespace {

// Byte pools for generated texts. Multi-line fields keep line breaks as CR LF pairs only,
// so their generated text never holds a lone CR or LF; phone entries take any byte.
std::string phoneText(std::mt19937& rng, std::size_t length) {
    std::string s;
    for (std::size_t i = 0; i < length; ++i) {
        s += static_cast<char>(rng() % 256);
    }
    return s;
}

std::string multiLineText(std::mt19937& rng, std::size_t length) {
    std::string s;
    while (s.size() < length) {
        const auto b = static_cast<char>(rng() % 256);
        if (b == '\r' || b == '\n') {
            if (s.size() + 2 <= length) {
                s += "\r\n";
            }
            continue;
        }
        s += b;
    }
    return s;
}

struct Shape {
    int listLength = 0;           // each list filled to min(this, its size); -1: random
    std::size_t smsLength = 0;    // every SMS text; SIZE_MAX: random
    std::size_t entryLength = 14; // every phone entry and DTMF code; 0: random
    int numbers = 0;              // 0: minimum, 1: maximum, 2: random
    unsigned seed = 1;
};

DeviceConfig makeConfig(const Shape& shape) {
    std::mt19937 rng(shape.seed);
    const auto pick = [&rng](std::initializer_list<std::size_t> options) {
        return *(options.begin() + rng() % options.size());
    };
    DeviceConfig c;
    for (int l = 0; l < kListCount; ++l) {
        const auto list = static_cast<ListId>(l);
        const int size = listInfo(list).size;
        const int used = shape.listLength < 0 ? static_cast<int>(rng() % (size + 1))
                                              : std::min(shape.listLength, size);
        for (int k = 1; k <= used; ++k) {
            const std::size_t length =
                shape.entryLength ? shape.entryLength : pick({1, 2, 7, 13, 14});
            c.setText(entryField(list, k), phoneText(rng, length));
        }
    }
    for (const FieldInfo& f : allFields()) {
        if (f.kind == FieldKind::SmsText) {
            const std::size_t length = shape.smsLength == SIZE_MAX
                                           ? pick({0, 1, 15, 16, 17, 111, 112, 126, 127})
                                           : shape.smsLength;
            c.setText(f.id, multiLineText(rng, length));
        } else if (f.kind == FieldKind::DtmfCode) {
            const std::size_t length = shape.entryLength ? shape.entryLength : pick({0, 1, 14});
            c.setText(f.id, multiLineText(rng, length));
        } else if (f.kind == FieldKind::Number) {
            const int value =
                shape.numbers == 0 ? f.minimum
                : shape.numbers == 1
                    ? f.maximum
                    : f.minimum + static_cast<int>(rng() % (f.maximum - f.minimum + 1));
            c.setText(f.id, std::to_string(value));
        }
    }
    // One choice of each input selected, as the window always has it.
    c.setSelected(rng() % 2 ? "rbVST1_2" : "rbVST1_1", true);
    c.setSelected(rng() % 2 ? "rbVST2_2" : "rbVST2_1", true);
    return c;
}

std::vector<Shape> shapes() {
    std::vector<Shape> out;
    for (int length = 0; length <= 64; ++length) {
        out.push_back({length, static_cast<std::size_t>(length * 2 % 128), 14, length % 3,
                       static_cast<unsigned>(100 + length)});
    }
    for (const std::size_t sms : {0, 1, 15, 16, 17, 126, 127}) {
        for (const std::size_t entry : {1, 14}) {
            for (const int numbers : {0, 1}) {
                out.push_back({-1, sms, entry, numbers, static_cast<unsigned>(sms * 7 + entry)});
            }
        }
    }
    for (unsigned seed = 1; seed <= 40; ++seed) {
        out.push_back({-1, SIZE_MAX, 0, 2, seed});
    }
    return out;
}

TEST(RoundTrip, ApplyingTheEncodedBlocksGivesBackTheConfiguration) {
    for (const Shape& shape : shapes()) {
        const DeviceConfig original = makeConfig(shape);
        const auto blocks = EncodeImage(original);
        DeviceConfig received;
        SmsAssembly sms;
        test::applyAll(received, blocks, sms);
        EXPECT_TRUE(received.sameValues(original))
            << "seed " << shape.seed << ": " << test::differences(original, received);
        EXPECT_EQ(EncodeImage(received), blocks) << "seed " << shape.seed;
    }
}

TEST(RoundTrip, ReadingIntoAFilledConfigurationReplacesEverything) {
    const DeviceConfig original = makeConfig({-1, SIZE_MAX, 0, 2, 77});
    DeviceConfig received = makeConfig({64, 127, 14, 1, 78});
    SmsAssembly sms;
    test::applyAll(received, EncodeImage(original), sms);
    EXPECT_TRUE(received.sameValues(original)) << test::differences(original, received);
}

} // namespace
} // namespace rtw
