// The whole gallery, every skinned control in every state, painted over and over: painting
// gives back every GDI object and render resource it takes.
#include "tests/gallery/GalleryDialog.h"

#include "skin/GdiOwners.h"
#include "tests/gallery/gallery_resource.h"
#include "skin/ThemePalette.h"
#include "tests/skin/SkinTestWindow.h"
#include "tests/support/InstallerProcess.h"

namespace {

using namespace skintest;

// Slow under Wine (about 80 ms a repaint): ctest runs it on its own (skin_repaints).
class GalleryRepaint : public SkinWindowTest {};

TEST_F(GalleryRepaint, ThousandRepaintsKeepTheHandleCountsFlat) {
    const long objects_before_gallery = skin::LiveGdiObjects();
    {
        CGalleryDialog gallery;
        ASSERT_TRUE(gallery.Create(IDD_GALLERY, nullptr));
        gallery.ShowWindow(SW_SHOWNOACTIVATE);
        ASSERT_FALSE(gallery.frames().empty());
        gallery.RepaintAll();
        Settle();
        // What the windows keep (their fonts, the text buttons' render resources) is made now.
        const long objects = skin::LiveGdiObjects();
        const long render_resources = CNVXTextButton::LiveRenderResources();
        EXPECT_GT(render_resources, 0) << "the text buttons draw with Direct2D";
        DWORD handles_before = 0;
        ::GetProcessHandleCount(::GetCurrentProcess(), &handles_before);

        for (int i = 0; i < 1000; ++i)
            gallery.RepaintAll();
        Settle();

        EXPECT_EQ(skin::LiveGdiObjects(), objects);
        EXPECT_EQ(CNVXTextButton::LiveRenderResources(), render_resources);
        DWORD handles_after = 0;
        ::GetProcessHandleCount(::GetCurrentProcess(), &handles_after);
        EXPECT_LE(handles_after, handles_before + 2); // kernel handles, where the system counts them
        // Still the gallery it was: the client shows the window background.
        EXPECT_TRUE(SameColor(ClientPixel(gallery.GetSafeHwnd(), 5, 5), theThemePalette.window_background));
    }
    Settle();
    EXPECT_EQ(skin::LiveGdiObjects(), objects_before_gallery);
    EXPECT_EQ(CNVXTextButton::LiveRenderResources(), 0);
}

} // namespace
