#include "skin/ImageWrapper.h"

#include "skin/WicDecode.h"

#include <shlwapi.h>

std::unique_ptr<CImageWrapper> LoadImageFile(const std::wstring& path) {
    if (!::PathFileExistsW(path.c_str()))
        return nullptr;
    DecodedBitmap decoded = DecodePictureFile(path);
    // Slides are opaque and drawn with plain copies: their colours stay as decoded.
    return std::make_unique<CImageWrapper>(decoded.bitmap.release(), decoded.width, decoded.height);
}
