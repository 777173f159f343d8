// Reads a fuzzer's bytes as the values a harness needs: numbers from the front, the rest as a
// file's bytes. Reading past the end gives zeros, so every input is usable.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace zepa::fuzz {

class FuzzInput {
  public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint16_t u16() { return static_cast<uint16_t>(byte() | byte() << 8); }
    uint32_t u32() { return static_cast<uint32_t>(u16()) | static_cast<uint32_t>(u16()) << 16; }
    int32_t i32() { return static_cast<int32_t>(u32()); }
    // A value in [0, count) for a small choice.
    int pick(int count) { return count <= 0 ? 0 : byte() % count; }
    bool flag() { return (byte() & 1) != 0; }

    bool empty() const { return at_ >= size_; }
    // Everything not read yet.
    std::string_view rest() {
        const std::string_view r(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
        at_ = size_;
        return r;
    }
    // The unread bytes up to the next occurrence of the separator (which is skipped), or all
    // of them.
    std::string_view until(std::string_view separator) {
        const std::string_view r(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
        const size_t end = r.find(separator);
        if (end == std::string_view::npos) {
            at_ = size_;
            return r;
        }
        at_ += end + separator.size();
        return r.substr(0, end);
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Parts of an input that holds several files, one after another.
inline constexpr std::string_view kFileSeparator = "\n--zepa-next-file--\n";

std::vector<std::string_view> splitFiles(FuzzInput& in, size_t maxFiles);

}  // namespace zepa::fuzz
