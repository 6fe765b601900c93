#include "common/Encoding.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iconv.h>
#include <stdexcept>

namespace korvel::common {

bool IsValidUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        // Plain ASCII, the usual content, eight bytes at a time.
        if (std::uint64_t block = 0; i + sizeof block <= s.size()) {
            std::memcpy(&block, s.data() + i, sizeof block);
            if ((block & 0x8080808080808080ULL) == 0) {
                i += sizeof block;
                continue;
            }
        }
        const auto c = static_cast<unsigned char>(s[i]);
        size_t extra = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0 && c >= 0xC2) {
            extra = 1;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
        } else if ((c & 0xF8) == 0xF0 && c <= 0xF4) {
            extra = 3;
        } else {
            return false;
        }
        if (i + extra >= s.size()) {
            return false;
        }
        for (size_t k = 1; k <= extra; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) {
                return false;
            }
        }
        i += extra + 1;
    }
    return true;
}

namespace {

std::string convert(std::string_view in, const char* from, const char* to) {
    iconv_t cd = iconv_open(to, from);
    // iconv reports failure with the handle (iconv_t)-1.
    if (cd == reinterpret_cast<iconv_t>(-1)) { // NOLINT(performance-no-int-to-ptr)
        throw std::runtime_error("iconv cannot convert between the code pages");
    }
    std::string out;
    out.resize(in.size() * 4 + 16);
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        if (r != static_cast<size_t>(-1)) {
            break;
        }
        if (errno == E2BIG) {
            const size_t used = static_cast<size_t>(outPtr - out.data());
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // An invalid or truncated sequence: one replacement character for
        // the offending byte, then go on.
        static constexpr std::string_view kReplacement = "\xEF\xBF\xBD";
        if (outLeft < kReplacement.size()) {
            const size_t used = static_cast<size_t>(outPtr - out.data());
            out.resize(out.size() * 2);
            outPtr = out.data() + used;
            outLeft = out.size() - used;
        }
        if (std::string_view(to) == "UTF-8") {
            for (char c : kReplacement) {
                *outPtr++ = c;
            }
            outLeft -= kReplacement.size();
        } else {
            *outPtr++ = '?';
            --outLeft;
        }
        ++inPtr;
        --inLeft;
    }
    iconv_close(cd);
    out.resize(static_cast<size_t>(outPtr - out.data()));
    return out;
}

} // namespace

std::string DecodeText(std::string_view bytes) {
    if (IsValidUtf8(bytes)) {
        return std::string(bytes);
    }
    return convert(bytes, "GB18030", "UTF-8");
}

std::string EncodeGb18030(std::string_view utf8) {
    return convert(utf8, "UTF-8", "GB18030");
}

} // namespace korvel::common
