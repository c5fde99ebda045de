#include "xml/TextFile.h"

bool ReadTextFile(const std::wstring&, std::wstring& text, int& encoding_flags, std::wstring&) {
    text.clear();
    encoding_flags = 0;
    return false;
}
void DecodeTextBytes(std::string, std::wstring& text, int& encoding_flags, std::wstring&) {
    text.clear();
    encoding_flags = 0;
}
std::wstring FindDeclaredEncoding(std::wstring_view) { return {}; }
int CodePageFromName(std::wstring_view) { return -1; }
