#pragma once
// Messages for the user from code that must not show windows itself (it runs in tests, and
// below the user interface). The code hands the text to the sink; the application installs a
// sink that shows it in a message box, tests install one that keeps it. Without a sink the
// text goes to the debugger output.
#include <functional>
#include <string>

using UserMessageSink = std::function<void(const std::wstring& text)>;

// Installs `sink` (empty: none) and answers the one it replaces, so that a scope can put that
// back. Installed at start-up, before any other thread shows a message.
UserMessageSink SetUserMessageSink(UserMessageSink sink);

void ShowUserMessage(const std::wstring& text);
