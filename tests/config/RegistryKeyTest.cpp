// The registry key holder against the real registry of the test prefix.
#include "config/RegistryKey.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace {

class RegistryKeyTest : public testing::Test {
protected:
    ScratchRegistryTree tree_{HKEY_CURRENT_USER, L"Software\\NVX Systems Test\\RegistryKey"};
};

TEST_F(RegistryKeyTest, OpenCreatesAMissingKeyForReadingAndWriting) {
    ASSERT_FALSE(tree_.KeyExists(L"Deep\\Er"));
    RegistryKey key(HKEY_CURRENT_USER, tree_.Below(L"Deep\\Er"));
    EXPECT_TRUE(tree_.KeyExists(L"Deep\\Er"));
    ASSERT_NE(key.write_handle(), nullptr);
    EXPECT_EQ(key.read_handle(), key.write_handle());
    EXPECT_EQ(key.path(), tree_.Below(L"Deep\\Er"));

    EXPECT_EQ(key.WriteString(L"exe", L"C:\\Program Files\\NVX Systems\\Lumetra.exe"), ERROR_SUCCESS);
    EXPECT_EQ(key.WriteString(L"empty", L""), ERROR_SUCCESS);
    EXPECT_EQ(key.WriteDword(L"InitialLangID", 1031), ERROR_SUCCESS);
    EXPECT_EQ(key.ReadString(L"exe"), L"C:\\Program Files\\NVX Systems\\Lumetra.exe");
    EXPECT_EQ(key.ReadString(L"empty"), L"");
    EXPECT_EQ(key.ReadDword(L"InitialLangID"), 1031u);
    EXPECT_EQ(key.ReadString(L"missing"), std::nullopt);
    EXPECT_EQ(key.ReadDword(L"missing"), std::nullopt);

    // What was written is what the plain registry calls see.
    key.Close();
    EXPECT_EQ(key.read_handle(), nullptr);
    EXPECT_EQ(key.path(), L"");
    RegistryKey again(HKEY_CURRENT_USER, tree_.Below(L"Deep\\Er"));
    DWORD type = 0, value = 0, size = sizeof(value);
    ASSERT_EQ(::RegQueryValueExW(again.read_handle(), L"InitialLangID", nullptr, &type,
                                 reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 1031u);
}

TEST_F(RegistryKeyTest, ReadsStoredTextWhateverItsTerminationAndType) {
    const wchar_t unterminated[] = {L'a', L'b', L'c'};
    ASSERT_TRUE(tree_.SetRaw(L"", L"unterminated", REG_SZ, unterminated, sizeof(unterminated)));
    const char odd[] = {'x', '\0', 'y'}; // an odd number of bytes
    ASSERT_TRUE(tree_.SetRaw(L"", L"odd", REG_SZ, odd, sizeof(odd)));
    const wchar_t expand[] = L"%TEMP%\\x";
    ASSERT_TRUE(tree_.SetRaw(L"", L"expand", REG_EXPAND_SZ, expand, sizeof(expand)));
    std::wstring long_text(5000, L'L');
    ASSERT_TRUE(tree_.SetString(L"", L"long", long_text));

    RegistryKey key(HKEY_CURRENT_USER, tree_.path());
    EXPECT_EQ(key.ReadString(L"unterminated"), L"abc");
    std::optional<std::wstring> odd_text = key.ReadString(L"odd");
    ASSERT_TRUE(odd_text);
    EXPECT_EQ(odd_text->substr(0, 1), L"x");
    EXPECT_EQ(key.ReadString(L"expand"), L"%TEMP%\\x"); // not expanded
    EXPECT_EQ(key.ReadString(L"long"), long_text);
}

TEST_F(RegistryKeyTest, ReadsFourBytesAsANumberWhateverTheStoredType) {
    const DWORD binary = 2052;
    ASSERT_TRUE(tree_.SetRaw(L"", L"binary", REG_BINARY, &binary, sizeof(binary)));
    ASSERT_TRUE(tree_.SetString(L"", L"text", L"1031"));
    const BYTE eight[8] = {1, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(tree_.SetRaw(L"", L"qword", REG_QWORD, eight, sizeof(eight)));

    RegistryKey key(HKEY_CURRENT_USER, tree_.path());
    EXPECT_EQ(key.ReadDword(L"binary"), 2052u);
    EXPECT_EQ(key.ReadDword(L"text"), std::nullopt);  // ten bytes do not fit
    EXPECT_EQ(key.ReadDword(L"qword"), std::nullopt); // neither do eight
}

TEST_F(RegistryKeyTest, EnumeratesEverySubkeyBeyondTheTablesFirstGrowth) {
    std::set<std::wstring> created;
    for (int i = 0; i < 100; ++i) {
        std::wstring name = L"sub" + std::to_wstring(i);
        ASSERT_TRUE(tree_.CreateKey(name));
        created.insert(name);
    }
    RegistryKey key(HKEY_CURRENT_USER, tree_.path());
    Table<wchar_t, wchar_t*> names;
    key.EnumerateSubkeys(names);
    std::set<std::wstring> found;
    for (size_t i = 0; i < names.Count(); ++i)
        found.insert(names.Get(static_cast<ptrdiff_t>(i)));
    EXPECT_EQ(names.Count(), created.size());
    EXPECT_EQ(found, created);
}

TEST_F(RegistryKeyTest, AHolderWithoutHandlesReadsNothingAndRefusesWrites) {
    // A root that is no key at all: neither creating nor opening works.
    RegistryKey key(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), L"x");
    EXPECT_EQ(key.read_handle(), nullptr);
    EXPECT_EQ(key.write_handle(), nullptr);
    EXPECT_EQ(key.ReadString(L"exe"), std::nullopt);
    EXPECT_EQ(key.ReadDword(L"InitialLangID"), std::nullopt);
    EXPECT_EQ(key.WriteString(L"exe", L"x"), ERROR_CANTWRITE);
    EXPECT_EQ(key.WriteDword(L"InitialLangID", 1), ERROR_CANTWRITE);
    Table<wchar_t, wchar_t*> names;
    key.EnumerateSubkeys(names);
    EXPECT_EQ(names.Count(), 0u);
}

TEST_F(RegistryKeyTest, AnAttachedReadOnlyKeyReadsButDoesNotWrite) {
    ASSERT_TRUE(tree_.SetString(L"", L"exe", L"C:\\x.exe"));
    HKEY opened = nullptr;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, tree_.path().c_str(), 0, KEY_READ, &opened), ERROR_SUCCESS);
    RegistryKey key;
    key.Attach(opened);
    EXPECT_EQ(key.read_handle(), opened);
    EXPECT_EQ(key.write_handle(), nullptr);
    EXPECT_EQ(key.ReadString(L"exe"), L"C:\\x.exe");
    EXPECT_EQ(key.WriteString(L"exe", L"changed"), ERROR_CANTWRITE);
    key.Close();
    EXPECT_EQ(key.read_handle(), nullptr);
}

} // namespace
