#pragma once
// UTF-8 helpers of the text decoding.
#include "xml/XmlText.h"

#include <string_view>

// The loose test that decides whether 8-bit text without a named encoding is UTF-8: every byte
// of 0x80 or above must be followed by as many bytes of 0x80 or above as its high bits announce.
bool PassesUtf8Test(std::string_view bytes) noexcept;

// Appends the UTF-16 form of UTF-8 bytes; each ill-formed sequence becomes U+FFFD, as the
// system's converter does.
void AppendUtf8AsUtf16(std::string_view bytes, XmlText& out);
