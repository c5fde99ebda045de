#pragma once
// Command-line switches. Every token (the program path included) is looked up as a switch;
// a switch receives the token after it as its value, and that token is still examined as a
// switch itself on the next step.
#include "config/LaunchOptions.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

using SwitchHandler = std::function<void(const std::wstring& value)>;
using SwitchTable = std::unordered_map<std::string, SwitchHandler>;

// Maps a token to the narrow, lower-cased text looked up in the switch table.
using SwitchKeyFunction = std::function<std::string(const std::wstring& token)>;

// The switches of the installer, each storing into options.
SwitchTable MakeSwitchHandlers(LaunchOptions& options);

// Lower-cases by the C library and narrows to ASCII ('?' for anything else); the Windows
// build uses the user's locale and the thread's ANSI code page instead.
std::string PortableSwitchKey(const std::wstring& token);

void ParseCommandLine(const std::vector<std::wstring>& tokens, const SwitchTable& switches,
                      const SwitchKeyFunction& key_of = PortableSwitchKey);
