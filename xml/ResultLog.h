#pragma once
// The diagnostic log of loading and parsing a document: a small XML text with one empty element
// per event, e.g. <unended_start_tag tagname="b" offset="3" offset2="12"/>. Nothing in the
// program reads it; it is kept for diagnosis, so it stops taking events once it is 1000
// characters long.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

inline constexpr size_t kResultLogLimit = 1000;
// A tag name or message can be arbitrarily long; the log only needs enough of it to recognise it.
inline constexpr size_t kResultLogTextLimit = 256;

struct LogAttribute {
    LogAttribute(const wchar_t* attribute_name, std::wstring_view text_value)
        : name(attribute_name), text(text_value), is_number(false) {}
    LogAttribute(const wchar_t* attribute_name, int64_t number_value)
        : name(attribute_name), number(number_value), is_number(true) {}

    const wchar_t* name;
    std::wstring_view text;
    int64_t number = 0;
    bool is_number;
};

// Appends one event unless the log is already at its limit.
void RecordLogEvent(std::wstring& log, std::wstring_view event,
                    std::initializer_list<LogAttribute> attributes = {});

// Adds an attribute to the last entry of that event (when there is one), whatever the log's length:
// it completes an event already recorded rather than recording a new one.
void AddLogAttribute(std::wstring& log, std::wstring_view event, const LogAttribute& attribute);
