#pragma once
// A published XML file loaded with the installer's own reader, and the findings about it placed
// at the lines and columns of its elements.
#include "tools/manifest-check/Finding.h"
#include "tools/manifest-check/OnlineChecks.h"
#include "xml/TextPosition.h"
#include "xml/XmlDocument.h"

#include <memory>
#include <string>
#include <string_view>

class CSourceFile {
public:
    CSourceFile(std::wstring path, Findings& findings);

    // Loads the file as the installer does. False (with an error reported) when the installer
    // would not read it at all: unreadable or not well-formed.
    bool Load(std::wstring_view what_it_is);
    // The same for the bytes of a file fetched from the path (an address).
    bool LoadBytes(std::string_view bytes, std::wstring_view what_it_is);

    const XmlDocument& Document() const noexcept { return document_; }
    const std::wstring& Path() const noexcept { return path_; }

    // A finding at the start tag of `element` (0: the file as a whole).
    void Report(Severity severity, std::wstring_view code, int element, std::wstring message);
    // The same at an offset of the text.
    void ReportAtOffset(Severity severity, std::wstring_view code, size_t offset, std::wstring message);
    int LineOf(int element) const;
    // An address of this file for the checks that fetch it, placed at `element`.
    OnlineItem Address(std::wstring what, std::wstring url, int element, std::wstring pin = {}) const;

private:
    bool Loaded(bool well_formed, std::wstring_view what_it_is);

    std::wstring path_;
    Findings& findings_;
    XmlDocument document_;
    std::unique_ptr<CXmlLineStarts> lines_;
};
