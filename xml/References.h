#pragma once
// Decoding of character references in text: numeric ones (decimal and hexadecimal) and the
// named references of HTML 4.01 plus "apos". A reference that cannot be decoded stays as written.
#include "xml/XmlText.h"

#include <string>
#include <string_view>

// Appends `text` to `out` with its references decoded.
void AppendDecodedText(XmlTextView text, std::wstring& out);

// The code point of a named reference as written between "&" and ";" (any letter case), or 0.
int NamedReferenceCodePoint(std::wstring_view name);
