#include "drawing/dxf/FilePort.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>
#include <utility>

namespace kalvex::drawing::files {

namespace {

int descriptorOf(std::intptr_t handle) {
    return static_cast<int>(handle);
}

void (*g_cleanup)() = nullptr;

std::int64_t nanoseconds(const timespec& time) {
    return static_cast<std::int64_t>(time.tv_sec) * 1000000000 + time.tv_nsec;
}

FileStatus statusFrom(const struct stat& info) {
    FileStatus status;
    status.device = static_cast<std::uint64_t>(info.st_dev);
    status.inode = static_cast<std::uint64_t>(info.st_ino);
    status.size = static_cast<std::uint64_t>(info.st_size);
    status.modifiedNs = nanoseconds(info.st_mtim);
    status.statusChangedNs = nanoseconds(info.st_ctim);
    status.ownerMayWrite = (info.st_mode & S_IWUSR) != 0;
    return status;
}

extern "C" void cleanUpAndEnd(int signal) {
    if (g_cleanup)
        g_cleanup();
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    ::raise(signal);
}

} // namespace

std::filesystem::path pathOf(std::string_view utf8) {
    return std::filesystem::path(utf8);
}

std::string textOf(const std::filesystem::path& path) {
    return path.string();
}

std::string lastError() {
    return std::strerror(errno);
}

std::optional<FileStatus> statusOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return statusFrom(info);
}

bool onReadOnlyFileSystem(const std::string& path) {
    struct statvfs system {};
    return ::statvfs(path.c_str(), &system) == 0 && (system.f_flag & ST_RDONLY) != 0;
}

OpenFile::~OpenFile() {
    const int error = errno;
    close();
    errno = error;
}

OpenFile::OpenFile(OpenFile&& other) noexcept : m_handle(std::exchange(other.m_handle, -1)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        close();
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

OpenFile OpenFile::forReading(const std::string& path) {
    OpenFile file;
    file.m_handle = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    return file;
}

OpenFile OpenFile::createNew(const std::string& path, bool& existed) {
    OpenFile file;
    file.m_handle = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    existed = file.m_handle < 0 && errno == EEXIST;
    return file;
}

bool OpenFile::isOpen() const {
    return m_handle >= 0;
}

std::uint64_t OpenFile::size() const {
    struct stat info {};
    if (::fstat(descriptorOf(m_handle), &info) != 0 || info.st_size < 0)
        return 0;
    return static_cast<std::uint64_t>(info.st_size);
}

std::optional<FileStatus> OpenFile::status() const {
    struct stat info {};
    if (::fstat(descriptorOf(m_handle), &info) != 0)
        return std::nullopt;
    return statusFrom(info);
}

std::int64_t OpenFile::read(char* buffer, std::size_t capacity) {
    for (;;) {
        const ssize_t count = ::read(descriptorOf(m_handle), buffer, capacity);
        if (count >= 0 || errno != EINTR)
            return count;
    }
}

bool OpenFile::writeAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count =
            ::write(descriptorOf(m_handle), bytes.data() + done, bytes.size() - done);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        done += static_cast<std::size_t>(count);
    }
    return true;
}

bool OpenFile::flush() {
    return ::fsync(descriptorOf(m_handle)) == 0;
}

void OpenFile::takePermissionsOf(const std::string& path) {
    struct stat previous {};
    const mode_t mode = ::stat(path.c_str(), &previous) == 0 ? previous.st_mode & 07777 : 0644;
    ::fchmod(descriptorOf(m_handle), mode);
}

bool OpenFile::close() {
    if (m_handle < 0)
        return true;
    return ::close(descriptorOf(std::exchange(m_handle, -1))) == 0;
}

bool replaceFile(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0;
}

long long currentProcess() {
    return ::getpid();
}

ProcessState processState(long long id) {
    if (::kill(static_cast<pid_t>(id), 0) == 0)
        return ProcessState::Running;
    return errno == ESRCH ? ProcessState::Gone : ProcessState::Unknown;
}

void removeFileNow(const char* path) {
    ::unlink(path);
}

void pauseBriefly() {
    const timespec pause{0, 50'000'000};
    ::nanosleep(&pause, nullptr);
}

void onTermination(void (*cleanup)()) {
    g_cleanup = cleanup;
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        if (::sigaction(signal, nullptr, &previous) != 0 || previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = cleanUpAndEnd;
        sigemptyset(&action.sa_mask);
        ::sigaction(signal, &action, nullptr);
    }
}

void waitForTermination() {
    for (;;)
        ::pause();
}

} // namespace kalvex::drawing::files
