// Prerequisite detection against the registry of the test prefix: the keys and values the real
// components' installers write, and the cases where a component only seems to be there.
#include "engine/Prerequisites.h"
#include "tests/support/ScratchRegistry.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace {

class PrerequisiteDetection : public testing::Test {
protected:
    ScratchRegistryTree webview_machine_{HKEY_LOCAL_MACHINE, kWebView2MachineKey};
    ScratchRegistryTree webview_user_{HKEY_CURRENT_USER, kWebView2UserKey};
    ScratchRegistryTree vc_runtime_{HKEY_LOCAL_MACHINE, kVcRuntimeKey};
    ScratchRegistryTree bonjour_{HKEY_LOCAL_MACHINE, kBonjourKey};
};

} // namespace

TEST_F(PrerequisiteDetection, FindsWhatTheInstallersWrite) {
    auto vc = [](DWORD major, DWORD minor, DWORD bld) {
        return [=](const ScratchRegistryTree& key) {
            return key.SetDword(L"", L"Major", major) && key.SetDword(L"", L"Minor", minor) &&
                   key.SetDword(L"", L"Bld", bld);
        };
    };
    struct Row {
        const char* name;
        const ScratchRegistryTree* key; // null: write nothing
        std::function<bool(const ScratchRegistryTree&)> write;
        const wchar_t* dependency;
        bool installed;
    };
    auto pv = [](const wchar_t* version) {
        return [=](const ScratchRegistryTree& key) { return key.SetString(L"", L"pv", version); };
    };
    const Row rows[] = {
        {"WebView2 machine-wide", &webview_machine_, pv(L"109.0.1518.78"), L"webview2.exe", true},
        {"WebView2 for the current user only", &webview_user_, pv(L"109.0.1518.78"), L"webview2.exe", true},
        {"WebView2 pv 0.0.0.0", &webview_machine_, pv(L"0.0.0.0"), L"webview2.exe", false},
        {"WebView2 pv 0.0.0.0.1", &webview_user_, pv(L"0.0.0.0.1"), L"webview2.exe", true},
        {"WebView2 key without pv", &webview_machine_,
         [](const ScratchRegistryTree& key) { return key.CreateKey(L""); }, L"webview2.exe", false},
        {"nothing there", nullptr, nullptr, L"webview2.exe", false},
        {"upper-case name has no detector", &webview_machine_, pv(L"109.0.1518.78"), L"WebView2.exe", false},
        {"VC 14.29 above the build", &vc_runtime_, vc(14, 29, 30133), L"vc_redist.exe", true},
        {"VC 14.16", &vc_runtime_, vc(14, 16, 40000), L"vc_redist.exe", false},
        {"VC 15.0.0", &vc_runtime_, vc(15, 0, 0), L"vc_redist.exe", false},
        {"VC numbers stored as four binary bytes count too", &vc_runtime_,
         [](const ScratchRegistryTree& key) {
             DWORD major = 14, minor = 30, bld = 18127;
             return key.SetRaw(L"", L"Major", REG_BINARY, &major, 4) &&
                    key.SetRaw(L"", L"Minor", REG_BINARY, &minor, 4) &&
                    key.SetRaw(L"", L"Bld", REG_BINARY, &bld, 4);
         },
         L"vc_redist.exe", true},
        {"VC key without values", &vc_runtime_,
         [](const ScratchRegistryTree& key) { return key.CreateKey(L""); }, L"vc_redist.exe", false},
        {"Bonjour with a version", &bonjour_,
         [](const ScratchRegistryTree& key) { return key.SetString(L"", L"Version", L"3.1.0.1"); },
         L"bonjour.msi", true},
        {"Bonjour key without Version", &bonjour_,
         [](const ScratchRegistryTree& key) { return key.SetString(L"", L"Other", L"3.1.0.1"); },
         L"bonjour.msi", false},
        {"Bonjour 0.0.0.0", &bonjour_,
         [](const ScratchRegistryTree& key) { return key.SetString(L"", L"Version", L"0.0.0.0"); },
         L"bonjour.msi", false},
        {"a dependency without detector", &bonjour_,
         [](const ScratchRegistryTree& key) { return key.SetString(L"", L"Version", L"3.1.0.1"); },
         L"directx.exe", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const ScratchRegistryTree* key : {&webview_machine_, &webview_user_, &vc_runtime_, &bonjour_})
            ::RegDeleteTreeW(key->root(), key->path().c_str());
        if (row.key) {
            ASSERT_TRUE(row.write(*row.key));
        }
        EXPECT_EQ(IsPrerequisiteInstalled(row.dependency), row.installed);
    }
}

TEST_F(PrerequisiteDetection, DetectionCreatesNoKeys) {
    EXPECT_FALSE(IsPrerequisiteInstalled(L"webview2.exe"));
    EXPECT_FALSE(IsPrerequisiteInstalled(L"vc_redist.exe"));
    EXPECT_FALSE(IsPrerequisiteInstalled(L"bonjour.msi"));
    for (const ScratchRegistryTree* key : {&webview_machine_, &webview_user_, &vc_runtime_, &bonjour_})
        EXPECT_FALSE(key->KeyExists(L"")) << testing::PrintToString(key->path());
}
