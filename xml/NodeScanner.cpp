#include "xml/NodeScanner.h"
#include "xml/WideSearch.h"

namespace {

constexpr size_t npos = XmlTextView::npos;
constexpr int kUndecidedTag = -1; // the text ended before the kind of tag could be told

// Field by field: assigning a whole new node goes through a temporary, and that copy was the
// costliest part of scanning a tag.
void StartNode(XmlNode& node, size_t pos) {
    node.kind = kXmlText;
    node.error = XmlScanError::None;
    node.start = pos;
    node.end = pos;
    node.name_start = pos;
    node.name_end = pos;
    node.error_offset = pos;
    node.empty_element = false;
}

void Unterminated(XmlNode& node, int kind, size_t text_end) {
    node.kind = kind;
    node.error = XmlScanError::Unterminated;
    node.error_offset = node.start;
    node.end = text_end;
}

// A syntax error: the error node runs to the next "<" after the error (or the end).
void SyntaxError(XmlTextView text, XmlNode& node, XmlScanError error, size_t at) {
    node.error = error;
    node.error_offset = at;
    size_t next = FindInText(text, L'<', at + 1);
    node.end = next == npos ? text.size() : next;
}

// The first ">" at or after `from` whose two preceding characters are `closer`, neither of them
// before `from` (so the opening of a node cannot also close it).
size_t FindClose(XmlTextView text, size_t from, XmlChar closer, size_t closer_length) {
    size_t at = from;
    for (;;) {
        size_t gt = FindInText(text, L'>', at);
        if (gt == npos)
            return npos;
        if (gt >= from + closer_length) {
            bool matches = true;
            for (size_t k = 1; k <= closer_length; ++k)
                matches = matches && text[gt - k] == closer;
            if (matches)
                return gt;
        }
        at = gt + 1;
    }
}

void ScanStartTag(XmlTextView text, size_t pos, XmlNode& node) {
    node.kind = kXmlStartTag;
    node.name_start = pos + 1;
    node.name_end = XmlNameEnd(text, pos + 1);
    const XmlChar* data = text.data();
    size_t n = text.size();
    for (size_t i = node.name_end; i < n; ++i) {
        XmlChar c = data[i];
        if (c > L'>') // none of > " ' (the usual case: letters)
            continue;
        if (c == L'>') {
            node.end = i + 1;
            if (data[i - 1] == L'/' && i - 1 > pos) {
                size_t slash = i - 1;
                XmlChar before = data[slash - 1];
                node.empty_element =
                    slash == node.name_end || IsXmlBlank(before) || before == L'"' || before == L'\'';
            }
            return;
        }
        if (c == L'"' || c == L'\'') {
            size_t close = FindInText(text, c, i + 1);
            if (close == npos)
                break;
            i = close;
        }
    }
    Unterminated(node, kXmlStartTag, n);
}

void ScanDocumentType(XmlTextView text, size_t pos, XmlNode& node) {
    node.kind = kXmlDocumentType;
    size_t n = text.size();
    size_t depth = 0; // declarations nested inside, such as <!ENTITY ...>
    for (size_t i = pos + 3; i < n; ++i) {
        XmlChar c = text[i];
        if (c == L'>') {
            if (depth == 0) {
                node.end = i + 1;
                return;
            }
            --depth;
        } else if (c == L'<' && i + 1 < n && text[i + 1] == L'!') {
            if (i + 2 >= n)
                break;
            XmlChar kind = text[i + 2];
            if (kind != L'E' && kind != L'A' && kind != L'N') {
                SyntaxError(text, node, XmlScanError::Doctype, i);
                return;
            }
            ++depth;
            i += 2;
        }
    }
    Unterminated(node, kXmlDocumentType, n);
}

// A comment ("<!--" ... "-->") or CDATA section ("<![C" ... "]]>"): the fourth character must be
// `second`, and the node closes with a ">" after two `closer` characters.
void ScanBracketed(XmlTextView text, size_t pos, XmlNode& node, int kind, XmlChar second, XmlChar closer,
                   XmlScanError error) {
    size_t n = text.size();
    if (pos + 3 >= n) {
        Unterminated(node, kUndecidedTag, n);
        return;
    }
    node.kind = kind;
    if (text[pos + 3] != second) {
        SyntaxError(text, node, error, pos);
        return;
    }
    size_t gt = FindClose(text, pos + 4, closer, 2);
    if (gt == npos)
        Unterminated(node, kind, n);
    else
        node.end = gt + 1;
}

void ScanExclamation(XmlTextView text, size_t pos, XmlNode& node) {
    size_t n = text.size();
    if (pos + 2 >= n) {
        Unterminated(node, kUndecidedTag, n);
        return;
    }
    switch (text[pos + 2]) {
    case L'-':
        ScanBracketed(text, pos, node, kXmlComment, L'-', L'-', XmlScanError::Comment);
        return;
    case L'[':
        ScanBracketed(text, pos, node, kXmlCdata, L'C', L']', XmlScanError::Cdata);
        return;
    case L'D':
        ScanDocumentType(text, pos, node);
        return;
    default:
        node.kind = kUndecidedTag;
        SyntaxError(text, node, XmlScanError::Exclamation, pos);
        return;
    }
}

} // namespace

size_t XmlNameEnd(XmlTextView text, size_t pos) noexcept {
    size_t n = text.size();
    while (pos < n && !IsXmlNameDelimiter(text[pos]))
        ++pos;
    return pos;
}

void ScanXmlMarkup(XmlTextView text, size_t pos, XmlNode& node) noexcept {
    StartNode(node, pos);
    size_t n = text.size();
    if (pos + 1 >= n) {
        Unterminated(node, kUndecidedTag, n);
        return;
    }
    XmlChar c = text[pos + 1];
    if (StartsXmlStartTag(c)) {
        ScanStartTag(text, pos, node);
    } else if (c == L'/') {
        node.kind = kXmlEndTag;
        node.name_start = pos + 2;
        node.name_end = XmlNameEnd(text, pos + 2);
        size_t gt = FindInText(text, L'>', node.name_end);
        if (gt == npos)
            Unterminated(node, kXmlEndTag, n);
        else
            node.end = gt + 1;
    } else if (c == L'?') {
        node.kind = kXmlProcessingInstruction;
        node.name_start = pos + 2;
        node.name_end = XmlNameEnd(text, pos + 2);
        size_t gt = FindClose(text, pos + 2, L'?', 1);
        if (gt == npos)
            Unterminated(node, kXmlProcessingInstruction, n);
        else
            node.end = gt + 1;
    } else if (c == L'!') {
        ScanExclamation(text, pos, node);
    } else {
        node.kind = kUndecidedTag;
        SyntaxError(text, node, XmlScanError::FirstTag, pos);
    }
}

void ScanXmlNode(XmlTextView text, size_t pos, XmlNode& node) noexcept {
    if (text[pos] == L'<') {
        ScanXmlMarkup(text, pos, node);
        return;
    }
    StartNode(node, pos);
    size_t next = FindInText(text, L'<', pos);
    node.end = next == npos ? text.size() : next;
    node.kind = kXmlBlankText;
    for (size_t i = pos; i < node.end; ++i) {
        if (!IsXmlBlank(text[i])) {
            node.kind = kXmlText;
            break;
        }
    }
}

const wchar_t* XmlUnterminatedTypeName(const XmlNode& node) noexcept {
    switch (node.kind) {
    case kXmlStartTag:
        return L"start_tag";
    case kXmlEndTag:
        return L"end_tag";
    case kXmlCdata:
        return L"cdata_section";
    case kXmlProcessingInstruction:
        return L"processing_instruction";
    case kXmlComment:
        return L"comment";
    case kXmlDocumentType:
        return L"document_type";
    default:
        return L"tag";
    }
}

const wchar_t* XmlScanErrorEvent(XmlScanError error) noexcept {
    switch (error) {
    case XmlScanError::FirstTag:
        return L"first_tag_syntax";
    case XmlScanError::Exclamation:
        return L"exclamation_tag_syntax";
    case XmlScanError::Comment:
        return L"comment_tag_syntax";
    case XmlScanError::Cdata:
        return L"cdata_section_syntax";
    case XmlScanError::Doctype:
        return L"doctype_tag_syntax";
    case XmlScanError::Unterminated:
        return L"unterminated_tag_syntax";
    case XmlScanError::None:
        break;
    }
    return L"";
}
