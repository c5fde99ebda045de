#pragma once
// The node scanner: splits a text into tags, text runs, CDATA sections, processing
// instructions, comments and document types, one node at a time. It never reads outside the
// text and every node ends at or before the end of the text.
#include "xml/XmlText.h"

#include <cstddef>

enum XmlNodeKind : int {
    kXmlEndTag = 0,
    kXmlStartTag = 1,
    kXmlText = 2,
    kXmlBlankText = 4,
    kXmlCdata = 8,
    kXmlProcessingInstruction = 16,
    kXmlComment = 32,
    kXmlDocumentType = 64,
};

enum class XmlScanError {
    None,
    FirstTag,     // "<" followed by a character that starts no node
    Exclamation,  // "<!" not followed by "-", "[" or "D"
    Comment,      // "<!-" not followed by "-"
    Cdata,        // "<![" not followed by "C"
    Doctype,      // a nested declaration in a document type that is not <!E, <!A or <!N
    Unterminated, // the text ends inside the node
};

struct XmlNode {
    int kind = kXmlText;
    XmlScanError error = XmlScanError::None;
    size_t start = 0;
    size_t end = 0;        // one past the node's last character
    size_t name_start = 0; // tags and processing instructions: the name (or target)
    size_t name_end = 0;
    size_t error_offset = 0; // where the error was found
    bool empty_element = false;
};

// True for the characters that end a name in a tag: blanks, < > = \ / ? ! " ' and ;. All of
// them lie at or below "\", so letters above it are told apart with one comparison.
inline bool IsXmlNameDelimiter(XmlChar c) noexcept {
    constexpr unsigned long long kBelow64 = (1ull << ' ') | (1ull << '\t') | (1ull << '\n') | (1ull << '\r') |
                                            (1ull << '<') | (1ull << '>') | (1ull << '=') | (1ull << '/') |
                                            (1ull << '?') | (1ull << '!') | (1ull << '"') | (1ull << '\'') |
                                            (1ull << ';');
    auto code = static_cast<unsigned long>(c);
    if (code < 64)
        return (kBelow64 >> code) & 1;
    return code == '\\';
}

inline bool IsXmlBlank(XmlChar c) noexcept {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r';
}

// A character that opens a start tag after "<": a letter, ":", "_" or anything above "`".
inline bool StartsXmlStartTag(XmlChar c) noexcept {
    return (c >= L'A' && c <= L'Z') || c == L':' || c == L'_' || c > L'`';
}

// The end of a name that starts at `pos`.
size_t XmlNameEnd(XmlTextView text, size_t pos) noexcept;

// Scans the node that begins at pos (< text.size()). With an error the node is an error node:
// a syntax error runs to the next "<" after the error, an unterminated node to the end.
void ScanXmlNode(XmlTextView text, size_t pos, XmlNode& node) noexcept;

// Scans the markup node that begins with the "<" at pos (everything but text runs).
void ScanXmlMarkup(XmlTextView text, size_t pos, XmlNode& node) noexcept;

// The name the log gives an unterminated node: "start_tag", "end_tag", "cdata_section", ...
const wchar_t* XmlUnterminatedTypeName(const XmlNode& node) noexcept;

// The log event of a scanner error, e.g. "first_tag_syntax".
const wchar_t* XmlScanErrorEvent(XmlScanError error) noexcept;
