#pragma once
// Non-copyable owners for the Win32 handles the program keeps.
#include <windows.h>

#include <utility>

namespace nvx {

template <typename Traits> class UniqueResource {
public:
    using handle_type = typename Traits::handle_type;

    UniqueResource() noexcept = default;
    explicit UniqueResource(handle_type handle) noexcept : handle_(handle) {}
    ~UniqueResource() { reset(); }
    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : handle_(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }

    handle_type get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return Traits::valid(handle_); }
    handle_type release() noexcept { return std::exchange(handle_, Traits::invalid()); }
    void reset(handle_type handle = Traits::invalid()) noexcept {
        handle_type old = std::exchange(handle_, handle);
        if (Traits::valid(old))
            Traits::close(old);
    }
    // For out-parameters of creation functions.
    handle_type* put() noexcept {
        reset();
        return &handle_;
    }

private:
    handle_type handle_ = Traits::invalid();
};

struct KernelHandleTraits {
    using handle_type = HANDLE;
    static handle_type invalid() noexcept { return nullptr; }
    static bool valid(handle_type h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void close(handle_type h) noexcept { ::CloseHandle(h); }
};
using UniqueHandle = UniqueResource<KernelHandleTraits>;

template <typename T> struct GdiObjectTraits {
    using handle_type = T;
    static handle_type invalid() noexcept { return nullptr; }
    static bool valid(handle_type h) noexcept { return h != nullptr; }
    static void close(handle_type h) noexcept { ::DeleteObject(h); }
};
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniquePen = UniqueResource<GdiObjectTraits<HPEN>>;
using UniqueRegion = UniqueResource<GdiObjectTraits<HRGN>>;

struct IconTraits {
    using handle_type = HICON;
    static handle_type invalid() noexcept { return nullptr; }
    static bool valid(handle_type h) noexcept { return h != nullptr; }
    static void close(handle_type h) noexcept { ::DestroyIcon(h); }
};
using UniqueIcon = UniqueResource<IconTraits>;

struct MemoryDcTraits {
    using handle_type = HDC;
    static handle_type invalid() noexcept { return nullptr; }
    static bool valid(handle_type h) noexcept { return h != nullptr; }
    static void close(handle_type h) noexcept { ::DeleteDC(h); }
};
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

// A DC from GetDC, released to its window.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back on scope exit.
class SelectObjectScope {
public:
    SelectObjectScope(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectObjectScope() {
        if (previous_)
            ::SelectObject(dc_, previous_);
    }
    SelectObjectScope(const SelectObjectScope&) = delete;
    SelectObjectScope& operator=(const SelectObjectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// Owner of a COM interface pointer.
template <typename T> class ComPtr {
public:
    ComPtr() noexcept = default;
    ~ComPtr() { reset(); }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            ptr_ = std::exchange(other.ptr_, nullptr);
        }
        return *this;
    }
    T* get() const noexcept { return ptr_; }
    T* operator->() const noexcept { return ptr_; }
    explicit operator bool() const noexcept { return ptr_ != nullptr; }
    T** put() noexcept {
        reset();
        return &ptr_;
    }
    void** put_void() noexcept { return reinterpret_cast<void**>(put()); }
    void reset() noexcept {
        if (ptr_)
            std::exchange(ptr_, nullptr)->Release();
    }

private:
    T* ptr_ = nullptr;
};

} // namespace nvx
