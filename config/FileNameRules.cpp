#include "config/FileNameRules.h"

#include "framework/Diagnostics.h"

#include <algorithm>
#include <array>
#include <cwctype>

namespace {

constexpr std::wstring_view kPackageFallback = L"package.msi";
constexpr std::wstring_view kRefusedCharacters = L"<>\"|?*";

bool IsControl(wchar_t c) noexcept {
    return c < 0x20 || c == 0x7F;
}

bool IsSeparator(wchar_t c) noexcept {
    return c == L'\\' || c == L'/';
}

std::wstring UpperAscii(std::wstring_view text) {
    std::wstring upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](wchar_t c) {
        return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
    });
    return upper;
}

// Windows opens the device for its name with any extension and with trailing blanks or dots
// ("nul.txt", "COM1 .exe").
bool IsDeviceName(std::wstring_view name) {
    std::wstring_view base = name.substr(0, name.find(L'.'));
    while (!base.empty() && (base.back() == L' ' || base.back() == L'.'))
        base.remove_suffix(1);
    const std::wstring upper = UpperAscii(base);
    static constexpr std::array<std::wstring_view, 6> kDevices = {L"CON", L"PRN",    L"AUX",
                                                                  L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::find(kDevices.begin(), kDevices.end(), upper) != kDevices.end())
        return true;
    // COM1-COM9 and LPT1-LPT9, and the superscript digits Windows takes as well.
    if (upper.size() == 4 && (upper.starts_with(L"COM") || upper.starts_with(L"LPT"))) {
        const wchar_t digit = upper[3];
        return (digit >= L'1' && digit <= L'9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
    }
    return false;
}

void Refuse(std::wstring_view what, std::wstring_view name, std::wstring_view reason) {
    nvx::Diagnose(L"config",
                  std::wstring(what) + L" \"" + std::wstring(name) + L"\" refused: " + std::wstring(reason));
}

template <typename Record> void DropUnsafe(std::vector<Record>& records, std::wstring_view what) {
    std::erase_if(records, [what](const Record& record) {
        // A record without a name is the loader's to judge: it never names a path of its own.
        if (record.name.empty())
            return false;
        const std::wstring reason = UnsafeFileNameReason(record.name);
        if (reason.empty())
            return false;
        Refuse(what, record.name, reason);
        return true;
    });
}

} // namespace

std::wstring UnsafeFileNameReason(std::wstring_view name) {
    if (name.empty())
        return L"the name is empty";
    if (std::any_of(name.begin(), name.end(), IsSeparator))
        return L"the name contains a path separator";
    if (name.find(L"..") != std::wstring_view::npos)
        return L"the name contains \"..\"";
    if (name.find(L':') != std::wstring_view::npos)
        return L"the name contains a colon";
    if (std::any_of(name.begin(), name.end(), IsControl))
        return L"the name contains a control character";
    if (name.find_first_of(kRefusedCharacters) != std::wstring_view::npos)
        return L"the name contains a character Windows does not allow in file names";
    if (name.back() == L'.' || name.back() == L' ' || name.front() == L' ')
        return L"the name begins with a blank or ends with a blank or a dot";
    if (IsDeviceName(name))
        return L"the name is a reserved device name";
    return {};
}

std::wstring SafeFileName(std::wstring_view name, std::wstring_view fallback) {
    std::wstring safe(name);
    for (wchar_t& c : safe) {
        if (IsSeparator(c) || c == L':' || IsControl(c) ||
            kRefusedCharacters.find(c) != std::wstring_view::npos)
            c = L'_';
    }
    // ".." runs and the blanks and dots Windows strips from the ends.
    for (size_t dots = safe.find(L".."); dots != std::wstring::npos; dots = safe.find(L"..", dots))
        safe.replace(dots, 2, L"_");
    const size_t first = safe.find_first_not_of(L' ');
    const size_t last = safe.find_last_not_of(L". ");
    safe = first == std::wstring::npos || last == std::wstring::npos || last < first
               ? std::wstring()
               : safe.substr(first, last - first + 1);
    if (!UnsafeFileNameReason(safe).empty())
        return std::wstring(fallback);
    return safe;
}

void RefuseUnsafeNames(ManifestInfo& manifest) {
    DropUnsafe(manifest.dependencies, L"dependency");
    DropUnsafe(manifest.transforms, L"transform");
    DropUnsafe(manifest.language_packs, L"language pack");
    const std::wstring reason = UnsafeFileNameReason(manifest.main_component_name);
    if (reason.empty())
        return;
    const std::wstring safe = SafeFileName(manifest.main_component_name, kPackageFallback);
    Refuse(L"main component name", manifest.main_component_name,
           reason + L"; the package is stored as \"" + safe + L"\"");
    manifest.main_component_name = safe;
}
