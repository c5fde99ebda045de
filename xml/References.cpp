#include "xml/References.h"

#include "xml/EntityTable.h"
#include "xml/WideSearch.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr size_t kMaxReferenceName = 9;
constexpr long kMaxCodePoint = 0x10FFFF;

wchar_t FoldAscii(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c;
}

bool IsAsciiUpper(wchar_t c) {
    return c >= L'A' && c <= L'Z';
}

const wchar_t* MixedCaseSpelling(int code_point) {
    for (const MixedCaseEntity& entity : kMixedCaseEntities) {
        if (entity.code_point == code_point)
            return entity.spelling;
    }
    return nullptr;
}

// Two entries share the folded name (such as eacute and Eacute): the spelling as written
// decides; when it is neither, the one whose first letter has the same case.
int ChooseByLetterCase(std::wstring_view written, int first, int second) {
    const wchar_t* first_spelling = MixedCaseSpelling(first);
    const wchar_t* second_spelling = MixedCaseSpelling(second);
    if (first_spelling == nullptr && second_spelling == nullptr)
        return first;
    int mixed = first_spelling ? first : second;
    int lower = first_spelling ? second : first;
    std::wstring_view mixed_spelling = first_spelling ? first_spelling : second_spelling;
    if (written == mixed_spelling)
        return mixed;
    bool written_lower = true;
    for (wchar_t c : written)
        written_lower = written_lower && !IsAsciiUpper(c);
    if (!written_lower && IsAsciiUpper(written.front()) && IsAsciiUpper(mixed_spelling.front()))
        return mixed;
    return lower;
}

// The number of a numeric reference ("#65", "#x41"), read as strtol reads it.
long NumericReferenceValue(std::wstring_view folded) {
    char digits[kMaxReferenceName + 1] = {};
    bool hex = folded.size() > 1 && folded[1] == L'x';
    size_t first = hex ? 2 : 1;
    size_t count = 0;
    for (size_t i = first; i < folded.size(); ++i)
        digits[count++] = static_cast<char>(folded[i]); // below 0x80 by construction
    return std::strtol(digits, nullptr, hex ? 16 : 10);
}

void AppendCodePoint(long value, std::wstring& out) {
    if (value > 0xFFFF) {
        long offset = value - 0x10000;
        out += static_cast<wchar_t>(0xD800 + ((offset >> 10) & 0x3FF));
        out += static_cast<wchar_t>(0xDC00 + (value & 0x3FF));
    } else {
        out += static_cast<wchar_t>(value);
    }
}

// The length of the reference name after the "&" at `amp` when a ";" closes it in time, else npos.
size_t ReferenceNameLength(XmlTextView text, size_t amp) {
    size_t limit = std::min(text.size() - amp - 1, kMaxReferenceName + 1);
    for (size_t k = 0; k < limit; ++k) {
        XmlChar c = text[amp + 1 + k];
        if (c == L';')
            return k;
        if (c >= 0x80)
            return XmlTextView::npos;
    }
    return XmlTextView::npos;
}

// The decoded value of a reference name (below 0x80, at most kMaxReferenceName characters), or 0
// when it stays as written.
long ReferenceValue(XmlTextView units) {
    wchar_t written[kMaxReferenceName];
    wchar_t folded[kMaxReferenceName];
    for (size_t i = 0; i < units.size(); ++i) {
        written[i] = static_cast<wchar_t>(units[i]);
        folded[i] = FoldAscii(written[i]);
    }
    std::wstring_view name(folded, units.size());
    if (!name.empty() && name[0] == L'#') {
        long value = NumericReferenceValue(name);
        // Beyond Unicode (or negative) there is no character to write: keep the text as written.
        return value < 0 || value > kMaxCodePoint ? 0 : value;
    }
    return NamedReferenceCodePoint(std::wstring_view(written, units.size()));
}

} // namespace

int NamedReferenceCodePoint(std::wstring_view written) {
    if (written.empty() || written.size() > kMaxReferenceName)
        return 0;
    unsigned sum = 0;
    for (wchar_t c : written)
        sum += static_cast<unsigned>(FoldAscii(c));
    std::wstring_view bucket = kEntityBuckets[sum % kEntityBucketCount];
    int found[2] = {0, 0};
    int matches = 0;
    for (size_t at = 0; at < bucket.size();) {
        size_t length = static_cast<size_t>(bucket[at] - L'0');
        std::wstring_view entry_name = bucket.substr(at + 5, length);
        if (length == written.size() && matches < 2) {
            bool same = true;
            for (size_t i = 0; i < length && same; ++i)
                same = FoldAscii(written[i]) == entry_name[i];
            if (same) {
                int code_point = 0;
                for (size_t i = 1; i <= 4; ++i)
                    code_point = code_point * 10 + (bucket[at + i] - L'0');
                found[matches++] = code_point;
            }
        }
        at += 5 + length;
    }
    if (matches == 2)
        return ChooseByLetterCase(written, found[0], found[1]);
    return found[0];
}

void AppendDecodedText(XmlTextView text, std::wstring& out) {
    size_t copied_from = 0;
    size_t at = FindInText(text, L'&');
    while (at != XmlTextView::npos) {
        size_t length = ReferenceNameLength(text, at);
        long value = length == XmlTextView::npos ? 0 : ReferenceValue(text.substr(at + 1, length));
        if (value != 0) {
            AppendXmlTextAsWide(text.substr(copied_from, at - copied_from), out);
            AppendCodePoint(value, out);
            copied_from = at + length + 2;
            at = FindInText(text, L'&', copied_from);
        } else {
            at = FindInText(text, L'&', at + 1);
        }
    }
    AppendXmlTextAsWide(text.substr(copied_from), out);
}
