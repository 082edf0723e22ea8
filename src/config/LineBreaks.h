#pragma once
#include <string>
#include <string_view>

namespace rtw {

// A lone CR or a lone LF becomes CR LF; CR LF stays.
[[nodiscard]] std::string normaliseLineBreaks(std::string_view text);

} // namespace rtw
