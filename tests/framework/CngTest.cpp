// The SHA-256 of a held file through CNG, against known digests.
#include "config/Sha256Pin.h"
#include "framework/Cng.h"
#include "framework/Handles.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

namespace {

TEST(Cng, Sha256OfAHeldFileFromItsFirstByteWhateverItsFilePointer) {
    ScratchFolder folder("nvx-cng");
    struct Case {
        const char* name;
        std::string bytes;
        const wchar_t* digest;
    };
    const Case cases[] = {
        {"empty", "", L"e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "abc", L"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        // More than one read of 64 KiB: a million times "a".
        {"million", std::string(1000000, 'a'),
         L"cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring path = folder.Write(c.name, c.bytes).wstring();
        nvx::UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(file);
        // The file pointer somewhere in the middle must not matter.
        ::SetFilePointer(file.get(), static_cast<LONG>(c.bytes.size() / 2), nullptr, FILE_BEGIN);
        std::array<uint8_t, 32> digest{};
        ASSERT_TRUE(nvx::cng::Sha256OfFile(file.get(), digest));
        EXPECT_EQ(Sha256Text(digest), c.digest);
    }
    std::array<uint8_t, 32> digest{};
    EXPECT_FALSE(nvx::cng::Sha256OfFile(INVALID_HANDLE_VALUE, digest));
}

} // namespace
