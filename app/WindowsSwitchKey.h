#pragma once
#include <string>

// Lower-cases the token in the user's locale and converts it to the thread's ANSI code page.
std::string WindowsSwitchKey(const std::wstring& token);
