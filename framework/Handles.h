#pragma once
// Non-copyable owners for the Win32 handles the program keeps, the DCs it borrows, COM
// pointers and apartments, and the one lock type.
#include <windows.h>

#include <objbase.h>
#include <wrl/client.h>

#include <utility>

namespace nvx {

// Owns a handle and closes it with `Close`. Null and INVALID_HANDLE_VALUE both mean "none",
// as every kind of handle the program keeps uses one of them for "no handle".
template <typename Handle, auto Close> class UniqueResource {
public:
    using handle_type = Handle;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Handle handle) noexcept : handle_(handle) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return IsValid(handle_); }
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }
    void reset(Handle handle = Handle{}) noexcept {
        Handle old = std::exchange(handle_, handle);
        if (IsValid(old))
            Close(old);
    }
    // For out-parameters of creation functions.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

private:
    static bool IsValid(Handle handle) noexcept {
        return handle != Handle{} && handle != reinterpret_cast<Handle>(INVALID_HANDLE_VALUE);
    }

    Handle handle_{};
};

using UniqueHandle = UniqueResource<HANDLE, &::CloseHandle>;
using UniqueFont = UniqueResource<HFONT, &::DeleteObject>;
using UniqueBitmap = UniqueResource<HBITMAP, &::DeleteObject>;
using UniqueBrush = UniqueResource<HBRUSH, &::DeleteObject>;
using UniquePen = UniqueResource<HPEN, &::DeleteObject>;
using UniqueRegion = UniqueResource<HRGN, &::DeleteObject>;
using UniqueIcon = UniqueResource<HICON, &::DestroyIcon>;
using UniqueMemoryDc = UniqueResource<HDC, &::DeleteDC>;
using UniqueWindow = UniqueResource<HWND, &::DestroyWindow>;

// A DC borrowed from a window (GetDC: the client area; GetWindowDC: the whole window, frame
// included) and given back to it.
template <HDC(WINAPI* Borrow)(HWND)> class BorrowedDc {
public:
    explicit BorrowedDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(Borrow(hwnd)) {}
    ~BorrowedDc() {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    BorrowedDc(const BorrowedDc&) = delete;
    BorrowedDc& operator=(const BorrowedDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};
using ClientDc = BorrowedDc<&::GetDC>;
using WindowDc = BorrowedDc<&::GetWindowDC>;

// The DC of a WM_PAINT: BeginPaint on construction, EndPaint on scope exit.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::BeginPaint(hwnd, &paint_)) {}
    ~PaintDc() { ::EndPaint(hwnd_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }
    const RECT& invalid_rect() const noexcept { return paint_.rcPaint; }
    bool erase_background() const noexcept { return paint_.fErase != FALSE; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back when it ends (or on reset). A member
// declared after the owners of the DC and the object puts it back before either is deleted.
class SelectObjectScope {
public:
    SelectObjectScope() noexcept = default;
    SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectObjectScope() { reset(); }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;
    SelectObjectScope(SelectObjectScope&& other) noexcept
        : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
    SelectObjectScope& operator=(SelectObjectScope&& other) noexcept {
        if (this != &other) {
            reset();
            dc_ = std::exchange(other.dc_, nullptr);
            previous_ = std::exchange(other.previous_, nullptr);
        }
        return *this;
    }

    // Puts the previous object back now.
    void reset() noexcept {
        if (previous_)
            ::SelectObject(dc_, previous_);
        previous_ = nullptr;
        dc_ = nullptr;
    }

private:
    HDC dc_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// Owner of a COM interface pointer; As() queries another interface of the object.
template <typename T> using ComPtr = Microsoft::WRL::ComPtr<T>;

// COM for the current thread for one scope. Only a successful initialisation (S_OK, or
// S_FALSE when the thread already had the same apartment) is balanced by CoUninitialize;
// a refused one (RPC_E_CHANGED_MODE) must not take away the apartment someone else set up.
class ComApartmentScope {
public:
    explicit ComApartmentScope(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : result_(::CoInitializeEx(nullptr, model)) {}
    ~ComApartmentScope() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComApartmentScope(const ComApartmentScope&) = delete;
    ComApartmentScope& operator=(const ComApartmentScope&) = delete;
    HRESULT result() const noexcept { return result_; }
    bool succeeded() const noexcept { return SUCCEEDED(result_); }

private:
    HRESULT result_;
};

} // namespace nvx

// The program's lock: a critical section, usable with std::lock_guard / std::unique_lock
// for a scope.
class CCriticalSection {
public:
    CCriticalSection() noexcept { ::InitializeCriticalSection(&section_); }
    ~CCriticalSection() { ::DeleteCriticalSection(&section_); }
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;
    void lock() noexcept { ::EnterCriticalSection(&section_); }
    void unlock() noexcept { ::LeaveCriticalSection(&section_); }
    bool try_lock() noexcept { return ::TryEnterCriticalSection(&section_) != FALSE; }

private:
    CRITICAL_SECTION section_;
};
