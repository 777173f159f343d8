#include "platform/registry_value_store.h"

#include <windows.h>

#include <utility>
#include <vector>

#include "base/codepage.h"

namespace zepa {
namespace {

std::string utf8FromWide(std::wstring_view wide) {
    if (wide.empty()) {
        return {};
    }
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), n,
                            nullptr, nullptr);
    }
    return utf8;
}

class Key {
  public:
    Key() = default;
    ~Key() {
        if (key_ != nullptr) {
            RegCloseKey(key_);
        }
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY* out() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

// Values this long are no text the program wrote: a reader that trusts the size would allocate
// whatever a hand-edited registry claims.
constexpr DWORD kLargestValueBytes = 64 * 1024;

}  // namespace

RegistryValueStore::RegistryValueStore() : keyPath_(L"Software\\VORNEK\\ZEPA_CHART") {}

RegistryValueStore::RegistryValueStore(std::wstring keyPath) : keyPath_(std::move(keyPath)) {}

bool RegistryValueStore::readValue(std::string_view subkey, std::string_view name,
                                   std::string& text) {
    Key key;
    const std::wstring path = keyPath_ + L"\\" + wideFromUtf8(subkey);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, key.out()) !=
        ERROR_SUCCESS) {
        return false;
    }
    const std::wstring valueName = wideFromUtf8(name);
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type, nullptr, &bytes) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ) || bytes > kLargestValueBytes) {
        return false;
    }
    // The stored string need not end in a NUL: one more character of room, and the text is
    // cut at the first NUL there is.
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
    DWORD got = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &got) != ERROR_SUCCESS) {
        return false;
    }
    std::wstring_view wide(buffer.data(), got / sizeof(wchar_t));
    if (const size_t nul = wide.find(L'\0'); nul != std::wstring_view::npos) {
        wide = wide.substr(0, nul);
    }
    text = utf8FromWide(wide);
    return true;
}

bool RegistryValueStore::writeValue(std::string_view subkey, std::string_view name,
                                    std::string_view text) {
    Key key;
    const std::wstring path = keyPath_ + L"\\" + wideFromUtf8(subkey);
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_SET_VALUE, nullptr, key.out(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const std::wstring valueName = wideFromUtf8(name);
    const std::wstring wide = wideFromUtf8(text);
    const DWORD bytes = static_cast<DWORD>((wide.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(wide.c_str()), bytes) == ERROR_SUCCESS;
}

}  // namespace zepa
