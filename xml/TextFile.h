#pragma once
// Turning a text file's bytes into UTF-16 text: byte-order marks, a declared encoding, the
// UTF-8 test, NUL removal, big-endian swap and 8-bit code page conversion. Every step leaves
// an event in the caller's diagnostic log (see ResultLog.h).
#include "xml/XmlText.h"

#include <string>
#include <string_view>

// encoding_flags: which byte-order mark was found.
inline constexpr int kEncodingUtf8Bom = 0x4;
inline constexpr int kEncodingUtf16LeBom = 0x1;
inline constexpr int kEncodingUtf16BeBom = 0x80;

// The reader's own mark for UTF-32 (not a Windows code page).
inline constexpr int kCodePageUtf32Mark = 65005;

// Reads the whole file and decodes it. False (with "file_error" in the log and an empty text)
// when the file cannot be opened or read; an empty file gives true and an empty text.
[[nodiscard]] bool ReadTextFile(const std::wstring& path, XmlText& text, int& encoding_flags,
                                std::wstring& log);

// The decoding part of ReadTextFile for bytes already in memory (a whole file, mark included).
void DecodeTextBytes(std::string_view bytes, XmlText& text, int& encoding_flags, std::wstring& log);

// The encoding named by an XML declaration at the very start of the text, or by the
// Content-Type meta element of an HTML head; empty when none.
std::wstring FindDeclaredEncoding(XmlTextView text);

// 0 for an empty name (the system ANSI code page), kCodePageUtf32Mark for a name beginning with
// "UTF-32" as written, the code page of a known character-set name (any letter case), else -1.
int CodePageFromName(std::wstring_view name);
