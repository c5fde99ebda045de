#include "xml/CodePageConversion.h"

#include "xml/Utf8.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

namespace {

// Stands in for the system ANSI code page, which this platform does not have.
constexpr int kAnsiCodePage = 1252;
constexpr XmlChar kReplacement = 0xFFFD;

struct CodePageName {
    int code_page;
    const char* iconv_name;
};

// The C library's converter for each code page of the character-set table. Code pages it has no
// converter for are mapped to the closest character set it has, or left out (then the caller
// falls back to the ANSI code page).
constexpr CodePageName kCodePageNames[] = {
    {154, "PT154"},
    {437, "CP437"},
    {708, "ASMO-708"},
    {737, "CP737"},
    {775, "CP775"},
    {850, "CP850"},
    {852, "CP852"},
    {855, "CP855"},
    {857, "CP857"},
    {858, "CP858"},
    {860, "CP860"},
    {861, "CP861"},
    {862, "CP862"},
    {863, "CP863"},
    {864, "CP864"},
    {865, "CP865"},
    {866, "CP866"},
    {869, "CP869"},
    {874, "CP874"},
    {932, "CP932"},
    {936, "CP936"},
    {949, "CP949"},
    {950, "CP950"},
    {1125, "CP1125"},
    {1133, "CP1133"},
    {1250, "CP1250"},
    {1251, "CP1251"},
    {1252, "CP1252"},
    {1253, "CP1253"},
    {1254, "CP1254"},
    {1255, "CP1255"},
    {1256, "CP1256"},
    {1257, "CP1257"},
    {1258, "CP1258"},
    {1361, "JOHAB"},
    {10000, "MACINTOSH"},
    {10001, "SHIFT_JIS"},
    {10002, "BIG5"},
    {10003, "EUC-KR"},
    {10007, "MAC-CYRILLIC"},
    {10008, "GB2312"},
    {10017, "MAC-UK"},
    {10029, "MAC-CENTRALEUROPE"},
    {10079, "MAC-IS"},
    {20000, "EUC-TW"},
    {20002, "BIG5"},
    {20105, "ANSI_X3.4-1968"},
    {20106, "ISO646-DE"},
    {20107, "ISO646-SE"},
    {20108, "ISO646-NO"},
    {20127, "ANSI_X3.4-1968"},
    {20261, "T.61-8BIT"},
    {20269, "ISO_6937"},
    {20866, "KOI8-R"},
    {20932, "EUC-JP"},
    {20936, "GB2312"},
    {20949, "EUC-KR"},
    {21866, "KOI8-U"},
    {28591, "ISO-8859-1"},
    {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},
    {28594, "ISO-8859-4"},
    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},
    {28597, "ISO-8859-7"},
    {28598, "ISO-8859-8"},
    {28599, "ISO-8859-9"},
    {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},
    {38598, "ISO-8859-8"},
    {50220, "ISO-2022-JP"},
    {50221, "ISO-2022-JP-3"},
    {50222, "ISO-2022-JP-3"},
    {50225, "ISO-2022-KR"},
    {50227, "ISO-2022-CN"},
    {51932, "EUC-JP-MS"},
    {51936, "GB2312"},
    {51949, "EUC-KR"},
    {54936, "GB18030"},
    {65000, "UTF-7"},
};

const char* IconvName(int code_page) {
    for (const CodePageName& entry : kCodePageNames) {
        if (entry.code_page == code_page)
            return entry.iconv_name;
    }
    return nullptr;
}

class CIconv {
public:
    explicit CIconv(const char* from) : handle_(iconv_open("UTF-16LE", from)) {}
    ~CIconv() {
        if (valid())
            iconv_close(handle_);
    }
    CIconv(const CIconv&) = delete;
    CIconv& operator=(const CIconv&) = delete;
    bool valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return handle_; }

private:
    iconv_t handle_;
};

void AppendUtf16Le(const char* data, size_t size, XmlText& text) {
    for (size_t i = 0; i + 1 < size; i += 2) {
        auto low = static_cast<unsigned char>(data[i]);
        auto high = static_cast<unsigned char>(data[i + 1]);
        text += static_cast<XmlChar>(low | (high << 8));
    }
}

// Converts through iconv; a byte sequence the character set does not define becomes U+FFFD,
// as the system's converter on Windows does.
void ConvertWithIconv(const CIconv& converter, std::string_view bytes, XmlText& text) {
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    char buffer[8192];
    while (in_left > 0) {
        char* out = buffer;
        size_t out_left = sizeof(buffer);
        size_t result = iconv(converter.get(), &in, &in_left, &out, &out_left);
        int error = result == static_cast<size_t>(-1) ? errno : 0;
        AppendUtf16Le(buffer, static_cast<size_t>(out - buffer), text);
        if (error == EILSEQ || error == EINVAL) {
            text += kReplacement;
            ++in;
            --in_left;
        } else if (error != 0 && error != E2BIG) {
            break;
        }
    }
    char* out = buffer;
    size_t out_left = sizeof(buffer);
    iconv(converter.get(), nullptr, nullptr, &out, &out_left); // the closing shift sequence
    AppendUtf16Le(buffer, static_cast<size_t>(out - buffer), text);
}

} // namespace

bool ConvertFromCodePage(int code_page, std::string_view bytes, XmlText& text) {
    if (code_page == 0)
        code_page = kAnsiCodePage;
    if (code_page == 65001) {
        AppendUtf8AsUtf16(bytes, text);
        return true;
    }
    const char* name = IconvName(code_page);
    if (name == nullptr)
        return false;
    CIconv converter(name);
    if (!converter.valid())
        return false;
    ConvertWithIconv(converter, bytes, text);
    return true;
}
