#include "tools/manifest-check/ReaderEvents.h"

#include "config/TextRules.h"

#include <map>

namespace {

struct LoggedEvent {
    std::wstring name;
    std::map<std::wstring, std::wstring, std::less<>> attributes;
};

// The log's own escapes, undone for the few characters it writes them for.
std::wstring Unescape(std::wstring_view text) {
    static const std::pair<std::wstring_view, wchar_t> kEscapes[] = {
        {L"&amp;", L'&'}, {L"&lt;", L'<'}, {L"&gt;", L'>'}, {L"&quot;", L'"'}, {L"&apos;", L'\''}};
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        bool replaced = false;
        for (const auto& [escape, c] : kEscapes) {
            if (text.substr(i, escape.size()) == escape) {
                out += c;
                i += escape.size() - 1;
                replaced = true;
                break;
            }
        }
        if (!replaced)
            out += text[i];
    }
    return out;
}

// The next <event attr="value" .../> from `pos`; false at the end of the log.
bool NextEvent(std::wstring_view log, size_t& pos, LoggedEvent& event) {
    size_t open = log.find(L'<', pos);
    if (open == std::wstring_view::npos)
        return false;
    size_t close = log.find(L"/>", open);
    if (close == std::wstring_view::npos)
        return false;
    pos = close + 2;
    std::wstring_view inside = log.substr(open + 1, close - open - 1);
    size_t name_end = std::min(inside.find(L' '), inside.size());
    event.name = std::wstring(inside.substr(0, name_end));
    event.attributes.clear();
    // Attribute values are escaped, so a quote always ends one.
    for (size_t at = name_end; at < inside.size();) {
        size_t equals = inside.find(L"=\"", at);
        if (equals == std::wstring_view::npos)
            break;
        size_t value_end = inside.find(L'"', equals + 2);
        if (value_end == std::wstring_view::npos)
            break;
        size_t name_start = inside.find_first_not_of(L' ', at);
        event.attributes[std::wstring(inside.substr(name_start, equals - name_start))] =
            Unescape(inside.substr(equals + 2, value_end - equals - 2));
        at = value_end + 1;
    }
    return true;
}

std::wstring Attribute(const LoggedEvent& event, std::wstring_view name) {
    auto found = event.attributes.find(name);
    return found != event.attributes.end() ? found->second : std::wstring();
}

// The words for the problem events, each with the attribute it names (or none).
struct EventWords {
    std::wstring_view event;
    std::wstring_view before;
    const wchar_t* attribute;
    std::wstring_view after;
};
constexpr EventWords kEventWords[] = {
    {L"file_error", L"cannot be read (", L"msg", L")"},
    {L"lone_end_tag", L"has an end tag </", L"tagname", L"> that closes no open element"},
    {L"unended_start_tag", L"has a start tag <", L"tagname", L"> that is never closed"},
    {L"unterminated_tag_syntax", L"ends in the middle of a ", L"type", L""},
    {L"first_tag_syntax", L"has a \"<\" that starts no tag (write &lt; for a \"<\" in text)", nullptr, L""},
    {L"exclamation_tag_syntax", L"has a \"<!\" that starts no comment, CDATA section or document type",
     nullptr, L""},
    {L"comment_tag_syntax", L"has a broken comment (\"<!-\" without a second \"-\")", nullptr, L""},
    {L"cdata_section_syntax", L"has a broken CDATA section", nullptr, L""},
    {L"doctype_tag_syntax", L"has a broken document type declaration", nullptr, L""},
    {L"no_root_element", L"holds no element at all", nullptr, L""},
    {L"root_has_sibling", L"has more than one top-level element", nullptr, L""},
};

// The words for a problem event; empty for events that are no problem ("read", "bom", ...).
std::wstring Describe(const LoggedEvent& event) {
    for (const EventWords& words : kEventWords) {
        if (event.name != words.event)
            continue;
        std::wstring text(words.before);
        if (words.attribute != nullptr)
            text += Attribute(event, words.attribute);
        return text += words.after;
    }
    return {};
}

} // namespace

ReaderEvent FirstReaderProblem(std::wstring_view log) {
    LoggedEvent event;
    for (size_t pos = 0; NextEvent(log, pos, event);) {
        std::wstring description = Describe(event);
        if (description.empty())
            continue;
        ReaderEvent problem{std::move(description)};
        std::wstring offset = Attribute(event, L"offset");
        if (!offset.empty()) {
            problem.has_offset = true;
            problem.offset = static_cast<size_t>(std::max(0, DecimalTextToInt(offset)));
        }
        return problem;
    }
    return {L"is not well-formed XML"};
}
