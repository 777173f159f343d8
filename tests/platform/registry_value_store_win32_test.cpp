// The registry store on a key of its own under HKEY_CURRENT_USER (Wine's registry here),
// removed again after each test.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "platform/registry_value_store.h"
#include "settings/chart_settings.h"
#include "settings/color_table.h"
#include "settings/settings_persistence.h"

namespace zepa::test {
namespace {

class Registry : public ::testing::Test {
  protected:
    Registry()
        : path_(L"Software\\VORNEK\\ZEPA_TEST_" + std::to_wstring(GetCurrentProcessId())),
          store_(path_) {}
    ~Registry() override { RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str()); }

    // Writes a raw value as another program (or a hand edit) would.
    void rawValue(const wchar_t* subkey, const wchar_t* name, DWORD type,
                  const std::vector<BYTE>& bytes) {
        HKEY key = nullptr;
        const std::wstring path = path_ + L"\\" + subkey;
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(
            RegSetValueExW(key, name, 0, type, bytes.data(), static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
        RegCloseKey(key);
    }

    std::wstring path_;
    RegistryValueStore store_;
};

std::vector<BYTE> utf16Bytes(std::wstring_view text) {
    const auto* p = reinterpret_cast<const BYTE*>(text.data());
    return std::vector<BYTE>(p, p + text.size() * sizeof(wchar_t));
}

TEST_F(Registry, ValuesComeBackAsWrittenAndMissingOnesAreReported) {
    std::string text = "unchanged";
    EXPECT_FALSE(store_.readValue("CHART", "SayaMode", text));
    EXPECT_EQ(text, "unchanged");

    const std::vector<std::pair<std::string, std::string>> values = {
        {"SayaMode", "0,1,1,60,60,0,20,1,1,0,25,75,0,0,0,70,5"},
        {"EDITOR", "C:\\エディタ\\編集.exe"},
        {"EMPTY", ""},
    };
    for (const auto& [name, value] : values) {
        EXPECT_TRUE(store_.writeValue("MENU", name, value)) << name;
    }
    for (const auto& [name, value] : values) {
        std::string back;
        EXPECT_TRUE(store_.readValue("MENU", name, back)) << name;
        EXPECT_EQ(back, value) << name;
    }
    EXPECT_FALSE(store_.readValue("CHART", "EDITOR", text));
}

TEST_F(Registry, ForeignValuesAreReadDefensively) {
    // No terminating NUL, an embedded NUL, a number, and a string too long to be one of ours.
    rawValue(L"CHART", L"NoNul", REG_SZ, utf16Bytes(L"1,2,3"));
    rawValue(L"CHART", L"Embedded", REG_SZ, utf16Bytes(std::wstring(L"4,5\0junk", 8)));
    const DWORD number = 7;
    rawValue(L"CHART", L"Number", REG_DWORD,
             std::vector<BYTE>(reinterpret_cast<const BYTE*>(&number),
                               reinterpret_cast<const BYTE*>(&number) + sizeof number));
    rawValue(L"CHART", L"Huge", REG_SZ, utf16Bytes(std::wstring(40000, L'9')));

    const struct {
        const char* name;
        bool found;
        std::string text;
    } cases[] = {
        {"NoNul", true, "1,2,3"},
        {"Embedded", true, "4,5"},
        {"Number", false, ""},
        {"Huge", false, ""},
    };
    for (const auto& c : cases) {
        std::string text;
        EXPECT_EQ(store_.readValue("CHART", c.name, text), c.found) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
}

}  // namespace
}  // namespace zepa::test
