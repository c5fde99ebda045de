#include "xml/ResultLog.h"

namespace {

void AppendEscaped(std::wstring& out, std::wstring_view value) {
    if (value.size() > kResultLogTextLimit)
        value = value.substr(0, kResultLogTextLimit);
    for (wchar_t c : value) {
        const wchar_t* escape = c == L'&'    ? L"&amp;"
                                : c == L'<'  ? L"&lt;"
                                : c == L'>'  ? L"&gt;"
                                : c == L'"'  ? L"&quot;"
                                : c == L'\'' ? L"&apos;"
                                             : nullptr;
        if (escape != nullptr)
            out += escape;
        else
            out += c;
    }
}

std::wstring FormatAttribute(const LogAttribute& attribute) {
    std::wstring out = L" ";
    out += attribute.name;
    out += L"=\"";
    if (attribute.is_number)
        out += std::to_wstring(attribute.number);
    else
        AppendEscaped(out, attribute.text);
    out += L'"';
    return out;
}

} // namespace

void RecordLogEvent(std::wstring& log, std::wstring_view event,
                    std::initializer_list<LogAttribute> attributes) {
    if (log.size() >= kResultLogLimit)
        return;
    log += L'<';
    log += event;
    for (const LogAttribute& attribute : attributes)
        log += FormatAttribute(attribute);
    log += L"/>";
}

void AddLogAttribute(std::wstring& log, std::wstring_view event, const LogAttribute& attribute) {
    std::wstring opening = L"<";
    opening += event;
    size_t at = log.rfind(opening);
    while (at != std::wstring::npos) {
        size_t after = at + opening.size();
        // The entry's name must end here (a blank or "/>"), not merely start with the event's name.
        if (after < log.size() && (log[after] == L' ' || log[after] == L'/')) {
            log.insert(after, FormatAttribute(attribute));
            return;
        }
        if (at == 0)
            return;
        at = log.rfind(opening, at - 1);
    }
}
