#include "skin/ImageWrapper.h"

#include "resources/artwork.h"
#include "skin/BlendPicture.h"
#include "skin/WicDecode.h"
#include "tests/support/InstallerProcess.h"

#include <gtest/gtest.h>
#include <objbase.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr std::uint32_t kTruncatedPng = 4100; // this test program's own resource
constexpr std::uint32_t kMissingPng = 4242;

// The decoder works through COM, which the program's UI thread has initialised.
class ComApartment {
public:
    ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT result_;
};

// The artwork is looked up in the real installer, loaded as a data file.
class ArtworkTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        installer_ = ::LoadLibraryExW(nvxtest::InstallerExePath().c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite() {
        if (installer_)
            ::FreeLibrary(installer_);
        installer_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(installer_, nullptr) << "webinstaller.exe not found"; }

    static HMODULE installer_;
    ComApartment com_;
};
HMODULE ArtworkTest::installer_ = nullptr;

const std::uint8_t* Pixels(const CImageWrapper& image) {
    return static_cast<const std::uint8_t*>(DibSectionBits(image.bitmap.get()));
}

struct ArtworkSizes {
    int base_id;
    int sizes[4][2]; // width, height at 100, 125, 150 and 200 %
};

#define SQUARE(id)                                                                                           \
    {                                                                                                        \
        id, {                                                                                                \
            {16, 16}, {20, 20}, {24, 24}, {                                                                  \
                32, 32                                                                                       \
            }                                                                                                \
        }                                                                                                    \
    }

const ArtworkSizes kArtwork[] = {
    SQUARE(IDB_CLOSE_GLYPH),
    SQUARE(IDB_MINIMIZE_GLYPH),
    SQUARE(IDB_MAXIMIZE_GLYPH),
    SQUARE(IDB_RESTORE_GLYPH),
    {IDB_PRODUCT_LOGO, {{161, 26}, {202, 33}, {242, 39}, {321, 52}}},
    {IDB_COMBO_CHEVRONS, {{42, 14}, {54, 18}, {63, 21}, {84, 28}}},
    SQUARE(IDB_CHECK_BOX_CHECKED),
    SQUARE(IDB_CHECK_BOX_UNCHECKED),
    {IDB_CHEVRON_UP, {{14, 8}, {17, 11}, {21, 12}, {28, 16}}},
    {IDB_CHEVRON_DOWN, {{14, 8}, {17, 11}, {21, 12}, {28, 16}}},
};

// Every picture of the artwork in its four sizes, premultiplied pixel for pixel against a plain
// decode of the same resource.
TEST_F(ArtworkTest, EveryPictureLoadsInItsFourSizesPremultiplied) {
    for (const auto& picture : kArtwork) {
        for (int step = 0; step < 4; ++step) {
            const int id = picture.base_id + step;
            SCOPED_TRACE(testing::Message() << "resource " << id);
            auto image = LoadPngResource(id, installer_);
            ASSERT_TRUE(image);
            ASSERT_TRUE(image->bitmap);
            EXPECT_EQ(image->width, picture.sizes[step][0]);
            EXPECT_EQ(image->height, picture.sizes[step][1]);
            EXPECT_EQ(image->frame_count, 1);
            EXPECT_EQ(image->horizontal, 1);

            HRSRC resource = ::FindResourceW(installer_, MAKEINTRESOURCEW(id), L"PNG");
            ASSERT_NE(resource, nullptr);
            DecodedBitmap straight = DecodePictureBytes(::LockResource(::LoadResource(installer_, resource)),
                                                        ::SizeofResource(installer_, resource));
            ASSERT_TRUE(straight.bitmap);
            const auto* plain = static_cast<const std::uint8_t*>(DibSectionBits(straight.bitmap.get()));
            const std::uint8_t* loaded = Pixels(*image);
            ASSERT_NE(loaded, nullptr);
            int visible = 0;
            for (int i = 0; i < image->width * image->height * 4; i += 4) {
                const unsigned alpha = plain[i + 3];
                visible += alpha != 0;
                ASSERT_EQ(loaded[i + 3], alpha) << "pixel " << i / 4;
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(loaded[i + c], plain[i + c] * alpha / 255)
                        << "pixel " << i / 4 << " channel " << c;
            }
            EXPECT_GT(visible, 0) << "an empty picture";
        }
    }
}

TEST_F(ArtworkTest, TheSameIdTwiceGivesTheSameWrapper) {
    auto first = LoadPngResource(IDB_CLOSE_GLYPH, installer_);
    auto second = LoadPngResource(IDB_CLOSE_GLYPH, installer_);
    ASSERT_TRUE(first);
    EXPECT_EQ(first.get(), second.get());
    EXPECT_EQ(first->bitmap.get(), second->bitmap.get());
}

TEST_F(ArtworkTest, AnIdAboveSixteenBitsFindsItsLowBitsButIsCachedApart) {
    auto low = LoadPngResource(IDB_PRODUCT_LOGO + 1, installer_);
    auto high = LoadPngResource(0x10000u | (IDB_PRODUCT_LOGO + 1), installer_);
    ASSERT_TRUE(low);
    ASSERT_TRUE(high);
    EXPECT_NE(low.get(), high.get());
    EXPECT_EQ(high->width, 202);
    EXPECT_EQ(high->height, 33);
    EXPECT_EQ(LoadPngResource(0x10000u | (IDB_PRODUCT_LOGO + 1), installer_).get(), high.get());
}

TEST_F(ArtworkTest, AMissingResourceGivesAnEmptyPointerAndIsNotCached) {
    EXPECT_FALSE(LoadPngResource(kMissingPng, installer_));
    EXPECT_FALSE(LoadPngResource(kMissingPng, installer_));
    // Artwork lives in the installer, not in this test program.
    EXPECT_FALSE(LoadPngResource(IDB_CHEVRON_DOWN + 7));
}

TEST_F(ArtworkTest, ABrokenPictureIsCachedAsAnEmptyWrapper) {
    auto broken = LoadPngResource(kTruncatedPng);
    ASSERT_TRUE(broken);
    EXPECT_FALSE(broken->bitmap);
    EXPECT_EQ(broken->width, 0);
    EXPECT_EQ(broken->height, 0);
    EXPECT_EQ(LoadPngResource(kTruncatedPng).get(), broken.get());
}

// A 16 x 16 DIB filled with the window background, B G R A.
struct Canvas {
    Canvas() {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(info.bmiHeader), 16, -16, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap.reset(
            ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits), nullptr, 0));
        for (int i = 0; i < 16 * 16; ++i) {
            bits[4 * i] = 30;
            bits[4 * i + 1] = 25;
            bits[4 * i + 2] = 24;
        }
    }
    const std::uint8_t* At(int x, int y) {
        ::GdiFlush();
        return bits + 4 * (16 * y + x);
    }

    nvx::UniqueBitmap bitmap;
    std::uint8_t* bits = nullptr;
    nvx::UniqueMemoryDc dc{::CreateCompatibleDC(nullptr)};
};

// The minimize glyph is a solid bar of (220, 220, 220) on row 8 from x = 3 to 12.
TEST_F(ArtworkTest, BlendingDrawsTheGlyphOverTheBackgroundAndDimsIt) {
    auto glyph = LoadPngResource(IDB_MINIMIZE_GLYPH, installer_);
    ASSERT_TRUE(glyph);
    const RECT whole{0, 0, 16, 16};
    const struct {
        BYTE constant_alpha;
        int bar; // expected channel value on the bar, over a background of 24, 25, 30
    } cases[] = {{255, 220}, {50, 62}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "alpha " << int(c.constant_alpha));
        Canvas canvas;
        ASSERT_TRUE(canvas.bitmap);
        nvx::SelectObjectScope select(canvas.dc.get(), canvas.bitmap.get());
        BlendPicture(canvas.dc.get(), whole, glyph->bitmap.get(), whole, c.constant_alpha);
        const std::uint8_t* bar = canvas.At(5, 8);
        EXPECT_NEAR(bar[2], c.bar, 2);
        EXPECT_NEAR(bar[0], c.bar + (c.constant_alpha == 255 ? 0 : 5), 2);
        const std::uint8_t* clear = canvas.At(5, 4);
        EXPECT_EQ(clear[0], 30);
        EXPECT_EQ(clear[2], 24);
    }
    Canvas untouched;
    nvx::SelectObjectScope select(untouched.dc.get(), untouched.bitmap.get());
    BlendPicture(untouched.dc.get(), whole, nullptr, whole);
    EXPECT_EQ(untouched.At(5, 8)[2], 24);
}

class ImageFileTest : public testing::Test {
protected:
    void TearDown() override {
        for (const auto& path : written_)
            ::DeleteFileW(path.c_str());
    }
    std::wstring WriteTemp(const std::string& bytes) {
        wchar_t folder[MAX_PATH];
        wchar_t path[MAX_PATH];
        ::GetTempPathW(MAX_PATH, folder);
        ::GetTempFileNameW(folder, L"nvx", 0, path);
        std::ofstream(path, std::ios::binary) << bytes;
        written_.emplace_back(path);
        return path;
    }
    static std::string ReadSlide() {
        std::ifstream in(NVX_SKIN_TEST_SLIDE, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    ComApartment com_;
    std::vector<std::wstring> written_;
};

TEST_F(ImageFileTest, ASlideDecodesOpaqueWithItsColours) {
    const std::string jpeg = ReadSlide();
    ASSERT_GT(jpeg.size(), 100u);
    auto slide = LoadImageFile(WriteTemp(jpeg));
    ASSERT_TRUE(slide);
    ASSERT_TRUE(slide->bitmap);
    EXPECT_EQ(slide->width, 64);
    EXPECT_EQ(slide->height, 48);
    // A flat (7, 165, 216) picture; JPEG keeps colours within a few steps.
    const std::uint8_t* p = Pixels(*slide);
    ASSERT_NE(p, nullptr);
    for (int i : {0, 64 * 24 + 32, 64 * 48 - 1}) {
        EXPECT_NEAR(p[4 * i], 216, 4) << i;
        EXPECT_NEAR(p[4 * i + 1], 165, 4) << i;
        EXPECT_NEAR(p[4 * i + 2], 7, 4) << i;
        EXPECT_EQ(p[4 * i + 3], 255) << i;
    }
}

TEST_F(ImageFileTest, AMissingFileGivesNothing) {
    EXPECT_FALSE(LoadImageFile(L"C:\\no such folder\\slide.jpg"));
}

TEST_F(ImageFileTest, AnUndecodableFileGivesAWrapperWithoutBitmap) {
    const std::string jpeg = ReadSlide();
    for (const std::string& bytes :
         {std::string("not a picture at all"), jpeg.substr(0, 40), std::string()}) {
        auto slide = LoadImageFile(WriteTemp(bytes));
        ASSERT_TRUE(slide);
        EXPECT_FALSE(slide->bitmap);
        EXPECT_EQ(slide->width, 0);
        EXPECT_EQ(slide->height, 0);
    }
}

} // namespace
