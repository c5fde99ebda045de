// DLL planting, tried on the real installer: DLLs named like system DLLs that are not KnownDLLs
// (wininet.dll, msi.dll, d2d1.dll, and dwrite.dll, which Direct2D loads lazily) lie beside a copy of it, and
// Wine is told to prefer DLLs it finds over its own for that program (the search order of Windows). None of
// them may be loaded, and the installer must still use the system's: its installed-product check reaches
// Windows Installer, which answers a product code it cannot read with error 87.
#include "app/SingleInstance.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScratchRegistry.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cwctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace nvxtest;

namespace {

namespace fs = std::filesystem;

const wchar_t* const kPlantedDlls[] = {L"wininet.dll", L"msi.dll", L"d2d1.dll", L"dwrite.dll"};
constexpr wchar_t kProductCheck[] = L"Failed to get installed product info, error code: ";
constexpr wchar_t kProductCheckFailure[] = L"Failed to get installed product info, error code: 87";

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towlower(c); });
    return text;
}

std::string ReadFile(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Wine's own DLLs come after DLLs it finds, as on Windows, for the planted DLLs and the one
// program named (by file name, so the copies get names of their own), for one scope.
class CNativeFirstOverrides {
public:
    explicit CNativeFirstOverrides(const std::wstring& program)
        : key_(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides") {
        for (const wchar_t* dll : kPlantedDlls) {
            std::wstring name(dll);
            EXPECT_TRUE(key_.SetString(L"", name.substr(0, name.find(L'.')).c_str(), L"native,builtin"));
        }
    }

private:
    ScratchRegistryTree key_;
};

// Full paths of the modules loaded in a process, lower case.
std::vector<std::wstring> LoadedModules(DWORD process_id) {
    std::vector<std::wstring> modules;
    nvx::UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process_id));
    if (!snapshot)
        return modules;
    MODULEENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Module32FirstW(snapshot.get(), &entry); more;
         more = ::Module32NextW(snapshot.get(), &entry))
        modules.push_back(Lower(entry.szExePath));
    return modules;
}

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH];
    UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    return Lower(std::wstring(folder, length));
}

// A folder as a user's Downloads folder might be: the program, its manifest, and the planted
// DLLs beside it.
class DllPlanting : public testing::Test {
protected:
    void SetUp() override {
        fs::path build = BuildFolder();
        std::string manifest = ReadFile(build / "config" / "manifestPro.xml");
        size_t code = manifest.find("<product_code>");
        ASSERT_NE(code, std::string::npos);
        code += std::size("<product_code>") - 1;
        manifest.replace(code, manifest.find("</product_code>") - code, "not-a-product-code");
        folder_.Write("config/manifestPro.xml", manifest);
        for (const wchar_t* dll : kPlantedDlls)
            fs::copy_file(build / "tests" / "planted" / dll, folder_.path() / dll);
    }

    std::vector<std::wstring> Markers() const {
        std::vector<std::wstring> found;
        for (const wchar_t* dll : kPlantedDlls)
            if (fs::exists(folder_.path() / (std::wstring(dll) + L".loaded")))
                found.push_back(dll);
        return found;
    }

    // Copies a program of the build into the folder under `name` and answers its path there.
    std::wstring Place(const fs::path& program, const std::wstring& name) const {
        fs::path copy = folder_.path() / name;
        fs::copy_file(program, copy);
        return copy.wstring();
    }

    ScratchFolder folder_{"nvx-planting"};
};

TEST_F(DllPlanting, TheInstallerLoadsNoPlantedDllAndStillUsesTheSystemOnes) {
    std::wstring installer_path = Place(fs::path(InstallerExePath()), L"nvx-planting-webinstaller.exe");
    CNativeFirstOverrides native_first(L"nvx-planting-webinstaller.exe");
    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n", installer_path));

    // The product check reports what Windows Installer answered in a message box.
    HWND box = nullptr;
    std::wstring box_text;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND window : installer.TopLevelWindows()) {
                std::wstring text = ClassName(window) == L"#32770" ? ChildTexts(window) : L"";
                if (text.find(kProductCheck) != std::wstring::npos) {
                    box = window;
                    box_text = text;
                }
            }
            return box != nullptr || !installer.IsRunning();
        },
        30000));
    ASSERT_TRUE(box) << "no message box of the product check";

    // While the box waits, wininet.dll and msi.dll are in use, both from the system folder, and
    // no planted DLL has been loaded.
    EXPECT_TRUE(Markers().empty()) << testing::PrintToString(Markers());
    const std::wstring system_folder = SystemFolder();
    std::vector<std::wstring> modules = LoadedModules(installer.ProcessId());
    for (const wchar_t* dll : {L"wininet.dll", L"msi.dll"}) {
        std::wstring expected = system_folder + L"\\" + dll;
        EXPECT_NE(std::find(modules.begin(), modules.end(), expected), modules.end())
            << testing::PrintToString(expected) << " is not loaded";
    }
    const std::wstring planted_folder = Lower(folder_.wpath());
    for (const std::wstring& module : modules) {
        if (module.starts_with(planted_folder)) {
            EXPECT_EQ(module, Lower(installer_path)) << "loaded from the program's folder";
        }
    }
    // Only the system's msi.dll can read the product code and refuse it as invalid (87).
    EXPECT_NE(box_text.find(kProductCheckFailure), std::wstring::npos) << testing::PrintToString(box_text);

    HWND ok = FindChildByText(box, L"OK");
    ASSERT_TRUE(ok);
    PressButton(ok);
    HWND guide = installer.WaitForWindow(kInstallerWindowClass, L"Lumetra Professional", 30000);
    ASSERT_TRUE(guide) << "the wizard did not open";
    ASSERT_TRUE(CloseWizardConfirming(installer, guide, 30000));
    EXPECT_TRUE(installer.WaitForExit(30000));

    EXPECT_TRUE(Markers().empty()) << testing::PrintToString(Markers());
}

TEST_F(DllPlanting, APlainNameLoadInTheSameFolderPicksThePlantedDllsUp) {
    // Shows that the check above can fail: with the same override, a program that loads the
    // DLLs by their plain names (as a static import does) gets the planted ones.
    std::wstring loader = Place(fs::path(BuildFolder()) / "tests" / "planted" / "plain_load_library.exe",
                                L"nvx-planting-loader.exe");
    CNativeFirstOverrides native_first(L"nvx-planting-loader.exe");
    CInstallerProcess process;
    ASSERT_TRUE(process.Start(L"wininet.dll msi.dll d2d1.dll dwrite.dll", loader));
    DWORD loaded = 0;
    ASSERT_TRUE(process.WaitForExit(30000, &loaded));
    EXPECT_EQ(loaded, 4u);
    EXPECT_EQ(Markers(), (std::vector<std::wstring>{L"wininet.dll", L"msi.dll", L"d2d1.dll", L"dwrite.dll"}));
    std::string marker = ReadFile(folder_.path() / L"wininet.dll.loaded");
    std::wstring loaded_by(reinterpret_cast<const wchar_t*>(marker.data()), marker.size() / sizeof(wchar_t));
    EXPECT_EQ(Lower(loaded_by), Lower(loader));
}

} // namespace
