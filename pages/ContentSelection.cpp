#include "pages/ContentSelection.h"

#include "config/RegistryKey.h"
#include "localization/SlideContent.h"
#include "skin/ScreenDpi.h"

#include <windows.h>

namespace {
using UniqueFind = nvx::UniqueResource<HANDLE, &::FindClose>;

std::vector<std::wstring>& SlideList() {
    static std::vector<std::wstring> slides;
    return slides;
}

std::vector<std::wstring> FindSlides(const std::wstring& folder) {
    std::vector<std::wstring> found;
    const std::wstring pattern = folder + L"*.jpg";
    if (pattern.size() > kMaxSlidePath)
        return found;
    WIN32_FIND_DATAW data{};
    UniqueFind search(::FindFirstFileW(pattern.c_str(), &data));
    if (!search)
        return found;
    do {
        std::wstring path = folder + data.cFileName;
        if (path.size() <= kMaxSlidePath)
            found.push_back(std::move(path));
    } while (::FindNextFileW(search.get(), &data));
    return found;
}
} // namespace

std::vector<std::wstring> GetSlidePaths(const LanguageContext& language) {
    std::vector<std::wstring>& slides = SlideList();
    if (slides.empty())
        slides = FindSlides(
            SlideFolder(language.language_folder, language.language_id, ScreenDpiScale().SnappedDpi()));
    return slides;
}

bool IsConsentRegion() {
    RegistryKey geo(HKEY_CURRENT_USER, L"Control Panel\\International\\Geo");
    const int geo_id = ParseGeoId(geo.ReadString(L"Nation").value_or(L""));
    geo.Close();
    return IsConsentGeoId(geo_id);
}
