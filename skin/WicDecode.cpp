#include "skin/WicDecode.h"

#include <wincodec.h>

#include <climits>

namespace {

// The UI thread has COM when the wizard runs, but a window may show its artwork earlier; the
// decoder then brings COM up for the call itself. A thread already in the multithreaded
// apartment answers RPC_E_CHANGED_MODE and can use COM as it is.
class ComForCall {
public:
    ComForCall() noexcept : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComForCall() {
        if (SUCCEEDED(result_))
            ::CoUninitialize();
    }
    ComForCall(const ComForCall&) = delete;
    ComForCall& operator=(const ComForCall&) = delete;

private:
    HRESULT result_;
};

nvx::ComPtr<IWICImagingFactory> CreateFactory() {
    nvx::ComPtr<IWICImagingFactory> factory;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, &factory)))
        factory.Reset();
    return factory;
}

// The first frame, converted to 32-bit BGRA with straight alpha, copied into a DIB section.
DecodedBitmap DecodeFirstFrame(IWICImagingFactory* factory, IWICBitmapDecoder* decoder) {
    nvx::ComPtr<IWICBitmapFrameDecode> frame;
    nvx::ComPtr<IWICFormatConverter> converter;
    if (FAILED(decoder->GetFrame(0, &frame)) || FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                     nullptr, 0.0, WICBitmapPaletteTypeCustom)))
        return {};
    UINT width = 0;
    UINT height = 0;
    if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0 || width > INT_MAX / 4 ||
        height > INT_MAX / (4 * width))
        return {};

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = static_cast<LONG>(width);
    info.bmiHeader.biHeight = -static_cast<LONG>(height); // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    nvx::UniqueBitmap bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    const UINT stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return {};
    ::GdiFlush();
    return {std::move(bitmap), static_cast<int>(width), static_cast<int>(height)};
}

} // namespace

DecodedBitmap DecodePictureBytes(const void* bytes, unsigned size) {
    ComForCall com;
    auto factory = CreateFactory();
    nvx::ComPtr<IWICStream> stream;
    nvx::ComPtr<IWICBitmapDecoder> decoder;
    if (!factory || FAILED(factory->CreateStream(&stream)) ||
        FAILED(stream->InitializeFromMemory(static_cast<BYTE*>(const_cast<void*>(bytes)), size)) ||
        FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                                &decoder)))
        return {};
    return DecodeFirstFrame(factory.Get(), decoder.Get());
}

DecodedBitmap DecodePictureFile(const std::wstring& path) {
    ComForCall com;
    auto factory = CreateFactory();
    nvx::ComPtr<IWICBitmapDecoder> decoder;
    if (!factory || FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                              WICDecodeMetadataCacheOnDemand, &decoder)))
        return {};
    return DecodeFirstFrame(factory.Get(), decoder.Get());
}

void* DibSectionBits(HBITMAP bitmap) {
    DIBSECTION section{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(section), &section) != sizeof(section))
        return nullptr;
    return section.dsBm.bmBits;
}
