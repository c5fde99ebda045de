// System DLLs loaded at run time: from the system folder only, typed entry points that answer
// an error instead of crashing when the DLL or the function is missing, and the typed layers
// reaching the real functions.
#include "framework/Direct2D.h"
#include "framework/DirectWrite.h"
#include "framework/Msi.h"
#include "framework/SystemLibrary.h"
#include "framework/WinInet.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <string>

using nvx::CSystemEntry;
using nvx::CSystemLibrary;

namespace {

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

std::wstring ModulePath(HMODULE module) {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    return Lower(std::wstring(path, length));
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return Lower(std::wstring(folder, length));
}

using CompareFunction = int(LPCWSTR, LPCWSTR);

} // namespace

TEST(SystemLibrary, LoadsFromTheSystemFolder) {
    for (const wchar_t* name : {L"wininet.dll", L"msi.dll", L"d2d1.dll", L"dwrite.dll"}) {
        CSystemLibrary library(name);
        ASSERT_TRUE(library) << testing::PrintToString(name) << " error " << library.load_error();
        EXPECT_EQ(library.load_error(), static_cast<DWORD>(ERROR_SUCCESS));
        EXPECT_EQ(ModulePath(library.get()), SystemFolder() + L"\\" + name);
    }
}

TEST(SystemLibrary, AMissingLibraryOrEntryPointFailsTheCallWithItsReason) {
    CSystemLibrary missing(L"nvx-no-such-library.dll");
    CSystemLibrary kernel(L"kernel32.dll");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.load_error(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    ASSERT_TRUE(kernel);

    struct Case {
        const char* name;
        const CSystemLibrary& library;
        const char* entry;
        DWORD error;
    };
    const Case cases[] = {
        {"missing library", missing, "lstrcmpW", ERROR_MOD_NOT_FOUND},
        {"missing entry point", kernel, "NvxNoSuchFunction", ERROR_PROC_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CSystemEntry<CompareFunction> entry(c.library, c.entry);
        EXPECT_FALSE(entry);
        EXPECT_EQ(entry.error(), c.error);
        ::SetLastError(ERROR_SUCCESS);
        EXPECT_EQ(entry.CallOr(-7, L"a", L"b"), -7);
        EXPECT_EQ(::GetLastError(), c.error);
    }

    CSystemEntry<CompareFunction> present(kernel, "lstrcmpW");
    ASSERT_TRUE(present);
    EXPECT_EQ(present.error(), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_LT(present.CallOr(-7, L"a", L"b"), 0);
    EXPECT_EQ(present.CallOr(-7, L"b", L"b"), 0);
}

TEST(SystemLibrary, WindowsInstallerAnswersThroughItsTypedEntries) {
    wchar_t version[64] = {};
    DWORD size = 64;
    EXPECT_EQ(
        nvx::msi::MsiGetProductInfoW(L"not-a-product-code", INSTALLPROPERTY_VERSIONSTRING, version, &size),
        static_cast<UINT>(ERROR_INVALID_PARAMETER));
    size = 64;
    EXPECT_EQ(nvx::msi::MsiGetProductInfoW(L"{0D1E2F30-4152-6374-8596-A7B8C9D0E1F2}",
                                           INSTALLPROPERTY_VERSIONSTRING, version, &size),
              static_cast<UINT>(ERROR_UNKNOWN_PRODUCT));

    // The UI level set is the one the next call answers as the previous one.
    INSTALLUILEVEL before = nvx::msi::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    EXPECT_NE(before, INSTALLUILEVEL_NOCHANGE);
    EXPECT_EQ(nvx::msi::MsiSetInternalUI(before, nullptr), INSTALLUILEVEL_NONE);

    INSTALLUI_HANDLERW handler = [](LPVOID, UINT, LPCWSTR) -> INT { return 0; };
    INSTALLUI_HANDLERW previous = nvx::msi::MsiSetExternalUIW(handler, INSTALLLOGMODE_PROGRESS, nullptr);
    EXPECT_EQ(nvx::msi::MsiSetExternalUIW(previous, 0, nullptr), handler);

    // A package that is not there: Windows says it cannot open it, Wine that the file is missing.
    INSTALLUILEVEL level = nvx::msi::MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    UINT result = nvx::msi::MsiInstallProductW(L"C:\\nvx-no-such-folder\\missing.msi", L"");
    nvx::msi::MsiSetInternalUI(level, nullptr);
    EXPECT_TRUE(result == ERROR_INSTALL_PACKAGE_OPEN_FAILED || result == ERROR_FILE_NOT_FOUND) << result;
}

TEST(SystemLibrary, WinInetAnswersThroughItsTypedEntries) {
    HINTERNET session =
        nvx::wininet::InternetOpenW(L"nvx test", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    ASSERT_TRUE(session);
    EXPECT_TRUE(nvx::wininet::InternetCloseHandle(session));
    ::SetLastError(ERROR_SUCCESS);
    URL_COMPONENTSW parts{};
    parts.dwStructSize = sizeof(parts);
    EXPECT_FALSE(nvx::wininet::InternetCrackUrlW(L"no url at all", 0, 0, &parts));
    EXPECT_NE(::GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
}

TEST(SystemLibrary, GraphicsFactoriesComeFromTheirTypedEntries) {
    ID2D1Factory* d2d = nullptr;
    ASSERT_EQ(nvx::d2d1::D2D1CreateFactory(D2D1_FACTORY_TYPE_SINGLE_THREADED, &d2d), S_OK);
    ASSERT_TRUE(d2d);
    d2d->Release();

    IDWriteFactory* dwrite = nullptr;
    ASSERT_EQ(nvx::dwrite::DWriteCreateFactory(DWRITE_FACTORY_TYPE_SHARED, &dwrite), S_OK);
    ASSERT_TRUE(dwrite);
    dwrite->Release();
}
