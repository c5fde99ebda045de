#pragma once
// Conversion of 8-bit text in a Windows code page to UTF-16: the system's converter on Windows,
// the C library's iconv (and the own UTF-8 decoder) elsewhere.
#include "xml/XmlText.h"

#include <string_view>

// Appends the converted text; code page 0 is the system ANSI code page. False when the system
// has no converter for the code page (nothing is appended then).
bool ConvertFromCodePage(int code_page, std::string_view bytes, XmlText& text);
