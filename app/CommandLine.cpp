#include "app/CommandLine.h"

#include <cwctype>

SwitchTable MakeSwitchHandlers(LaunchOptions& options) {
    SwitchTable table;
    table["/s"] = [&options](const std::wstring&) { options.silent_mode = 1; };
    table["/n"] = [&options](const std::wstring&) { options.skip_validation = 1; };
    table["/l"] = [&options](const std::wstring&) { options.launch_when_done = 1; };
    table["/lang"] = [&options](const std::wstring& value) { options.requested_language = value; };
    table["/layout"] = [&options](const std::wstring& value) {
        options.layout_requested = true;
        options.layout_folder = value;
    };
    table["/quiet"] = [&options](const std::wstring&) {
        options.silent_mode = 1;
        options.quiet_mode = 1;
    };
    table["/log"] = [&options](const std::wstring& value) { options.log_path = value; };
    return table;
}

std::string PortableSwitchKey(const std::wstring& token) {
    std::string key;
    key.reserve(token.size());
    for (wchar_t c : token) {
        wchar_t lower = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
        key.push_back(lower < 0x80 ? static_cast<char>(lower) : '?');
    }
    return key;
}

void ParseCommandLine(const std::vector<std::wstring>& tokens, const SwitchTable& switches,
                      const SwitchKeyFunction& key_of) {
    for (size_t i = 0; i < tokens.size(); ++i) {
        auto handler = switches.find(key_of(tokens[i]));
        if (handler == switches.end())
            continue;
        std::wstring value;
        if (i + 1 < tokens.size()) {
            const std::wstring& candidate = tokens[i + 1];
            if (!candidate.empty() && candidate.front() != L'\\')
                value = candidate;
        }
        handler->second(value);
    }
}
