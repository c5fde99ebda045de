#pragma once
// The SHA-256 digest the manifest may pin a downloaded file to: 64 hexadecimal digits, in
// either letter case. A pin that is present but malformed is kept as it is and matches no
// file, so a mistyped pin stops the file from being used rather than letting any file through.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

using Sha256Digest = std::array<uint8_t, 32>;

// The digest written in `text`; nothing when it is not exactly 64 hexadecimal digits.
std::optional<Sha256Digest> ParseSha256(std::wstring_view text) noexcept;

// True when there is no pin, or when the pin is well-formed and equals `digest`.
bool PinAccepts(const std::optional<std::wstring>& pin, const Sha256Digest& digest) noexcept;

// The digest as 64 lower-case hexadecimal digits.
std::wstring Sha256Text(const Sha256Digest& digest);
