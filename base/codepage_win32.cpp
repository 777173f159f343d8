// The code-page conversions on Windows' own converter (code page 932). The bytes are walked
// here one character at a time so that bad input gives the same stand-ins as on POSIX:
// Windows would otherwise map some invalid bytes to private-use characters.
#include <windows.h>

#include <cstdint>

#include "base/codepage.h"

namespace zepa {
namespace {

bool isSingleByte(unsigned char b) {
    return b < 0x80 || (b >= 0xA1 && b <= 0xDF);
}

// Appends the UTF-16 of one CP932 character of n bytes, or U+FFFD when Windows refuses it.
void appendCharacter(std::u16string& out, const char* bytes, int n) {
    wchar_t wide[2];
    const int got = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, bytes, n, wide, 2);
    if (got <= 0) {
        out += u'\uFFFD';
        return;
    }
    for (int i = 0; i < got; ++i) {
        out += static_cast<char16_t>(wide[i]);
    }
}

void appendUtf8(std::string& out, uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0xC0) {
        return 1;
    }
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Decodes one well-formed UTF-8 sequence (no overlong forms, no surrogates, at most U+10FFFF);
// false otherwise.
bool decodeUtf8(std::string_view in, size_t len, uint32_t& c) {
    const unsigned char lead = static_cast<unsigned char>(in[0]);
    if (lead < 0x80) {
        c = lead;
        return true;
    }
    if (lead < 0xC2 || lead > 0xF4 || in.size() < len) {
        return false;
    }
    c = lead & (0x7F >> len);
    for (size_t i = 1; i < len; ++i) {
        const unsigned char b = static_cast<unsigned char>(in[i]);
        if ((b & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (b & 0x3F);
    }
    static constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    return c >= kSmallest[len] && c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF);
}

}  // namespace

std::u16string utf16FromCp932(std::string_view cp932) {
    std::u16string out;
    out.reserve(cp932.size());
    size_t i = 0;
    while (i < cp932.size()) {
        const unsigned char b = static_cast<unsigned char>(cp932[i]);
        if (isSingleByte(b)) {
            appendCharacter(out, cp932.data() + i, 1);
            i += 1;
        } else if (isCp932LeadByte(b) && i + 1 < cp932.size()) {
            const size_t before = out.size();
            appendCharacter(out, cp932.data() + i, 2);
            // A refused pair steps over its lead byte only: the next byte may start a character.
            i += out[before] == u'\uFFFD' ? 1 : 2;
        } else {
            out += u'\uFFFD';
            i += 1;
        }
    }
    return out;
}

std::string utf8FromCp932(std::string_view cp932) {
    const std::u16string wide = utf16FromCp932(cp932);
    std::string out;
    out.reserve(wide.size() * 3);
    for (size_t i = 0; i < wide.size(); ++i) {
        uint32_t c = wide[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
            wide[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
            ++i;
        }
        appendUtf8(out, c);
    }
    return out;
}

std::string cp932FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const std::string_view rest = utf8.substr(i);
        const unsigned char lead = static_cast<unsigned char>(rest[0]);
        const size_t len = utf8SequenceLength(lead);
        uint32_t c = 0;
        if (!decodeUtf8(rest, len, c)) {
            // A sequence of the right shape that is still not a character (overlong, a
            // surrogate) counts as one CP932 cannot hold; anything else is a stray byte.
            bool complete = lead >= 0xC0 && rest.size() >= len;
            for (size_t k = 1; complete && k < len; ++k) {
                complete = (static_cast<unsigned char>(rest[k]) & 0xC0) == 0x80;
            }
            if (complete) {
                out += '?';
                i += len;
            } else {
                i += 1;
            }
            continue;
        }
        i += len;
        wchar_t wide[2];
        int units = 1;
        if (c >= 0x10000) {
            wide[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            wide[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
            units = 2;
        } else {
            wide[0] = static_cast<wchar_t>(c);
        }
        char bytes[8];
        BOOL usedDefault = FALSE;
        const int n = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, units, bytes,
                                          sizeof bytes, "?", &usedDefault);
        if (n <= 0 || usedDefault) {
            out += '?';
        } else {
            out.append(bytes, static_cast<size_t>(n));
        }
    }
    return out;
}

std::wstring wideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    if (utf8.empty()) {
        return wide;
    }
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    if (n > 0) {
        wide.resize(static_cast<size_t>(n));
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    }
    return wide;
}

}  // namespace zepa
