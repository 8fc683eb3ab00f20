#include "drawing/dxf/TemporaryFiles.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvex::drawing {

namespace {

constexpr const char* kMarker = ".kalvex-tmp-";
constexpr std::size_t kRandomLength = 6; // mkstemp's XXXXXX

// The paths of the temporary files open now. Slots hold strdup'ed paths and are taken and
// cleared with compare-and-swap; a block, once linked, is never freed, so a signal handler can
// walk the chain while other threads save.
struct Block {
    std::atomic<char*> slots[256]{};
    std::atomic<Block*> next{nullptr};
};

Block g_first;
// Set by the signal handler: a path unregistered from then on is not freed, as the handler may
// be reading it.
std::atomic<bool> g_cleaning{false};

void unlinkListed() {
    for (Block* block = &g_first; block; block = block->next.load())
        for (std::atomic<char*>& slot : block->slots)
            if (const char* path = slot.load())
                ::unlink(path);
}

// Other threads go on saving while the handler runs: one that had listed its file and was about
// to create it when the flag was set creates it within moments, so the list is walked twice.
// No thread creates a listed file once it has seen the flag.
extern "C" void removeTemporariesAndEnd(int signal) {
    g_cleaning.store(true);
    unlinkListed();
    const timespec pause{0, 50'000'000};
    ::nanosleep(&pause, nullptr);
    unlinkListed();
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    ::raise(signal);
}

// The process id in a temporary file's name ".NAME.kalvex-tmp-PID-XXXXXX", or 0 when the name
// is not of that pattern.
pid_t writerOf(const std::string& name) {
    const std::size_t marker = name.rfind(kMarker);
    if (name.size() < 2 || name[0] != '.' || marker == std::string::npos || marker < 2)
        return 0;
    std::size_t at = marker + std::strlen(kMarker);
    long long pid = 0;
    const std::size_t digits = at;
    while (at < name.size() && name[at] >= '0' && name[at] <= '9' && at - digits < 10)
        pid = pid * 10 + (name[at++] - '0');
    if (at == digits || at >= name.size() || name[at] != '-' || pid <= 0 || pid > 0x7fffffff)
        return 0;
    ++at;
    if (name.size() - at != kRandomLength)
        return 0;
    for (; at < name.size(); ++at) {
        const char c = name[at];
        const bool alphanumeric =
            (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!alphanumeric)
            return 0;
    }
    return static_cast<pid_t>(pid);
}

// Fills the trailing X's of a pattern with random letters and digits, as mkstemp does.
void fillRandom(std::string& pattern) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}() ^ (std::uint64_t(::getpid()) << 32)};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (std::size_t i = pattern.size() - kRandomLength; i < pattern.size(); ++i)
        pattern[i] = kLetters[pick(random)];
}

} // namespace

int createTemporary(std::string& pattern) {
    const std::string base = pattern;
    for (int attempt = 0; attempt < 100; ++attempt) {
        pattern = base;
        fillRandom(pattern);
        registerTemporary(pattern);
        if (g_cleaning.load()) {
            // The process is ending by a signal: create nothing more.
            for (;;)
                ::pause();
        }
        const int fd = ::open(pattern.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0)
            return fd;
        const int error = errno;
        unregisterTemporary(pattern);
        if (error != EEXIST) {
            errno = error;
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

std::string temporaryPattern(const std::string& path) {
    const std::filesystem::path target(path);
    const std::string name = "." + target.filename().string() + kMarker +
                             std::to_string(::getpid()) + "-" + std::string(kRandomLength, 'X');
    return target.has_parent_path() ? (target.parent_path() / name).string() : name;
}

void registerTemporary(const std::string& path) {
    char* copy = ::strdup(path.c_str());
    if (!copy)
        return;
    for (Block* block = &g_first;;) {
        for (std::atomic<char*>& slot : block->slots) {
            char* empty = nullptr;
            if (!slot.load() && slot.compare_exchange_strong(empty, copy))
                return;
        }
        Block* next = block->next.load();
        if (!next) {
            Block* fresh = new Block;
            if (block->next.compare_exchange_strong(next, fresh))
                next = fresh;
            else
                delete fresh;
        }
        block = next;
    }
}

void unregisterTemporary(const std::string& path) {
    for (Block* block = &g_first; block; block = block->next.load()) {
        for (std::atomic<char*>& slot : block->slots) {
            char* held = slot.load();
            if (held && path == held && slot.compare_exchange_strong(held, nullptr)) {
                if (!g_cleaning.load())
                    std::free(held);
                return;
            }
        }
    }
}

void removeTemporariesOnSignals() {
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
            continue; // a signal the caller ignores stays ignored
        struct sigaction action {};
        action.sa_handler = removeTemporariesAndEnd;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

std::vector<std::string> removeLeftoverTemporaries(const std::string& folder) {
    std::vector<std::string> removed;
    std::error_code error;
    std::filesystem::directory_iterator entries(folder.empty() ? "." : folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& path = entries->path();
        const pid_t writer = writerOf(path.filename().string());
        if (writer == 0 || writer == ::getpid())
            continue;
        if (::kill(writer, 0) == 0 || errno != ESRCH)
            continue; // still running, or not ours to judge
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (::unlink(path.c_str()) == 0)
            removed.push_back(path.string());
    }
    return removed;
}

} // namespace kalvex::drawing
