// The fake CAD in a process of its own, as the tests and the end-to-end script meet the CAD:
//   fake_nanocad.exe [--drawing FILE] [--pick-wait MS]
//                                       serves the CAD's class and shows the window "nanoCAD 5"
//                                       until told "quit"; COM's "-Embedding" is accepted
//   fake_nanocad.exe --ctl WORD...      sends one command to the running fake and prints the
//                                       rows of its reply, tab-separated; exit 1 on an error
//   fake_nanocad.exe --register         writes this program as the class's local server
//   fake_nanocad.exe --unregister       removes that registration
// The commands are listed in FakeCommands.h.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FakeCommands.h"
#include "platform/Utf16.h"

namespace kalvex::fake {

namespace {

std::vector<std::string> arguments() {
    int count = 0;
    LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> words;
    for (int i = 1; i < count; ++i)
        words.push_back(toUtf8(reinterpret_cast<const char16_t*>(wide[i])));
    LocalFree(wide);
    return words;
}

std::wstring programPath() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::string readRequest(HANDLE pipe) {
    std::string line;
    char c = 0;
    DWORD read = 0;
    while (ReadFile(pipe, &c, 1, &read, nullptr) && read == 1 && c != '\n')
        line += c;
    return line;
}

void writeReply(HANDLE pipe, const Reply& reply) {
    const std::string text = encodeReply(reply);
    DWORD written = 0;
    WriteFile(pipe, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    FlushFileBuffers(pipe);
}

// Answers requests one at a time until "quit"; each runs on the server's thread.
void answerRequests(HANDLE pipe, FakeCadServer& server, BusyFilter& filter) {
    for (bool quit = false; !quit;) {
        if (!ConnectNamedPipe(pipe, nullptr) && GetLastError() != ERROR_PIPE_CONNECTED)
            return;
        const Words words = splitWords(readRequest(pipe));
        Reply reply{true, "", {}};
        quit = words[0] == "quit";
        if (!quit)
            server.call([&] { reply = runCommand(server, filter, words); });
        writeReply(pipe, reply);
        DisconnectNamedPipe(pipe);
    }
}

int serve(const std::vector<std::string>& words) {
    // Claiming the pipe first keeps a second fake from serving beside this one.
    HANDLE pipe = CreateNamedPipeW(kControlPipe, PIPE_ACCESS_DUPLEX | FILE_FLAG_FIRST_PIPE_INSTANCE,
                                   PIPE_TYPE_BYTE | PIPE_WAIT, 1, 1 << 16, 1 << 16, 0, nullptr);
    if (pipe == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "fake_nanocad: another fake CAD runs already\n");
        return 3;
    }
    FakeCadServer server;
    if (server.startResult() != S_OK) {
        std::fprintf(stderr, "fake_nanocad: the server could not start: 0x%08lX\n",
                     static_cast<unsigned long>(server.startResult()));
        return 2;
    }
    auto* filter = new BusyFilter;
    server.registerMessageFilter(filter);
    for (std::size_t i = 0; i + 1 < words.size(); ++i) {
        const std::string option = words[i] == "--drawing"     ? "load"
                                   : words[i] == "--pick-wait" ? "pick-wait"
                                                               : "";
        if (option.empty())
            continue;
        Reply done;
        server.call([&] { done = runCommand(server, *filter, {option, words[i + 1]}); });
        if (!done.ok)
            std::fprintf(stderr, "fake_nanocad: %s\n", done.message.c_str());
    }
    answerRequests(pipe, server, *filter);
    CloseHandle(pipe);
    server.registerMessageFilter(nullptr);
    filter->Release();
    return 0;
}

int control(const std::vector<std::string>& words) {
    const Reply reply = sendRequest(Words(words.begin() + 1, words.end()));
    for (const Words& row : reply.rows)
        std::printf("%s\n", joinWords(row).c_str());
    if (!reply.ok)
        std::fprintf(stderr, "fake_nanocad: %s\n", reply.message.c_str());
    return reply.ok ? 0 : 1;
}

} // namespace

} // namespace kalvex::fake

int main() {
    using namespace kalvex::fake;
    const std::vector<std::string> words = arguments();
    const std::string first = words.empty() ? "" : words[0];
    if (first == "--ctl" && words.size() > 1)
        return control(words);
    if (first == "--register")
        return registerLocalServer(programPath()) ? 0 : 1;
    if (first == "--unregister") {
        unregisterLocalServer();
        return 0;
    }
    return serve(words);
}
