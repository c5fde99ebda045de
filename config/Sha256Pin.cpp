#include "config/Sha256Pin.h"

namespace {

int HexValue(wchar_t c) noexcept {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

} // namespace

std::optional<Sha256Digest> ParseSha256(std::wstring_view text) noexcept {
    Sha256Digest digest{};
    if (text.size() != digest.size() * 2)
        return std::nullopt;
    for (size_t i = 0; i < digest.size(); ++i) {
        const int high = HexValue(text[2 * i]);
        const int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        digest[i] = static_cast<uint8_t>(high * 16 + low);
    }
    return digest;
}

bool PinAccepts(const std::optional<std::wstring>& pin, const Sha256Digest& digest) noexcept {
    if (!pin)
        return true;
    const std::optional<Sha256Digest> pinned = ParseSha256(*pin);
    return pinned && *pinned == digest;
}

std::wstring Sha256Text(const Sha256Digest& digest) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    text.reserve(digest.size() * 2);
    for (uint8_t byte : digest) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}
