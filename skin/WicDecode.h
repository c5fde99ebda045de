#pragma once
// Picture decoding through the Windows Imaging Component, reached through COM so that the
// program does not import windowscodecs.dll.
#include "framework/Handles.h"

#include <string>

struct DecodedBitmap {
    nvx::UniqueBitmap bitmap; // top-down 32-bit DIB section, B G R A with straight alpha
    int width = 0;
    int height = 0;
};

// An empty result (null bitmap) when the bytes or the file are not a picture WIC can read.
DecodedBitmap DecodePictureBytes(const void* bytes, unsigned size);
DecodedBitmap DecodePictureFile(const std::wstring& path);

// The pixel bits of a DIB section made by the decoder (null for anything else).
void* DibSectionBits(HBITMAP bitmap);
