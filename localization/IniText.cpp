#include "localization/IniText.h"

#include "framework/Surrogates.h"
#include "framework/TextCompare.h"

#include <cstdint>

namespace {

std::wstring_view Trim(std::wstring_view text) {
    return TrimmedOf(text, kSpaceAndTab);
}

std::wstring DecodeUtf16(std::string_view bytes, bool big_endian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto first = static_cast<unsigned char>(bytes[i]);
        auto second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(static_cast<wchar_t>(big_endian ? (first << 8 | second) : (second << 8 | first)));
    }
    return text;
}

// Strict UTF-8 to UTF-16; nothing when the bytes are not UTF-8.
std::optional<std::wstring> DecodeUtf8(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        auto lead = static_cast<unsigned char>(bytes[i]);
        int extra = lead < 0x80         ? 0
                    : (lead >> 5) == 6  ? 1
                    : (lead >> 4) == 14 ? 2
                    : (lead >> 3) == 30 ? 3
                                        : -1;
        if (extra < 0 || bytes.size() - i <= static_cast<size_t>(extra))
            return std::nullopt;
        uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(bytes[i + static_cast<size_t>(k)]);
            if ((next & 0xC0) != 0x80)
                return std::nullopt;
            code = code << 6 | (next & 0x3F);
        }
        static constexpr uint32_t kMinimum[] = {0, 0x80, 0x800, 0x10000};
        if (code < kMinimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return std::nullopt;
        if (code >= 0x10000) {
            text.push_back(static_cast<wchar_t>(nvx::HighSurrogate(code)));
            text.push_back(static_cast<wchar_t>(nvx::LowSurrogate(code)));
        } else {
            text.push_back(static_cast<wchar_t>(code));
        }
        i += static_cast<size_t>(extra) + 1;
    }
    return text;
}

} // namespace

std::wstring DecodeIniBytes(std::string_view bytes) {
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE')
        return DecodeUtf16(bytes.substr(2), false);
    if (bytes.size() >= 2 && bytes[0] == '\xFE' && bytes[1] == '\xFF')
        return DecodeUtf16(bytes.substr(2), true);
    if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    if (auto utf8 = DecodeUtf8(bytes))
        return *utf8;
    std::wstring latin1;
    latin1.reserve(bytes.size());
    for (char c : bytes)
        latin1.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    return latin1;
}

std::optional<std::wstring> FindIniValue(std::wstring_view text, std::wstring_view section,
                                         std::wstring_view key) {
    bool in_section = false;
    size_t position = 0;
    while (position <= text.size()) {
        size_t end = text.find_first_of(L"\r\n", position);
        if (end == std::wstring_view::npos)
            end = text.size();
        std::wstring_view line = Trim(text.substr(position, end - position));
        position = end + 1;
        if (line.empty() || line.front() == L';')
            continue;
        if (line.front() == L'[') {
            size_t close = line.find(L']');
            std::wstring_view name =
                Trim(line.substr(1, close == std::wstring_view::npos ? line.size() - 1 : close - 1));
            // The first section of that name is the one that counts.
            if (in_section)
                return std::nullopt;
            in_section = EqualsIgnoringCase(name, section);
            continue;
        }
        if (!in_section)
            continue;
        size_t equals = line.find(L'=');
        std::wstring_view name = Trim(line.substr(0, equals));
        if (!EqualsIgnoringCase(name, key))
            continue;
        std::wstring_view value =
            equals == std::wstring_view::npos ? std::wstring_view{} : Trim(line.substr(equals + 1));
        if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return std::wstring(value);
    }
    return std::nullopt;
}
