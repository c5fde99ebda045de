#include "skin/ImageWrapper.h"

#include "skin/Premultiply.h"
#include "skin/WicDecode.h"

#include <unordered_map>

namespace {

using ImageCache = std::unordered_map<std::uint32_t, std::shared_ptr<CImageWrapper>>;

// Never pruned: controls keep plain handles to the cached bitmaps.
ImageCache& Cache() {
    static ImageCache cache;
    return cache;
}

} // namespace

std::shared_ptr<CImageWrapper> LoadPngResource(std::uint32_t id, HMODULE module) {
    ImageCache& cache = Cache();
    if (auto hit = cache.find(id); hit != cache.end())
        return hit->second;

    if (!module)
        module = ::GetModuleHandleW(nullptr);
    HRSRC resource = ::FindResourceW(module, MAKEINTRESOURCEW(id & 0xFFFF), L"PNG");
    HGLOBAL loaded = resource ? ::LoadResource(module, resource) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    const DWORD size = resource ? ::SizeofResource(module, resource) : 0;
    if (!bytes || size == 0)
        return nullptr;

    DecodedBitmap decoded = DecodePictureBytes(bytes, size);
    if (void* bits = DibSectionBits(decoded.bitmap.get()))
        PremultiplyBgra(static_cast<std::uint8_t*>(bits),
                        static_cast<std::size_t>(decoded.width) * decoded.height);
    auto image = std::make_shared<CImageWrapper>(decoded.bitmap.release(), decoded.width, decoded.height);
    cache.emplace(id, image);
    return image;
}
