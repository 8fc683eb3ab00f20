#include "FakeControl.h"

#include <windows.h>

namespace kalvex::fake {

namespace {

// Wine's COM looks local servers up in the machine's classes only, not in the user's.
constexpr wchar_t kClassKey[] = L"CLSID\\{449354E9-CDD8-4A11-BD82-0D4A3C21E7D2}";

std::string escaped(const std::string& word) {
    std::string out;
    for (const char c : word) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

char unescaped(char c) {
    return c == 't' ? '\t' : c == 'n' ? '\n' : c == 'r' ? '\r' : c;
}

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::string::size_type start = 0;
    while (start < text.size()) {
        const auto end = text.find('\n', start);
        lines.push_back(text.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return lines;
}

HANDLE openPipe(unsigned patienceMs) {
    const ULONGLONG until = GetTickCount64() + patienceMs;
    for (;;) {
        HANDLE pipe = CreateFileW(kControlPipe, GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (pipe != INVALID_HANDLE_VALUE || GetTickCount64() >= until)
            return pipe;
        // The fake has not made its pipe yet, or serves another client.
        if (GetLastError() == ERROR_PIPE_BUSY)
            WaitNamedPipeW(kControlPipe, 200);
        else
            Sleep(50);
    }
}

} // namespace

std::string joinWords(const Words& words) {
    std::string line;
    for (std::size_t i = 0; i < words.size(); ++i)
        line += (i ? "\t" : "") + escaped(words[i]);
    return line;
}

Words splitWords(const std::string& line) {
    Words words(1);
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t')
            words.emplace_back();
        else if (line[i] == '\\' && i + 1 < line.size())
            words.back() += unescaped(line[++i]);
        else if (line[i] != '\r')
            words.back() += line[i];
    }
    return words;
}

std::string encodeReply(const Reply& reply) {
    std::string text = reply.ok ? "ok" : joinWords({"error", reply.message});
    for (const Words& row : reply.rows)
        text += "\n" + joinWords(row);
    return text + "\n";
}

Reply decodeReply(const std::string& text) {
    const std::vector<std::string> lines = linesOf(text);
    Reply reply;
    if (lines.empty()) {
        reply.message = "the fake CAD gave no reply";
        return reply;
    }
    const Words first = splitWords(lines[0]);
    reply.ok = first[0] == "ok";
    reply.message = first.size() > 1 ? first[1] : (reply.ok ? "" : "no reason given");
    for (std::size_t i = 1; i < lines.size(); ++i)
        reply.rows.push_back(splitWords(lines[i]));
    return reply;
}

Reply sendRequest(const Words& request, unsigned patienceMs) {
    HANDLE pipe = openPipe(patienceMs);
    if (pipe == INVALID_HANDLE_VALUE)
        return {false, "the fake CAD's control pipe is not there", {}};
    const std::string line = joinWords(request) + "\n";
    DWORD written = 0;
    WriteFile(pipe, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    // The fake closes its end after the reply.
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(pipe);
    return decodeReply(text);
}

bool registerLocalServer(const std::wstring& program) {
    HKEY key = nullptr;
    const std::wstring path = std::wstring(kClassKey) + L"\\LocalServer32";
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring quoted = L"\"" + program + L"\"";
    const LONG result =
        RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(quoted.c_str()),
                       static_cast<DWORD>((quoted.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

void unregisterLocalServer() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, kClassKey);
}

} // namespace kalvex::fake
