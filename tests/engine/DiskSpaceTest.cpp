// A package its volume cannot take: the engine says so at once, naming the drive and the room
// the file needs, instead of the connection message, and writes nothing.
#include "net/DownloadFileTarget.h"
#include "tests/engine/EngineDriver.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/net/NetServers.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

// A volume with `free_bytes` left, in place of the real one, for one scope.
class CSmallVolume {
public:
    explicit CSmallVolume(uint64_t free_bytes) : previous_(free_space_query) {
        free_space_query = [free_bytes](const std::wstring&, uint64_t& free) {
            free = free_bytes;
            return true;
        };
    }
    ~CSmallVolume() { free_space_query = previous_; }
    CSmallVolume(const CSmallVolume&) = delete;
    CSmallVolume& operator=(const CSmallVolume&) = delete;

private:
    FreeSpaceQuery previous_;
};

} // namespace

TEST(EngineDiskSpace, APackageTheVolumeCannotTakeFailsAtOnceWithTheDriveAndTheRoomNeeded) {
    CCleanMachine machine;
    CServedFolder served;
    CInstallerFolder installer;
    ManifestInfo manifest = BaseManifest();
    manifest.version_check_url = served.ServeText(VersionXml(), L"version.xml");
    // 8 000 000 bytes: with the margin the package needs 24 MB, the volume has 20 (enough for
    // the version file).
    manifest.main_component_url = nettest::ServerUrl(L"fault", L"/status/200?len=8000000");
    installer.WriteManifest(manifest);

    CSmallVolume volume(20ull << 20);
    CEngineDriver driver(installer.module_path());
    driver.Choose(1033, ChosenInstallFolder(), 0);
    EXPECT_EQ(driver.Run(), InstallState::Failed);
    std::vector<nvx::PromptRequest> boxes = driver.Boxes();
    ASSERT_EQ(boxes.size(), 1u) << "the connection message came as well";
    const std::wstring drive = installer.module_path().substr(0, 2);
    EXPECT_NE(boxes[0].text.find(L"There is not enough free space on drive " + drive), std::wstring::npos)
        << testing::PrintToString(boxes[0].text);
    EXPECT_NE(boxes[0].text.find(L"Free at least 24 MB there"), std::wstring::npos);
    EXPECT_EQ(boxes[0].caption, L"Lumetra");
    EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(InstalledVersion(manifest.product_code), L"");
}
