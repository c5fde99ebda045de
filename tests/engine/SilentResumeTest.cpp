// The whole silent installation through the real installer while the server first answers the
// product package with 503 and then cuts its body off: the run waits, continues the package by
// range, installs the product and ends with 0.
#include "tests/engine/EngineFixtures.h"
#include "tests/net/NetServers.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>

using namespace enginetest;
using namespace nvxtest;

namespace {

constexpr DWORD kTimeout = 180000;

// The path of a served file below nginx's root, from its URL.
std::wstring ServedPath(const std::wstring& url) {
    size_t host = url.find(L"//");
    size_t path = url.find(L'/', host + 2);
    return url.substr(path + 1);
}

} // namespace

TEST(SilentResume, ABusyServerAndACutPackageStillInstallTheProduct) {
    CCleanMachine machine;
    CServedFolder served;
    CInstallerFolder folder;
    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = served.ServeText(VersionXml(), L"version.xml");
    const std::wstring package = ServedPath(served.Serve(L"LumetraEngineTest.msi", L"LumetraEngineTest.msi"));
    const std::wstring tag = nettest::NewTag();
    manifest.main_component_url =
        nettest::ServerUrl(L"fault", L"/flaky?file=" + package + L"&key=" + tag + L"&tag=" + tag +
                                         L"&busy=1&status=503&retry_after=1&cut=20000");
    folder.WriteManifest(manifest);
    ASSERT_TRUE(::CopyFileW(InstallerExePath().c_str(), folder.module_path().c_str(), FALSE));

    CInstallerProcess installer;
    ASSERT_TRUE(installer.Start(L"/n /s", folder.module_path()));
    DWORD exit_code = 1;
    ASSERT_TRUE(installer.WaitForExit(kTimeout, &exit_code));
    EXPECT_EQ(exit_code, 0u);
    EXPECT_EQ(InstalledVersion(manifest.product_code), L"17.0.0.100");
    const std::string requests = nettest::RecordedRequests(tag);
    EXPECT_EQ(nettest::CountOccurrences(requests, "GET "), 3u) << requests;
    EXPECT_EQ(nettest::CountOccurrences(requests, "Range: bytes=20000-"), 1u) << requests;
}
