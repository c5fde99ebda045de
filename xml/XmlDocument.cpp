#include "xml/XmlDocument.h"

#include "framework/Diagnostics.h"
#include "xml/NodeScanner.h"
#include "xml/References.h"
#include "xml/TextFile.h"
#include "xml/TreeBuilder.h"
#include "xml/WideSearch.h"

#include <cstdint>
#include <new>

namespace {
constexpr size_t kCharactersPerExpectedElement = 64;
constexpr size_t kSpareEntries = 8;

// The text nodes of content that holds markup, decoded, and its CDATA sections as they are.
void AppendTextNodes(XmlTextView content, std::wstring& result) {
    XmlNode node;
    for (size_t pos = 0; pos < content.size(); pos = node.end) {
        ScanXmlNode(content, pos, node);
        if (node.error != XmlScanError::None)
            continue;
        if (node.kind == kXmlText) {
            AppendDecodedText(content.substr(node.start, node.end - node.start), result);
        } else if (node.kind == kXmlCdata) {
            // The characters between "<![CDATA[" and "]]>", as they are.
            size_t inner_start = std::min(node.start + 9, node.end - 3);
            AppendXmlTextAsWide(content.substr(inner_start, node.end - 3 - inner_start), result);
        }
    }
}
} // namespace

XmlDocument::XmlDocument() = default;

bool XmlDocument::Load(const std::wstring& path) {
    bool well_formed = LoadFile(path);
    // What reading found goes to the diagnostic channel, with the file it came from.
    if (!result_log_.empty())
        nvx::Diagnose(L"xml", path + L": " + result_log_);
    return well_formed;
}

bool XmlDocument::LoadFile(const std::wstring& path) {
    Clear();
    try {
        int encoding_flags = 0;
        if (!ReadTextFile(path, text_, encoding_flags, result_log_)) {
            XmlText().swap(text_);
            return false;
        }
        flags_ = encoding_flags;
        return Parse();
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
}

bool XmlDocument::LoadFromBytes(std::string_view bytes) {
    Clear();
    try {
        int encoding_flags = 0;
        DecodeTextBytes(bytes, text_, encoding_flags, result_log_);
        flags_ = encoding_flags;
        return Parse();
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
}

bool XmlDocument::LoadFromText(std::wstring text) {
    Clear();
    try {
        text_ = XmlTextFromWide(std::move(text));
        return Parse();
    } catch (const std::bad_alloc&) {
        Clear();
        return false;
    }
}

void XmlDocument::Clear() {
    // Release the old document before a new one is read, so two never occupy memory together.
    XmlText().swap(text_);
    std::wstring().swap(result_log_);
    long_tags_ = XmlLongTagLengths{};
    elements_.Reset(1);
    flags_ = 0;
    ResetCursor();
}

bool XmlDocument::Parse() {
    ResetCursor();
    if (text_.size() > static_cast<size_t>(INT32_MAX)) { // offsets in the index are 32-bit
        Clear();
        return false;
    }
    elements_.Reset(static_cast<int64_t>(text_.size() / kCharactersPerExpectedElement + kSpareEntries));
    CXmlTreeBuilder builder(text_, elements_, result_log_, long_tags_);
    bool well_formed = builder.Build();
    elements_.Trim();
    return well_formed;
}

void XmlDocument::ResetCursor() noexcept {
    parent_pos_ = 0;
    current_pos_ = 0;
    child_pos_ = 0;
    node_kind_ = 0;
}

XmlTextView XmlDocument::ElementName(int index) const noexcept {
    if (index <= 0 || index >= elements_.FreePos())
        return {};
    XmlTextView text = text_;
    size_t name_start = static_cast<size_t>(elements_[index].start) + 1;
    return text.substr(name_start, XmlNameEnd(text, name_start) - name_start);
}

int XmlDocument::StartTagLength(int index) const noexcept {
    auto field = static_cast<int>(elements_[index].tag_lengths & kXmlStartTagLengthMask);
    if (field == static_cast<int>(kXmlStartTagLengthMask))
        return long_tags_.start_tags.at(index);
    return field;
}

int XmlDocument::EndTagLength(int index) const noexcept {
    auto field = static_cast<int>(elements_[index].tag_lengths >> kXmlTagLengthBits);
    if (field == static_cast<int>(kXmlEndTagLengthMask))
        return long_tags_.end_tags.at(index);
    return field;
}

std::wstring XmlDocument::ContentText(int index) const {
    const XmlElementEntry& entry = elements_[index];
    size_t content_start = static_cast<size_t>(entry.start) + static_cast<size_t>(StartTagLength(index));
    size_t content_end = static_cast<size_t>(entry.start) + static_cast<size_t>(entry.length) -
                         static_cast<size_t>(EndTagLength(index));
    if (content_end <= content_start)
        return {};
    XmlTextView content = XmlTextView(text_).substr(content_start, content_end - content_start);
    // Most contents are plain text: one search for the two characters that need more than a copy.
    size_t special = FindWideEither(content.data(), 0, content.size(), L'<', L'&');
    if (special == content.size())
        return std::wstring(content.begin(), content.end());
    std::wstring result;
    // Decoding and dropping markup only shorten the content.
    result.reserve(content.size());
    if (content[special] == L'&' &&
        FindWideChar(content.data(), special + 1, content.size(), L'<') == content.size()) {
        AppendDecodedText(content, result);
    } else {
        AppendTextNodes(content, result);
    }
    // Many references, or much markup (comments, say) around little text: give back what the
    // text does not need.
    if (result.capacity() - result.size() > result.size() / 4)
        result.shrink_to_fit();
    return result;
}
