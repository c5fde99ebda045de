#include "tests/engine/EngineFixtures.h"

#include "framework/Msi.h"
#include "engine/Prerequisites.h"
#include "engine/ProductSettings.h"
#include "framework/Handles.h"
#include "tests/net/NetServers.h"
#include "tests/support/ProcessRun.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace enginetest {

namespace {

// Products the tests may leave installed when they fail half way.
const wchar_t* const kTestProductCodes[] = {
    NVX_ENGINE_PRODUCT_CODE,
    kBonjourProductCode,
    L"{BFF4A9CE-F454-4F7D-8E2E-29C328584230}", // EngineFailing.msi
    L"{51B8D96D-E2D0-4014-92C2-BAD16969773B}", // EngineHolding.msi
    L"{0A4F2C6E-81B3-4D57-9E28-C61D0B7A3F45}", // EngineReboot.msi
};

std::wstring Widen(const std::string& text) {
    if (text.empty())
        return {};
    int size = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                     nullptr, nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), size,
                          nullptr, nullptr);
    return narrow;
}

std::string Escaped(const std::wstring& text) {
    std::string escaped;
    for (char c : Utf8(text)) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string Element(const char* name, const std::wstring& text) {
    return std::string("<") + name + ">" + Escaped(text) + "</" + name + ">";
}

std::wstring TempFolder() {
    wchar_t path[MAX_PATH + 1];
    DWORD length = ::GetTempPathW(MAX_PATH + 1, path);
    return std::wstring(path, length);
}

// The current test's name, usable in a path.
std::wstring TestName() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::wstring name = Widen(std::string(info->test_suite_name()) + "-" + info->name());
    std::replace_if(
        name.begin(), name.end(), [](wchar_t c) { return !iswalnum(c) && c != L'-'; }, L'_');
    return name;
}

void CreateFolders(const std::wstring& folder) {
    ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
}

} // namespace

std::wstring FixturePath(const std::wstring& name) {
    std::string unix_path = NVX_ENGINE_FIXTURES;
    std::replace(unix_path.begin(), unix_path.end(), '/', '\\');
    return L"Z:" + Widen(unix_path) + L"\\" + name;
}

std::wstring InstalledVersion(const std::wstring& product_code) {
    wchar_t version[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    if (nvx::msi::MsiGetProductInfoW(product_code.c_str(), INSTALLPROPERTY_VERSIONSTRING, version, &size) !=
        ERROR_SUCCESS)
        return {};
    return version;
}

void UninstallProduct(const std::wstring& product_code) {
    if (!InstalledVersion(product_code).empty())
        nvxtest::RunMsiexec(L"/x " + product_code + L" /qn");
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool CopyFixture(const std::wstring& fixture, const std::wstring& target) {
    CreateFolders(target.substr(0, target.rfind(L'\\')));
    return ::CopyFileW(FixturePath(fixture).c_str(), target.c_str(), FALSE) != FALSE;
}

void RemoveTree(const std::wstring& folder) {
    std::error_code ignored;
    std::filesystem::remove_all(std::filesystem::path(folder), ignored);
}

CServedFolder::CServedFolder() {
    std::wstring name = L"engine-" + nettest::NewTag();
    folder_ = nettest::ServersFolder() + L"\\www\\" + name;
    url_path_ = L"/" + name + L"/";
    CreateFolders(folder_);
}

CServedFolder::~CServedFolder() {
    RemoveTree(folder_);
}

std::wstring CServedFolder::Serve(const std::wstring& fixture, const std::wstring& served_name) {
    EXPECT_TRUE(CopyFixture(fixture, folder_ + L"\\" + served_name)) << Utf8(fixture);
    return Url(served_name);
}

std::wstring CServedFolder::ServeText(const std::string& bytes, const std::wstring& served_name) {
    std::ofstream(std::filesystem::path(folder_ + L"\\" + served_name), std::ios::binary) << bytes;
    return Url(served_name);
}

std::wstring CServedFolder::Url(const std::wstring& served_name) const {
    return nettest::ServerUrl(L"http", url_path_ + served_name);
}

std::string VersionXml(const std::wstring& patch_version, const std::wstring& fresh_minimum_installer) {
    const std::string download = Element("web_installer_download_url", L"http://127.0.0.1/none.exe");
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<nvxwebinstaller>" +
           Element("product_code", NVX_ENGINE_PRODUCT_CODE) + "<fresh_install>" +
           Element("product_version", L"17.0.0.100") +
           Element("min_web_installer_version", fresh_minimum_installer) + download + "</fresh_install>" +
           "<patch_install>" + Element("product_version", patch_version) +
           Element("min_web_installer_version", L"1.0.0.1") + download +
           "</patch_install></nvxwebinstaller>\n";
}

ManifestInfo BaseManifest() {
    ManifestInfo manifest;
    manifest.web_installer_version = L"1.0.0.5";
    manifest.product_code = NVX_ENGINE_PRODUCT_CODE;
    manifest.pid = L"LUMPRO17EN";
    manifest.full_name = L"Lumetra Engine Test";
    manifest.short_name = L"Lumetra";
    manifest.registry = kProductKey;
    manifest.standalone_version = L"17.0.0.100";
    manifest.main_component_name = L"LumetraEngineTest.msi";
    manifest.main_component_executable = L"Lumetra.exe";
    manifest.main_component_url = L"http://127.0.0.1/unused.msi";
    return manifest;
}

// The optional pin, when there is one.
std::string Pin(const std::optional<std::wstring>& sha256) {
    return sha256 ? Element("sha256", *sha256) : std::string();
}

std::string ManifestXml(const ManifestInfo& m) {
    std::ostringstream xml;
    xml << "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<nvxwebinstaller>"
        << Element("web_installer_version", m.web_installer_version)
        << Element("product_code", m.product_code) << "<product>" << Element("pid", m.pid)
        << Element("full_name", m.full_name) << Element("short_name", m.short_name)
        << Element("registry", m.registry) << Element("standalone", m.standalone ? L"true" : L"false")
        << Element("standalone_version", m.standalone_version)
        << Element("version_check_url", m.version_check_url) << "<main_component>"
        << Element("name", m.main_component_name) << Element("executable", m.main_component_executable)
        << Element("full_url", m.main_component_url) << Pin(m.main_component_sha256);
    for (const TransformInfo& t : m.transforms)
        xml << "<transform>" << Element("lang_id", std::to_wstring(t.lang_id)) << Element("name", t.name)
            << Element("full_url", t.full_url) << Pin(t.sha256) << "</transform>";
    xml << "</main_component>";
    for (const LanguagePackInfo& p : m.language_packs)
        xml << "<language_pack>" << Element("lang_id", std::to_wstring(p.lang_id)) << Element("pid", p.pid)
            << Element("name", p.name) << Element("full_url", p.full_url) << Pin(p.sha256)
            << "</language_pack>";
    for (const DependencyInfo& d : m.dependencies)
        xml << "<dependency>" << Element("name", d.name) << Element("full_url", d.full_url)
            << Element("install_commandline", d.install_commandline) << Pin(d.sha256) << "</dependency>";
    xml << "</product></nvxwebinstaller>\n";
    return xml.str();
}

CInstallerFolder::CInstallerFolder(const std::wstring& name) {
    scratch_ = TempFolder() + L"nvx-engine-" + TestName();
    RemoveTree(scratch_);
    module_folder_ = scratch_ + L"\\" + name;
    CreateFolders(module_folder_ + L"\\config");
}

CInstallerFolder::~CInstallerFolder() {
    RemoveTree(scratch_);
}

void CInstallerFolder::WriteManifest(const ManifestInfo& manifest) const {
    std::ofstream(std::filesystem::path(module_folder_ + L"\\config\\manifestPro.xml"), std::ios::binary)
        << ManifestXml(manifest);
}

CFixtureLog::CFixtureLog() {
    path_ = TempFolder() + L"nvx-engine-fixtures-" + TestName() + L".log";
    ::DeleteFileW(path_.c_str());
    ::SetEnvironmentVariableW(L"NVX_ENGINE_TEST_LOG", path_.c_str());
    ::SetEnvironmentVariableW(L"NVX_ENGINE_TEST_PRODUCT_KEY", kProductKey);
}

CFixtureLog::~CFixtureLog() {
    ::SetEnvironmentVariableW(L"NVX_ENGINE_TEST_LOG", nullptr);
    ::SetEnvironmentVariableW(L"NVX_ENGINE_TEST_PRODUCT_KEY", nullptr);
    ::DeleteFileW(path_.c_str());
}

std::vector<std::wstring> CFixtureLog::Lines() const {
    std::ifstream in(std::filesystem::path(path_), std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::wstring> lines;
    std::istringstream stream(bytes);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(Widen(line));
    return lines;
}

std::wstring CFixtureLog::CommandLineOf(const std::wstring& name) const {
    for (const std::wstring& line : Lines()) {
        size_t bar = line.find(L'|');
        std::wstring file = line.substr(0, bar);
        if (bar != std::wstring::npos && file.size() >= name.size() &&
            file.compare(file.size() - name.size(), name.size(), name) == 0)
            return line.substr(bar + 1);
    }
    return {};
}

CCleanMachine::CCleanMachine() {
    RemoveProducts();
    trees_.push_back(std::make_unique<ScratchRegistryTree>(HKEY_LOCAL_MACHINE, kProductKey));
    trees_.push_back(std::make_unique<ScratchRegistryTree>(HKEY_CURRENT_USER, kProductKey));
    trees_.push_back(std::make_unique<ScratchRegistryTree>(HKEY_CURRENT_USER, kResourceLanguageKey));
    trees_.push_back(std::make_unique<ScratchRegistryTree>(HKEY_LOCAL_MACHINE, kVcRuntimeKey));
    trees_.push_back(std::make_unique<ScratchRegistryTree>(HKEY_LOCAL_MACHINE, kWebView2MachineKey));
    trees_.push_back(std::make_unique<ScratchRegistryTree>(HKEY_CURRENT_USER, kWebView2UserKey));
    trees_.push_back(std::make_unique<ScratchRegistryTree>(HKEY_LOCAL_MACHINE, kBonjourKey));
}

CCleanMachine::~CCleanMachine() {
    RemoveProducts();
    trees_.clear();
}

void CCleanMachine::RemoveProducts() {
    for (const wchar_t* code : kTestProductCodes)
        UninstallProduct(code);
    RemoveTree(ChosenInstallFolder());
}

std::wstring ChosenInstallFolder() {
    return L"C:\\Program Files\\NVX Systems Test\\Lumetra Chosen";
}

} // namespace enginetest
