// The message for a download its volume cannot take: the drive and the megabytes to free.
#include "engine/DiskSpaceMessage.h"
#include "localization/UIStrings.h"
#include "net/RetryRules.h"

#include <gtest/gtest.h>

TEST(DiskSpaceMessage, NamesTheDriveAndTheMegabytesTheFileNeedsWithItsMargin) {
    EXPECT_EQ(VolumeOfPath(L"C:\\Users\\a\\AppData\\Local\\Temp\\msi\\p.msi"), L"C:");
    EXPECT_EQ(VolumeOfPath(L"\\\\server\\share\\folder\\p.msi"), L"\\\\server\\share");
    EXPECT_EQ(VolumeOfPath(L"\\\\server"), L"\\\\server");
    EXPECT_EQ(VolumeOfPath(L"relative\\p.msi"), L"relative\\p.msi");

    const uint64_t margin_mib = kFreeSpaceMarginBytes >> 20;
    EXPECT_EQ(MegabytesNeeded(0), margin_mib);
    EXPECT_EQ(MegabytesNeeded(1), margin_mib + 1) << "rounded up";
    EXPECT_EQ(MegabytesNeeded(300ull << 20), margin_mib + 300);

    EXPECT_EQ(DiskSpaceMessage(L"Drive %s needs %s MB (100%%).", L"D:\\msi\\p.msi", 300ull << 20),
              L"Drive D: needs " + std::to_wstring(margin_mib + 300) + L" MB (100%).");
    std::wstring english = DiskSpaceMessage(ui::kErrDownloadDiskSpace.default_text, L"E:\\x", 1);
    EXPECT_NE(english.find(L"drive E: "), std::wstring::npos) << "the drive is named";
    EXPECT_NE(english.find(L" " + std::to_wstring(margin_mib + 1) + L" MB"), std::wstring::npos);
    EXPECT_EQ(english.find(L"%s"), std::wstring::npos);
}
