#include "drawing/dxf/TemporaryFiles.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

namespace kalvex::drawing {

namespace {

constexpr const char* kMarker = ".kalvex-tmp-";
constexpr std::size_t kRandomLength = 6; // mkstemp's XXXXXX

// The paths of the temporary files open now. Slots hold malloc'ed copies of the paths and are taken
// and cleared with compare-and-swap; a block, once linked, is never freed, so a signal handler can
// walk the chain while other threads save.
struct Block {
    std::atomic<char*> slots[256]{};
    std::atomic<Block*> next{nullptr};
};

Block g_first;
// Set by the termination handler: a path unregistered from then on is not freed, as the handler
// may be reading it.
std::atomic<bool> g_cleaning{false};

void unlinkListed() {
    for (Block* block = &g_first; block; block = block->next.load())
        for (std::atomic<char*>& slot : block->slots)
            if (const char* path = slot.load())
                files::removeFileNow(path);
}

// Other threads go on saving while the handler runs: one that had listed its file and was about
// to create it when the flag was set creates it within moments, so the list is walked twice.
// No thread creates a listed file once it has seen the flag.
void removeListedTemporaries() {
    g_cleaning.store(true);
    unlinkListed();
    files::pauseBriefly();
    unlinkListed();
}

// The process id in a temporary file's name ".NAME.kalvex-tmp-PID-XXXXXX", or 0 when the name
// is not of that pattern.
long long writerOf(const std::string& name) {
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
    return pid;
}

// Fills the trailing X's of a pattern with random letters and digits, as mkstemp does.
void fillRandom(std::string& pattern) {
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}() ^
                                        (std::uint64_t(files::currentProcess()) << 32)};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (std::size_t i = pattern.size() - kRandomLength; i < pattern.size(); ++i)
        pattern[i] = kLetters[pick(random)];
}

} // namespace

files::OpenFile createTemporary(std::string& pattern) {
    const std::string base = pattern;
    files::OpenFile file;
    for (int attempt = 0; attempt < 100; ++attempt) {
        pattern = base;
        fillRandom(pattern);
        registerTemporary(pattern);
        if (g_cleaning.load())
            files::waitForTermination(); // the process is ending: create nothing more
        bool existed = false;
        file = files::OpenFile::createNew(pattern, existed);
        if (file.isOpen())
            return file;
        unregisterTemporary(pattern);
        if (!existed)
            break;
    }
    return file;
}

std::string temporaryPattern(const std::string& path) {
    const std::filesystem::path target = files::pathOf(path);
    const std::string name = "." + files::textOf(target.filename()) + kMarker +
                             std::to_string(files::currentProcess()) + "-" +
                             std::string(kRandomLength, 'X');
    return target.has_parent_path() ? files::textOf(target.parent_path() / files::pathOf(name))
                                    : name;
}

void registerTemporary(const std::string& path) {
    char* copy = static_cast<char*>(std::malloc(path.size() + 1));
    if (!copy)
        return;
    std::memcpy(copy, path.c_str(), path.size() + 1);
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
    files::onTermination(removeListedTemporaries);
}

std::vector<std::string> removeLeftoverTemporaries(const std::string& folder) {
    std::vector<std::string> removed;
    std::error_code error;
    std::filesystem::directory_iterator entries(files::pathOf(folder.empty() ? "." : folder),
                                                error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::filesystem::path& path = entries->path();
        const long long writer = writerOf(files::textOf(path.filename()));
        if (writer == 0 || writer == files::currentProcess())
            continue;
        if (files::processState(writer) != files::ProcessState::Gone)
            continue; // still running, or not ours to judge
        std::error_code status;
        if (std::filesystem::symlink_status(path, status).type() !=
            std::filesystem::file_type::regular)
            continue;
        if (std::filesystem::remove(path, status))
            removed.push_back(files::textOf(path));
    }
    return removed;
}

} // namespace kalvex::drawing
