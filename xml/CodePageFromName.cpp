#include "xml/CharsetTable.h"
#include "xml/TextFile.h"

namespace {
constexpr size_t kMaxCharsetName = 100;
}

int CodePageFromName(std::wstring_view name) {
    if (name.empty())
        return 0;
    if (name.starts_with(L"UTF-32"))
        return kCodePageUtf32Mark;
    if (name.size() >= kMaxCharsetName)
        return -1;
    std::wstring folded(name);
    unsigned sum = 0;
    for (wchar_t& c : folded) {
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c + (L'a' - L'A'));
        sum += static_cast<unsigned>(c);
    }
    std::wstring_view bucket = kCharsetBuckets[sum % kCharsetBucketCount];
    for (size_t at = 0; at + 7 <= bucket.size();) {
        size_t length = static_cast<size_t>((bucket[at] - L'0') * 10 + (bucket[at + 1] - L'0'));
        if (bucket.substr(at + 7, length) == folded) {
            int code_page = 0;
            for (size_t i = 2; i < 7; ++i)
                code_page = code_page * 10 + (bucket[at + i] - L'0');
            return code_page;
        }
        at += 7 + length;
    }
    return -1;
}
