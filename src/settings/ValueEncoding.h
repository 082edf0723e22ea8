#pragma once
// How a text goes into a settings file so that it comes back exactly, here and on Windows.
//
// The profile functions write a value as it stands and read it back trimmed and with one
// outer pair of quotes removed, and a line break in a value would split the file. So:
//
// 1. A text without a line break that the reader would give back unchanged is written as it
//    stands, byte for byte what the profile functions write.
// 2. A text that begins or ends with a blank (space, tab, vertical tab), or begins and ends
//    with the same quotation mark, is written inside double quotes, which both readers take
//    off again.
// 3. A text holding a line break (CR or LF) is written inside double quotes with each
//    backslash doubled, each CR as \r and each LF as \n: "Zeile 1\r\nZeile 2". The file
//    keeps one line per key.
//
// Reading undoes rule 3 only for a value in double quotes whose inside has at least one
// \r or \n and no backslash other than \\, \r and \n; every other value reads as the
// profile functions read it. A text without a line break that would itself look like
// rule 3 once quoted (it needs quotes by rule 2 and holds, say, a literal \n) is written
// inside single quotes instead, so it too reads back unchanged in both places.
//
// The one difference from Windows: a value that Windows wrote in exactly rule 3's shape
// (double quotes around a literal \r or \n and no other backslash) reads here with real
// line breaks, and a value written by rule 3 reads on Windows with the escapes as text.
#include <string>
#include <string_view>

namespace rtw::ini {

// The value to write for a text; it holds no line break.
[[nodiscard]] std::string encodeValue(std::string_view text);

// The text a stored value (trimmed, as it stands in the file) stands for, not yet cut to
// the reader's length limit.
[[nodiscard]] std::string decodeValue(std::string_view stored);

} // namespace rtw::ini
