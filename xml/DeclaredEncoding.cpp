#include "xml/NodeScanner.h"
#include "xml/TextFile.h"
#include "xml/WideSearch.h"

#include <optional>

namespace {

size_t SkipBlanks(XmlTextView text, size_t at) {
    while (at < text.size() && IsXmlBlank(text[at]))
        ++at;
    return at;
}

// The value of an attribute inside a tag (`inside`: the characters after the tag's name, up to
// its closing ">"). Values are quoted with double or single quotes, or unquoted up to a blank or ">".
std::optional<XmlTextView> AttributeValue(XmlTextView inside, std::wstring_view wanted) {
    size_t at = 0;
    while (at < inside.size()) {
        size_t name_end = XmlNameEnd(inside, at);
        if (name_end == at) {
            ++at; // a blank, "/", "?" or a stray character between attributes
            continue;
        }
        XmlTextView name = inside.substr(at, name_end - at);
        at = SkipBlanks(inside, name_end);
        XmlTextView value;
        if (at < inside.size() && inside[at] == L'=') {
            at = SkipBlanks(inside, at + 1);
            if (at < inside.size() && (inside[at] == L'"' || inside[at] == L'\'')) {
                size_t close = FindInText(inside, inside[at], at + 1);
                if (close == XmlTextView::npos)
                    close = inside.size();
                value = inside.substr(at + 1, close - at - 1);
                at = close + 1;
            } else {
                size_t end = at;
                while (end < inside.size() && !IsXmlBlank(inside[end]) && inside[end] != L'>')
                    ++end;
                value = inside.substr(at, end - at);
                at = end;
            }
        }
        if (XmlTextEquals(name, wanted))
            return value;
    }
    return std::nullopt;
}

XmlTextView TagName(XmlTextView text, const XmlNode& node) {
    return text.substr(node.name_start, node.name_end - node.name_start);
}

// The characters of a tag after its name, without the closing ">".
XmlTextView TagInside(XmlTextView text, const XmlNode& node) {
    return text.substr(node.name_end, node.end - 1 - node.name_end);
}

// The value after "charset=" in a Content-Type value such as "text/html; charset=utf-8".
std::wstring CharsetOfContentType(XmlTextView content) {
    constexpr std::wstring_view kCharset = L"charset";
    size_t at = 0;
    while (at + kCharset.size() <= content.size() &&
           !XmlTextEquals(content.substr(at, kCharset.size()), kCharset))
        ++at;
    if (at + kCharset.size() > content.size())
        return {};
    at = SkipBlanks(content, at + 7);
    if (at >= content.size() || content[at] != L'=')
        return {};
    at = SkipBlanks(content, at + 1);
    return WideFromXmlText(content.substr(at, XmlNameEnd(content, at) - at));
}

} // namespace

std::wstring FindDeclaredEncoding(XmlTextView text) {
    bool seen_start_tag = false;
    XmlNode node;
    for (size_t pos = 0; pos < text.size(); pos = node.end) {
        ScanXmlNode(text, pos, node);
        if (node.error != XmlScanError::None)
            return {};
        if (node.kind == kXmlProcessingInstruction) {
            if (node.start == 0 && XmlTextEquals(TagName(text, node), L"xml"))
                return WideFromXmlText(
                    AttributeValue(TagInside(text, node), L"encoding").value_or(XmlTextView()));
        } else if (node.kind == kXmlStartTag) {
            XmlTextView name = TagName(text, node);
            if (!seen_start_tag) {
                seen_start_tag = true;
                if (!XmlTextEquals(name, L"html"))
                    return {};
            } else if (XmlTextEquals(name, L"meta")) {
                XmlTextView inside = TagInside(text, node);
                auto equiv = AttributeValue(inside, L"http-equiv");
                auto content = AttributeValue(inside, L"content");
                if (equiv && XmlTextEquals(*equiv, L"Content-Type") && content) {
                    std::wstring charset = CharsetOfContentType(*content);
                    if (!charset.empty())
                        return charset;
                }
            }
        } else if (node.kind == kXmlEndTag && XmlTextEquals(TagName(text, node), L"head")) {
            return {};
        }
    }
    return {};
}
