#pragma once
// Decoded pictures: the PNG artwork compiled into the program and picture files (slides).
#include "framework/Handles.h"

#include <cstdint>
#include <memory>
#include <string>

// A 32-bit DIB section and its size. A picture that could not be decoded has no bitmap and
// size 0 x 0: drawing code draws nothing for it.
class CImageWrapper {
public:
    CImageWrapper() = default;
    CImageWrapper(HBITMAP bitmap, int width, int height) : bitmap(bitmap), width(width), height(height) {}

    nvx::UniqueBitmap bitmap;
    int width = 0;
    int height = 0;
    int frame_count = 1; // equal frames in the picture
    int horizontal = 1;  // frames side by side (1) or stacked (0)
};

// The picture of a "PNG" resource, colour channels premultiplied by alpha for AlphaBlend. The
// resource is looked up by the low 16 bits of id in module (null: the program itself). Pictures
// are cached for the life of the process under the full id, so handles copied from a wrapper stay
// valid; a picture that could not be decoded is cached as an empty wrapper. An empty pointer means
// that there is no such resource. UI thread only.
std::shared_ptr<CImageWrapper> LoadPngResource(std::uint32_t id, HMODULE module = nullptr);

// Decodes a picture file (JPEG slides) with straight colours. Nothing when the file does not
// exist; a wrapper without bitmap when it cannot be decoded.
[[nodiscard]] std::unique_ptr<CImageWrapper> LoadImageFile(const std::wstring& path);
