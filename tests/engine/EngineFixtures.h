#pragma once
// What the engine tests install from and check against: the built fixtures, a folder the
// loopback nginx serves them from, an installer folder with its manifest, the log the fixture
// installers write, and the machine state (products, registry keys) cleaned before and after.
#include "config/ManifestInfo.h"
#include "tests/support/ScratchRegistry.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace enginetest {

inline constexpr wchar_t kProductKey[] = L"SOFTWARE\\NVX Systems Test\\Engine";
inline constexpr wchar_t kBonjourProductCode[] = L"{7D47A366-935F-4E9C-A476-9EAA41EE541B}";
inline constexpr wchar_t kHomepage[] = L"http://127.0.0.1/lumetra/welcome.html";

// A built fixture (engine_fixture_installer.exe, LumetraEngineTest.msi, 1031.mst, ...).
std::wstring FixturePath(const std::wstring& name);

// Removes a product quietly when it is installed.
void UninstallProduct(const std::wstring& product_code);
// The installed version of a product; empty when not installed.
std::wstring InstalledVersion(const std::wstring& product_code);

bool FileExists(const std::wstring& path);
bool CopyFixture(const std::wstring& fixture, const std::wstring& target);
// Removes a folder with everything in it.
void RemoveTree(const std::wstring& folder);

// A folder below the loopback nginx's document root, removed afterwards.
class CServedFolder {
public:
    CServedFolder();
    ~CServedFolder();
    CServedFolder(const CServedFolder&) = delete;
    CServedFolder& operator=(const CServedFolder&) = delete;

    // Serves a built fixture under a name; the name's URL.
    std::wstring Serve(const std::wstring& fixture, const std::wstring& served_name);
    // Serves bytes under a name; the name's URL.
    std::wstring ServeText(const std::string& bytes, const std::wstring& served_name);
    std::wstring Url(const std::wstring& served_name) const;

private:
    std::wstring folder_;
    std::wstring url_path_;
};

// The release section of version.xml. By default it lets both a first installation and an
// update of 17.0.0.100 proceed (this installer is 1.0.0.5).
std::string VersionXml(const std::wstring& patch_version = L"17.0.0.101",
                       const std::wstring& fresh_minimum_installer = L"1.0.0.1");

// The manifest every engine test starts from: the test product, its key and executable; no
// dependencies, transforms or packs.
ManifestInfo BaseManifest();

// The folder an installer runs from (with the manifest in config\), below a scratch folder
// whose own path has no spaces; removed afterwards.
class CInstallerFolder {
public:
    // `name` may contain spaces ("Some Name").
    explicit CInstallerFolder(const std::wstring& name = L"installer");
    ~CInstallerFolder();
    CInstallerFolder(const CInstallerFolder&) = delete;
    CInstallerFolder& operator=(const CInstallerFolder&) = delete;

    const std::wstring& scratch() const noexcept { return scratch_; }
    const std::wstring& module_folder() const noexcept { return module_folder_; }
    std::wstring module_path() const { return module_folder_ + L"\\webinstaller.exe"; }
    void WriteManifest(const ManifestInfo& manifest) const;

private:
    std::wstring scratch_;
    std::wstring module_folder_;
};

// The lines the fixture installers record (NVX_ENGINE_TEST_LOG), and the product key the
// language packs write below (NVX_ENGINE_TEST_PRODUCT_KEY), for the life of the object.
class CFixtureLog {
public:
    CFixtureLog();
    ~CFixtureLog();
    CFixtureLog(const CFixtureLog&) = delete;
    CFixtureLog& operator=(const CFixtureLog&) = delete;

    // "<file name>|<command line>" per start, in order.
    std::vector<std::wstring> Lines() const;
    // The command line of the first start of a program whose file name ends with `name`; empty
    // when it never started.
    std::wstring CommandLineOf(const std::wstring& name) const;

private:
    std::wstring path_;
};

// The registry and products the engine tests touch, cleaned before and after each test: the
// prerequisites' keys, the product key, the companion key, the test products.
class CCleanMachine {
public:
    CCleanMachine();
    ~CCleanMachine();
    CCleanMachine(const CCleanMachine&) = delete;
    CCleanMachine& operator=(const CCleanMachine&) = delete;

    const ScratchRegistryTree& product_key() const { return *trees_.front(); }

private:
    void RemoveProducts();
    std::vector<std::unique_ptr<ScratchRegistryTree>> trees_;
};

// Folder the product is installed into in the tests (created, as the settings page would).
std::wstring ChosenInstallFolder();

} // namespace enginetest
