#pragma once
// Old installations wrote their files in the Windows Chinese code page; ours
// are UTF-8. Reading accepts both: text that is not valid UTF-8 is taken as
// GB18030 and converted.

#include <string>
#include <string_view>

namespace korvel::common {

bool IsValidUtf8(std::string_view bytes);

// UTF-8 text of `bytes`: unchanged when they are valid UTF-8, otherwise
// converted from GB18030 (bytes that do not convert become U+FFFD).
std::string DecodeText(std::string_view bytes);

// GB18030 bytes of UTF-8 text (for tests and for writing files that an old
// installation must read).
std::string EncodeGb18030(std::string_view utf8);

// Editors on the office PC put a byte-order mark before UTF-8 text.
inline constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The text without a byte-order mark at its start.
inline std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.starts_with(kByteOrderMark) ? text.substr(kByteOrderMark.size()) : text;
}

} // namespace korvel::common
