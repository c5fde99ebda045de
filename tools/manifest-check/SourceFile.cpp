#include "tools/manifest-check/SourceFile.h"

#include "tools/manifest-check/ReaderEvents.h"

CSourceFile::CSourceFile(std::wstring path, Findings& findings)
    : path_(std::move(path)), findings_(findings) {}

bool CSourceFile::Load(std::wstring_view what_it_is) {
    return Loaded(document_.Load(path_), what_it_is);
}

bool CSourceFile::LoadBytes(std::string_view bytes, std::wstring_view what_it_is) {
    return Loaded(document_.LoadFromBytes(bytes), what_it_is);
}

bool CSourceFile::Loaded(bool well_formed, std::wstring_view what_it_is) {
    lines_ = std::make_unique<CXmlLineStarts>(document_.Text());
    if (well_formed)
        return true;
    ReaderEvent event = FirstReaderProblem(document_.ResultLog());
    std::wstring message =
        std::wstring(what_it_is) + L" " + event.description + L"; the installer does not read it at all.";
    if (event.has_offset)
        ReportAtOffset(Severity::Error, L"not-readable", event.offset, std::move(message));
    else
        Report(Severity::Error, L"not-readable", 0, std::move(message));
    return false;
}

void CSourceFile::Report(Severity severity, std::wstring_view code, int element, std::wstring message) {
    if (element == 0) {
        findings_.push_back({severity, std::wstring(code), path_, 0, 0, std::move(message)});
        return;
    }
    ReportAtOffset(severity, code, static_cast<size_t>(document_.Element(element).start), std::move(message));
}

void CSourceFile::ReportAtOffset(Severity severity, std::wstring_view code, size_t offset,
                                 std::wstring message) {
    XmlTextPosition at = lines_ ? lines_->Locate(offset) : XmlTextPosition{};
    findings_.push_back({severity, std::wstring(code), path_, at.line, at.column, std::move(message)});
}

int CSourceFile::LineOf(int element) const {
    if (element == 0 || !lines_)
        return 0;
    return lines_->Locate(static_cast<size_t>(document_.Element(element).start)).line;
}

OnlineItem CSourceFile::Address(std::wstring what, std::wstring url, int element, std::wstring pin) const {
    XmlTextPosition at = lines_ && element != 0
                             ? lines_->Locate(static_cast<size_t>(document_.Element(element).start))
                             : XmlTextPosition{0, 0};
    return {std::move(what), std::move(url), std::move(pin), path_, at.line, at.column};
}
