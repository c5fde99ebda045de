#pragma once
// GDI+ (gdiplus.dll), loaded from the system folder on first use (see SystemLibrary.h): start
// and shut down, and the flat functions that decode a PNG or JPEG picture into a bitmap. The
// C++ classes of <gdiplus.h> call the DLL's exports directly and must not be used. When the
// DLL or an entry point is missing, the functions answer Gdiplus::Win32Error with the reason
// in the thread's last error.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

namespace nvx::gdiplus {

using Gdiplus::GpBitmap;
using Gdiplus::GpImage;
using Gdiplus::GpStatus;

GpStatus GdiplusStartup(ULONG_PTR* token, const Gdiplus::GdiplusStartupInput* input,
                        Gdiplus::GdiplusStartupOutput* output);
void GdiplusShutdown(ULONG_PTR token);

GpStatus GdipCreateBitmapFromStream(IStream* stream, GpBitmap** bitmap);
GpStatus GdipCreateBitmapFromFile(const WCHAR* file_name, GpBitmap** bitmap);
GpStatus GdipGetImageWidth(GpImage* image, UINT* width);
GpStatus GdipGetImageHeight(GpImage* image, UINT* height);
GpStatus GdipGetImagePixelFormat(GpImage* image, Gdiplus::PixelFormat* format);
GpStatus GdipBitmapLockBits(GpBitmap* bitmap, const Gdiplus::GpRect* rect, UINT flags,
                            Gdiplus::PixelFormat format, Gdiplus::BitmapData* data);
GpStatus GdipBitmapUnlockBits(GpBitmap* bitmap, Gdiplus::BitmapData* data);
GpStatus GdipCreateHBITMAPFromBitmap(GpBitmap* bitmap, HBITMAP* result, Gdiplus::ARGB background);
GpStatus GdipDisposeImage(GpImage* image);

} // namespace nvx::gdiplus
