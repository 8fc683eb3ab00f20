#pragma once

#include <string>
#include <vector>

namespace kalvex::fake {

// The control channel of the fake CAD in its own process: a named pipe on which a client sends
// one request and reads one reply per connection. A request is one line of words separated by
// tabs; a reply is lines of such words, the first being "ok" or "error" with a message. Inside a
// word a backslash escapes a backslash, a tab, a line feed or a carriage return ("\\", "\t",
// "\n", "\r"), so any string travels. The commands are listed in nanocad/FakeCommands.h.
inline constexpr wchar_t kControlPipe[] = L"\\\\.\\pipe\\kalvex-fake-nanocad";

using Words = std::vector<std::string>;

std::string joinWords(const Words& words);
Words splitWords(const std::string& line);

struct Reply {
    bool ok = false;
    std::string message;     // the error's text
    std::vector<Words> rows; // the lines after the first
};

std::string encodeReply(const Reply& reply);
Reply decodeReply(const std::string& text);

// Sends one request and waits for its reply; waits up to `patienceMs` for the pipe to exist.
// A reply with ok false and a message says why the fake could not be reached.
Reply sendRequest(const Words& request, unsigned patienceMs = 5000);

// The local server registration of the CAD's class in the prefix's classes, so that COM knows
// the program that serves it and starts it when none runs; removing it leaves no trace.
bool registerLocalServer(const std::wstring& program);
void unregisterLocalServer();

} // namespace kalvex::fake
