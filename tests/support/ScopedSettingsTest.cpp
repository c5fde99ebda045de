// The guards put back what a test changed, whether the setting was there before or not.
#include "tests/support/ScopedSettings.h"

#include <gtest/gtest.h>

#include <vector>

using namespace nvxtest;

namespace {

constexpr wchar_t kVariable[] = L"NVX_SCOPED_SETTINGS_TEST";
constexpr wchar_t kTestKey[] = L"Software\\NVX Systems Test\\ScopedSettings";

std::optional<std::wstring> Variable() {
    wchar_t value[64];
    ::SetLastError(ERROR_SUCCESS); // an empty variable answers 0 as well, without an error
    DWORD length = ::GetEnvironmentVariableW(kVariable, value, 64);
    if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND)
        return std::nullopt;
    return std::wstring(value, length);
}

std::wstring CurrentDirectory() {
    wchar_t folder[MAX_PATH];
    return std::wstring(folder, ::GetCurrentDirectoryW(MAX_PATH, folder));
}

std::optional<RegistryValueData> Stored(const std::wstring& sub_key, const wchar_t* name) {
    return ReadRegistryValue(HKEY_CURRENT_USER, sub_key, name);
}

TEST(ScopedSettings, EnvironmentVariableComesBackOrGoesAgain) {
    ASSERT_TRUE(::SetEnvironmentVariableW(kVariable, nullptr));
    {
        CScopedEnvironmentVariable set(kVariable, L"first");
        EXPECT_EQ(Variable(), L"first");
        {
            CScopedEnvironmentVariable removed(kVariable, std::nullopt);
            EXPECT_EQ(Variable(), std::nullopt);
            CScopedEnvironmentVariable empty(kVariable, L"");
            EXPECT_EQ(Variable(), L"");
        }
        EXPECT_EQ(Variable(), L"first");
    }
    EXPECT_EQ(Variable(), std::nullopt);
}

TEST(ScopedSettings, CurrentDirectoryComesBack) {
    const std::wstring before = CurrentDirectory();
    wchar_t system_folder[MAX_PATH];
    std::wstring other(system_folder, ::GetSystemDirectoryW(system_folder, MAX_PATH));
    ASSERT_NE(other, before);
    {
        CScopedCurrentDirectory moved(other);
        ASSERT_TRUE(moved.changed());
        EXPECT_EQ(CurrentDirectory(), other);
    }
    EXPECT_EQ(CurrentDirectory(), before);
    CScopedCurrentDirectory missing(L"Z:\\no\\such\\folder\\at\\all");
    EXPECT_FALSE(missing.changed());
    EXPECT_EQ(CurrentDirectory(), before);
}

TEST(ScopedSettings, ErrorModeAndThreadLocaleComeBack) {
    const UINT mode = ::GetErrorMode();
    const LCID locale = ::GetThreadLocale();
    const LCID other_locale = locale == MAKELCID(0x0407, SORT_DEFAULT) ? MAKELCID(0x040C, SORT_DEFAULT)
                                                                       : MAKELCID(0x0407, SORT_DEFAULT);
    {
        CScopedErrorMode quiet(mode ^ SEM_NOGPFAULTERRORBOX);
        CScopedThreadLocale german(other_locale);
        EXPECT_EQ(::GetErrorMode(), mode ^ SEM_NOGPFAULTERRORBOX);
        EXPECT_EQ(::GetThreadLocale(), other_locale);
    }
    EXPECT_EQ(::GetErrorMode(), mode);
    EXPECT_EQ(::GetThreadLocale(), locale);
}

TEST(ScopedSettings, RegistryValueComesBackWithItsTypeAndBytes) {
    const std::wstring key = std::wstring(kTestKey) + L"\\Kept";
    // An expandable string stored without its terminator, as some programs write them.
    const wchar_t unterminated[] = {L'%', L'T', L'M', L'P', L'%'};
    {
        CScopedRegistryValue original(HKEY_CURRENT_USER, key, L"Value");
        ASSERT_TRUE(original.Set(REG_EXPAND_SZ, unterminated, sizeof(unterminated)));
        const std::optional<RegistryValueData> before = Stored(key, L"Value");
        ASSERT_TRUE(before);
        {
            CScopedRegistryValue changed(HKEY_CURRENT_USER, key, L"Value");
            ASSERT_TRUE(changed.SetDword(7));
            EXPECT_EQ(Stored(key, L"Value")->type, static_cast<DWORD>(REG_DWORD));
        }
        EXPECT_EQ(Stored(key, L"Value"), before);
        {
            CScopedRegistryValue deleted(HKEY_CURRENT_USER, key, L"Value");
            ASSERT_TRUE(deleted.Delete());
            EXPECT_FALSE(Stored(key, L"Value"));
        }
        EXPECT_EQ(Stored(key, L"Value"), before);
    }
    // The first guard made the keys to hold its value: they are gone with it.
    EXPECT_FALSE(Stored(key, L"Value"));
    EXPECT_FALSE(RegistryKeyExists(HKEY_CURRENT_USER, kTestKey));
}

TEST(ScopedSettings, RegistryKeyThatGainedOtherValuesStays) {
    const std::wstring key = std::wstring(kTestKey) + L"\\Shared";
    {
        CScopedRegistryValue guard(HKEY_CURRENT_USER, key, L"Value");
        ASSERT_TRUE(guard.SetString(L"mine"));
        DWORD other = 1;
        ASSERT_EQ(
            ::RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), L"Other", REG_DWORD, &other, sizeof(other)),
            ERROR_SUCCESS);
    }
    EXPECT_FALSE(Stored(key, L"Value"));
    EXPECT_TRUE(Stored(key, L"Other"));
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kTestKey);
}

} // namespace
