#include "xml/TextFile.h"

#include "xml/CodePageConversion.h"
#include "xml/FileAccess.h"
#include "xml/ResultLog.h"
#include "xml/Utf8.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>

namespace {

constexpr size_t kHeadBytes = 1024; // where a declared encoding is looked for

struct ByteOrderMark {
    const char* bytes;
    size_t length;
    const wchar_t* encoding;
    int flag;
    size_t unit_size;
};

constexpr ByteOrderMark kMarks[] = {
    {"\xEF\xBB\xBF", 3, L"UTF-8", kEncodingUtf8Bom, 1},
    {"\xFF\xFE", 2, L"UTF-16LE", kEncodingUtf16LeBom, 2},
    {"\xFE\xFF", 2, L"UTF-16BE", kEncodingUtf16BeBom, 2},
};

const ByteOrderMark* FindMark(std::string_view bytes) {
    for (const ByteOrderMark& mark : kMarks) {
        if (bytes.starts_with(std::string_view(mark.bytes, mark.length)))
            return &mark;
    }
    return nullptr;
}

void RecordFileError(std::wstring& log, const FileFailure& failure) {
    std::wstring_view message = failure.message;
    message = message.substr(0, message.find_first_of(L"\r\n"));
    RecordLogEvent(log, L"file_error", {{L"msg", message}, {L"n", failure.code}});
}

// UTF-16 units: NUL units are left out, big-endian units are swapped.
void DecodeUtf16(std::string_view body, bool big_endian, XmlText& text, std::wstring& log,
                 std::wstring_view encoding) {
    size_t units = body.size() / 2; // a trailing odd byte is no unit
    text.reserve(units);
    const auto* p = reinterpret_cast<const unsigned char*>(body.data());
    int first = big_endian ? 1 : 0;
    for (size_t i = 0; i < units; ++i) {
        auto unit = static_cast<XmlChar>(p[2 * i + first] | (p[2 * i + 1 - first] << 8));
        if (unit != 0)
            text += unit;
    }
    RecordLogEvent(log, L"read", {{L"encoding", encoding}, {L"length", static_cast<int64_t>(units)}});
    if (text.size() != units)
        RecordLogEvent(log, L"nulls_removed", {{L"count", static_cast<int64_t>(units - text.size())}});
    if (big_endian)
        RecordLogEvent(log, L"endian_swap");
}

// Code pages that stand for UTF-16 or UTF-32: 8-bit text that names one of them has lost its
// NUL bytes already, so what is left is read as the ASCII-compatible UTF-8.
bool IsWideCodePage(int code_page) {
    return code_page == 1200 || code_page == 1201 || code_page == 12000 || code_page == 12001 ||
           code_page == kCodePageUtf32Mark;
}

} // namespace

void DecodeTextBytes(std::string_view bytes, XmlText& text, int& encoding_flags, std::wstring& log) {
    text.clear();
    encoding_flags = 0;
    std::wstring encoding;
    size_t unit_size = 1;
    size_t mark_length = 0;
    if (const ByteOrderMark* mark = FindMark(bytes)) {
        encoding_flags = mark->flag;
        encoding = mark->encoding;
        unit_size = mark->unit_size;
        mark_length = mark->length;
        RecordLogEvent(log, L"bom");
    } else {
        XmlText head;
        AppendUtf8AsUtf16(bytes.substr(0, kHeadBytes), head);
        encoding = FindDeclaredEncoding(head);
        if (encoding.empty() && !bytes.empty() && bytes.front() == '<')
            encoding = L"UTF-8";
    }
    std::string_view body = bytes.substr(mark_length);
    if (unit_size == 2) {
        DecodeUtf16(body, encoding_flags == kEncodingUtf16BeBom, text, log, encoding);
        return;
    }

    // NUL bytes are left out of the text (a copy only when there are any).
    std::string without_nulls;
    size_t read_length = body.size();
    if (std::memchr(body.data(), 0, body.size()) != nullptr) {
        without_nulls.reserve(body.size());
        std::remove_copy(body.begin(), body.end(), std::back_inserter(without_nulls), '\0');
        body = without_nulls;
    }
    if (encoding.empty())
        RecordLogEvent(log, L"read", {{L"length", static_cast<int64_t>(read_length)}});
    else
        RecordLogEvent(log, L"read",
                       {{L"encoding", encoding}, {L"length", static_cast<int64_t>(read_length)}});
    if (body.size() != read_length)
        RecordLogEvent(log, L"nulls_removed", {{L"count", static_cast<int64_t>(read_length - body.size())}});

    if (encoding.empty() && PassesUtf8Test(body)) {
        encoding = L"UTF-8";
        AddLogAttribute(log, L"read", {L"encoding", encoding});
        RecordLogEvent(log, L"utf8_detection");
    }
    int code_page = CodePageFromName(encoding);
    if (code_page == -1)
        code_page = 0;
    if (IsWideCodePage(code_page))
        code_page = 65001;
    if (!ConvertFromCodePage(code_page, body, text) && code_page != 0)
        ConvertFromCodePage(0, body, text); // a code page the system cannot convert: as unknown names
    // Text in a multi-byte code page can be much shorter than its bytes.
    if (text.capacity() - text.size() > text.size() / 4)
        text.shrink_to_fit();
    RecordLogEvent(log, L"converted_to",
                   {{L"encoding", L"UTF-16"}, {L"length", static_cast<int64_t>(text.size())}});
}

bool ReadTextFile(const std::wstring& path, XmlText& text, int& encoding_flags, std::wstring& log) {
    text.clear();
    encoding_flags = 0;
    FILE* file = OpenFileForReading(path);
    if (file == nullptr) {
        RecordFileError(log, LastFileFailure());
        return false;
    }
    bool ok = false;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    char head[kHeadBytes];
    size_t head_length = size > 0 ? std::min(static_cast<size_t>(size), kHeadBytes) : 0;
    size_t head_got = 0;
    if (size < 0 || std::fseek(file, 0, SEEK_SET) != 0 ||
        ((head_got = std::fread(head, 1, head_length, file)) < head_length && std::ferror(file))) {
        RecordFileError(log, LastFileFailure());
    } else if (size > INT_MAX) {
        // Offsets in the element index are 32-bit.
        RecordFileError(log, FileTooLargeFailure());
    } else {
        auto bytes = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(size) + 1);
        std::memcpy(bytes.get(), head, head_got);
        size_t got = head_got;
        if (head_got == head_length)
            got += std::fread(bytes.get() + head_got, 1, static_cast<size_t>(size) - head_got, file);
        if (got < static_cast<size_t>(size) && std::ferror(file)) {
            RecordFileError(log, LastFileFailure());
        } else {
            DecodeTextBytes(std::string_view(bytes.get(), got), text, encoding_flags, log);
            ok = true;
        }
    }
    if (std::fclose(file) != 0)
        RecordFileError(log, LastFileFailure());
    return ok;
}
