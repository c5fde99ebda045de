#include "framework/GdiPlus.h"

#include "framework/SystemLibrary.h"

namespace nvx::gdiplus {

namespace {

constexpr wchar_t kFileName[] = L"gdiplus.dll";
using GdiPlusDll = CProcessWideLibrary<kFileName>;

namespace flat = Gdiplus::DllExports;

} // namespace

GpStatus GdiplusStartup(ULONG_PTR* token, const Gdiplus::GdiplusStartupInput* input,
                        Gdiplus::GdiplusStartupOutput* output) {
    static const auto entry = GdiPlusDll::Entry<decltype(Gdiplus::GdiplusStartup)>("GdiplusStartup");
    return entry.CallOr(Gdiplus::Win32Error, token, input, output);
}

void GdiplusShutdown(ULONG_PTR token) {
    static const auto entry = GdiPlusDll::Entry<decltype(Gdiplus::GdiplusShutdown)>("GdiplusShutdown");
    entry.CallIfPresent(token);
}

GpStatus GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap) {
    static const auto entry =
        GdiPlusDll::Entry<decltype(flat::GdipCreateBitmapFromStream)>("GdipCreateBitmapFromStream");
    return entry.CallOr(Gdiplus::Win32Error, stream, bitmap);
}

GpStatus GdipCreateBitmapFromFile(const WCHAR* file_name, GpBitmap** bitmap) {
    static const auto entry =
        GdiPlusDll::Entry<decltype(flat::GdipCreateBitmapFromFile)>("GdipCreateBitmapFromFile");
    return entry.CallOr(Gdiplus::Win32Error, file_name, bitmap);
}

GpStatus GdipGetImageWidth(GpImage* image, UINT* width) {
    static const auto entry = GdiPlusDll::Entry<decltype(flat::GdipGetImageWidth)>("GdipGetImageWidth");
    return entry.CallOr(Gdiplus::Win32Error, image, width);
}

GpStatus GdipGetImageHeight(GpImage* image, UINT* height) {
    static const auto entry = GdiPlusDll::Entry<decltype(flat::GdipGetImageHeight)>("GdipGetImageHeight");
    return entry.CallOr(Gdiplus::Win32Error, image, height);
}

GpStatus GdipGetImagePixelFormat(GpImage* image, Gdiplus::PixelFormat* format) {
    static const auto entry =
        GdiPlusDll::Entry<decltype(flat::GdipGetImagePixelFormat)>("GdipGetImagePixelFormat");
    return entry.CallOr(Gdiplus::Win32Error, image, format);
}

GpStatus GdipBitmapLockBits(GpBitmap* bitmap, const Gdiplus::GpRect* rect, UINT flags,
                            Gdiplus::PixelFormat format, Gdiplus::BitmapData* data) {
    static const auto entry = GdiPlusDll::Entry<decltype(flat::GdipBitmapLockBits)>("GdipBitmapLockBits");
    return entry.CallOr(Gdiplus::Win32Error, bitmap, rect, flags, format, data);
}

GpStatus GdipBitmapUnlockBits(GpBitmap* bitmap, Gdiplus::BitmapData* data) {
    static const auto entry = GdiPlusDll::Entry<decltype(flat::GdipBitmapUnlockBits)>("GdipBitmapUnlockBits");
    return entry.CallOr(Gdiplus::Win32Error, bitmap, data);
}

GpStatus GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* result, Gdiplus::ARGB background) {
    static const auto entry =
        GdiPlusDll::Entry<decltype(flat::GdipCreateHBITMAPFromBitmap)>("GdipCreateHBITMAPFromBitmap");
    return entry.CallOr(Gdiplus::Win32Error, bitmap, result, background);
}

GpStatus GdipDisposeImage(GpImage* image) {
    static const auto entry = GdiPlusDll::Entry<decltype(flat::GdipDisposeImage)>("GdipDisposeImage");
    return entry.CallOr(Gdiplus::Win32Error, image);
}

} // namespace nvx::gdiplus
