#include "localization/SlideContent.h"

#include <array>
#include <cwchar>

namespace {
struct ConsentRegion {
    int geo_id;
    const wchar_t* country;
};

// Regions where the user accepts the License Terms explicitly (the check box starts empty).
constexpr std::array<ConsentRegion, 30> kConsentRegions{{
    {122, L"Japan"},   {39, L"Canada"},          {14, L"Austria"},     {21, L"Belgium"},
    {35, L"Bulgaria"}, {108, L"Croatia"},        {59, L"Cyprus"},      {75, L"Czechia"},
    {61, L"Denmark"},  {70, L"Estonia"},         {84, L"France"},      {94, L"Germany"},
    {98, L"Greece"},   {109, L"Hungary"},        {68, L"Ireland"},     {118, L"Italy"},
    {140, L"Latvia"},  {141, L"Lithuania"},      {147, L"Luxembourg"}, {77, L"Finland"},
    {163, L"Malta"},   {176, L"Netherlands"},    {191, L"Poland"},     {193, L"Portugal"},
    {200, L"Romania"}, {143, L"Slovakia"},       {212, L"Slovenia"},   {217, L"Spain"},
    {221, L"Sweden"},  {242, L"United Kingdom"},
}};
} // namespace

int SlideDpiFolder(int snapped_dpi) {
    if (snapped_dpi < 120)
        return 100;
    if (snapped_dpi < 144)
        return 125;
    if (snapped_dpi < 192)
        return 150;
    return 200;
}

std::wstring SlideFolder(const std::wstring& language_folder, int32_t language_id, int snapped_dpi) {
    return language_folder + std::to_wstring(language_id) + L"\\slidesPro\\" +
           std::to_wstring(SlideDpiFolder(snapped_dpi)) + L"\\";
}

int ParseGeoId(const std::wstring& nation) {
    // The C library's conversion: leading blanks and a sign taken, the rest after the digits
    // ignored; out of range counts as not a number.
    const long long value = std::wcstoll(nation.c_str(), nullptr, 10);
    return value > 0x7FFFFFFFLL || value < -0x7FFFFFFFLL - 1 ? 0 : static_cast<int>(value);
}

bool IsConsentGeoId(int geo_id) {
    for (const ConsentRegion& region : kConsentRegions)
        if (region.geo_id == geo_id)
            return true;
    return false;
}
