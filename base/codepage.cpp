#include "base/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace zepa {
namespace {

class Iconv {
  public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) {
            iconv_close(cd_);
        }
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

  private:
    iconv_t cd_;
};

// Runs the conversion. For each input that cannot be converted, onBad(out, rest) appends a
// stand-in and returns how many input bytes to step over (at least one).
template <typename OnBad>
std::string convert(const char* to, const char* from, std::string_view in, OnBad onBad) {
    std::string out;
    Iconv cd(to, from);
    if (!cd.ok() || in.empty()) {
        return out;
    }
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
        char* dst = buffer;
        size_t dstLeft = sizeof buffer;
        size_t rc = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, static_cast<size_t>(dst - buffer));
        if (rc != static_cast<size_t>(-1) || errno == E2BIG) {
            continue;
        }
        // EILSEQ, or EINVAL for a sequence cut off at the end.
        size_t step = onBad(out, std::string_view(src, srcLeft));
        step = step < 1 ? 1 : step > srcLeft ? srcLeft : step;
        src += step;
        srcLeft -= step;
    }
    char* dst = buffer;
    size_t dstLeft = sizeof buffer;
    iconv(cd.get(), nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, static_cast<size_t>(dst - buffer));
    return out;
}

size_t utf8SequenceLength(unsigned char lead) {
    if (lead < 0xC0) {
        return 1;
    }
    return lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

std::string utf8FromCp932(std::string_view cp932) {
    return convert("UTF-8", "CP932", cp932, [](std::string& out, std::string_view) {
        out += "\xEF\xBF\xBD";
        return size_t{1};
    });
}

std::u16string utf16FromCp932(std::string_view cp932) {
    std::string bytes = convert("UTF-16LE", "CP932", cp932, [](std::string& out, std::string_view) {
        out += "\xFD\xFF";
        return size_t{1};
    });
    std::u16string result(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < result.size(); ++i) {
        result[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                          (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
    }
    return result;
}

std::string cp932FromUtf8(std::string_view utf8) {
    return convert("CP932", "UTF-8", utf8, [](std::string& out, std::string_view rest) {
        unsigned char lead = static_cast<unsigned char>(rest[0]);
        size_t len = utf8SequenceLength(lead);
        bool complete = lead >= 0xC0 && rest.size() >= len;
        for (size_t i = 1; complete && i < len; ++i) {
            complete = (static_cast<unsigned char>(rest[i]) & 0xC0) == 0x80;
        }
        if (!complete) {
            return size_t{1};  // invalid byte: dropped
        }
        out += '?';  // a valid character that CP932 cannot hold
        return len;
    });
}

}  // namespace zepa
