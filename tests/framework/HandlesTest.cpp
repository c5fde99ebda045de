// Owners of handles, DCs, COM pointers and apartments, and the lock.
#include "framework/Handles.h"
#include "framework/Wnd.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace {

bool IsOpenHandle(HANDLE handle) {
    DWORD flags = 0;
    return ::GetHandleInformation(handle, &flags) != FALSE;
}

TEST(Handles, OwnerClosesOnceAndTakesBothKindsOfNoHandle) {
    HANDLE raw = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    {
        nvx::UniqueHandle owner(raw);
        EXPECT_TRUE(owner);
        nvx::UniqueHandle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_EQ(moved.get(), raw);
        EXPECT_TRUE(IsOpenHandle(raw));
    }
    EXPECT_FALSE(IsOpenHandle(raw)) << "the handle outlived its owner";

    // CreateFile's way of saying "nothing" is no handle either.
    nvx::UniqueHandle missing(
        ::CreateFileW(L"Z:\\nvx\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_FALSE(missing);
    missing.reset();

    nvx::UniqueBrush brush(::CreateSolidBrush(RGB(1, 2, 3)));
    HBRUSH released = brush.release();
    EXPECT_FALSE(brush);
    EXPECT_TRUE(::DeleteObject(released)) << "release handed over a deleted brush";
}

TEST(Handles, ClientAndWindowDcsCoverTheirAreas) {
    CWnd window;
    ASSERT_TRUE(window.Create(WS_POPUP | WS_CAPTION | WS_THICKFRAME, RECT{40, 40, 240, 140}, nullptr, 0));
    nvx::ClientDc client(window.GetSafeHwnd());
    nvx::WindowDc whole(window.GetSafeHwnd());
    ASSERT_TRUE(client);
    ASSERT_TRUE(whole);
    POINT client_origin{}, whole_origin{};
    ::GetDCOrgEx(client.get(), &client_origin);
    ::GetDCOrgEx(whole.get(), &whole_origin);
    POINT client_on_screen{0, 0};
    ::ClientToScreen(window.GetSafeHwnd(), &client_on_screen);
    RECT frame = window.GetWindowRect();
    EXPECT_EQ(client_origin.x, client_on_screen.x);
    EXPECT_EQ(client_origin.y, client_on_screen.y);
    EXPECT_EQ(whole_origin.x, frame.left);
    EXPECT_EQ(whole_origin.y, frame.top);
    window.DestroyWindow();
}

TEST(Handles, PaintDcValidatesWhatItWasGiven) {
    struct CPainter : CWnd {
        RECT painted{};
        LRESULT WindowProc(UINT msg, WPARAM wparam, LPARAM lparam) override {
            if (msg != WM_PAINT)
                return CWnd::WindowProc(msg, wparam, lparam);
            nvx::PaintDc dc(GetSafeHwnd());
            painted = dc.invalid_rect();
            ::FillRect(dc.get(), &painted, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
            return 0;
        }
    } window;
    ASSERT_TRUE(window.Create(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100}, nullptr, 0));
    ::UpdateWindow(window.GetSafeHwnd());
    RECT part{10, 20, 30, 40};
    ::InvalidateRect(window.GetSafeHwnd(), &part, FALSE);
    ::UpdateWindow(window.GetSafeHwnd());
    EXPECT_TRUE(::EqualRect(&window.painted, &part));
    EXPECT_FALSE(::GetUpdateRect(window.GetSafeHwnd(), nullptr, FALSE)) << "EndPaint did not validate";
    window.DestroyWindow();
}

TEST(Handles, ComPointerQueriesAndReleases) {
    nvx::ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
    nvx::ComPtr<ISequentialStream> sequential;
    EXPECT_EQ(stream.As(&sequential), S_OK);
    ULONG written = 0;
    EXPECT_EQ(sequential->Write("abc", 3, &written), S_OK);
    EXPECT_EQ(written, 3u);
    nvx::ComPtr<IPersistStream> unsupported;
    EXPECT_EQ(stream.As(&unsupported), E_NOINTERFACE);
    EXPECT_FALSE(unsupported);
    // Two owners hold the object: releasing one leaves it to the other.
    sequential.Reset();
    EXPECT_EQ(stream.Get()->AddRef(), 2u);
    EXPECT_EQ(stream.Get()->Release(), 1u);
}

// Runs a function on a fresh thread, so that the test thread's apartment does not interfere.
template <typename Function> void OnFreshThread(Function function) {
    std::thread(function).join();
}

bool ThreadHasApartment() {
    APTTYPE type;
    APTTYPEQUALIFIER qualifier;
    return ::CoGetApartmentType(&type, &qualifier) == S_OK;
}

TEST(Handles, ComApartmentIsGivenBackOnlyWhenItWasTaken) {
    OnFreshThread([] {
        {
            nvx::ComApartmentScope outer(COINIT_MULTITHREADED);
            ASSERT_TRUE(outer.succeeded());
            {
                nvx::ComApartmentScope refused(COINIT_APARTMENTTHREADED);
                EXPECT_EQ(refused.result(), RPC_E_CHANGED_MODE);
            }
            EXPECT_TRUE(ThreadHasApartment()) << "a refused scope ended the outer apartment";
            {
                nvx::ComApartmentScope again(COINIT_MULTITHREADED);
                EXPECT_EQ(again.result(), S_FALSE);
            }
            EXPECT_TRUE(ThreadHasApartment()) << "a nested scope ended the outer apartment";
        }
        EXPECT_FALSE(ThreadHasApartment()) << "the apartment outlived its scope";
    });
}

TEST(Handles, CriticalSectionLocksAcrossThreads) {
    CCriticalSection section;
    long counter = 0;
    auto add = [&] {
        for (int i = 0; i < 20000; ++i) {
            std::lock_guard lock(section);
            counter = counter + 1;
        }
    };
    std::thread first(add), second(add);
    first.join();
    second.join();
    EXPECT_EQ(counter, 40000);

    std::unique_lock held(section);
    bool other_got_it = true;
    std::thread([&] { other_got_it = section.try_lock(); }).join();
    EXPECT_FALSE(other_got_it);
}

} // namespace
