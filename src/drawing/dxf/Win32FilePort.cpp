#include "drawing/dxf/FilePort.h"

#include <algorithm>
#include <utility>

#include <windows.h>

namespace kalvex::drawing::files {

namespace {

HANDLE handleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

std::wstring wide(std::string_view utf8) {
    return pathOf(utf8).wstring();
}

std::string utf8Of(const wchar_t* text, int length) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

void (*g_cleanup)() = nullptr;

// A FILETIME counts 100 ns from 1601; 11 644 473 600 s lie between 1601 and 1970.
std::int64_t nanosecondsOf(LARGE_INTEGER time) {
    return (time.QuadPart - 116444736000000000LL) * 100;
}

std::optional<FileStatus> statusOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    FILE_BASIC_INFO times{};
    if (!::GetFileInformationByHandle(handle, &info) ||
        !::GetFileInformationByHandleEx(handle, FileBasicInfo, &times, sizeof times))
        return std::nullopt;
    FileStatus status;
    status.device = info.dwVolumeSerialNumber;
    status.inode = std::uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    status.size = std::uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    status.modifiedNs = nanosecondsOf(times.LastWriteTime);
    status.statusChangedNs = nanosecondsOf(times.ChangeTime);
    status.ownerMayWrite = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) == 0;
    return status;
}

BOOL WINAPI cleanUpOnConsoleEvent(DWORD) {
    if (g_cleanup)
        g_cleanup();
    return FALSE; // the next handler, in the end the system's own, ends the process
}

} // namespace

std::filesystem::path pathOf(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string textOf(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string lastError() {
    const DWORD code = ::GetLastError();
    wchar_t* message = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::string text = length ? utf8Of(message, static_cast<int>(length)) : std::string();
    ::LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == '.'))
        text.pop_back();
    ::SetLastError(code);
    return text.empty() ? "error " + std::to_string(code) : text;
}

// Opened for its attributes only, folders too, so that nobody is kept from the file meanwhile.
std::optional<FileStatus> statusOf(const std::string& path) {
    const HANDLE handle =
        ::CreateFileW(wide(path).c_str(), FILE_READ_ATTRIBUTES,
                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const std::optional<FileStatus> status = statusOfHandle(handle);
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    ::SetLastError(error);
    return status;
}

bool onReadOnlyFileSystem(const std::string& path) {
    wchar_t volume[MAX_PATH + 1];
    DWORD flags = 0;
    return ::GetVolumePathNameW(wide(path).c_str(), volume, MAX_PATH + 1) &&
           ::GetVolumeInformationW(volume, nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) &&
           (flags & FILE_READ_ONLY_VOLUME) != 0;
}

OpenFile::~OpenFile() {
    const DWORD error = ::GetLastError();
    close();
    ::SetLastError(error);
}

OpenFile::OpenFile(OpenFile&& other) noexcept : m_handle(std::exchange(other.m_handle, -1)) {}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
    if (this != &other) {
        close();
        m_handle = std::exchange(other.m_handle, -1);
    }
    return *this;
}

// Handles are not inherited (no security attributes); other processes may go on reading, writing
// and renaming a file that is read, as they may on POSIX.
OpenFile OpenFile::forReading(const std::string& path) {
    OpenFile file;
    const HANDLE handle = ::CreateFileW(wide(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE)
        file.m_handle = reinterpret_cast<std::intptr_t>(handle);
    return file;
}

OpenFile OpenFile::createNew(const std::string& path, bool& existed) {
    OpenFile file;
    const HANDLE handle = ::CreateFileW(wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    const DWORD error = ::GetLastError();
    existed = handle == INVALID_HANDLE_VALUE &&
              (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    if (handle != INVALID_HANDLE_VALUE)
        file.m_handle = reinterpret_cast<std::intptr_t>(handle);
    return file;
}

bool OpenFile::isOpen() const {
    return m_handle != -1;
}

std::uint64_t OpenFile::size() const {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handleOf(m_handle), &size) || size.QuadPart < 0)
        return 0;
    return static_cast<std::uint64_t>(size.QuadPart);
}

std::optional<FileStatus> OpenFile::status() const {
    return statusOfHandle(handleOf(m_handle));
}

std::int64_t OpenFile::read(char* buffer, std::size_t capacity) {
    const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
    DWORD count = 0;
    if (!::ReadFile(handleOf(m_handle), buffer, asked, &count, nullptr))
        return -1;
    return count;
}

bool OpenFile::writeAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD asked =
            static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD count = 0;
        if (!::WriteFile(handleOf(m_handle), bytes.data() + done, asked, &count, nullptr))
            return false;
        done += count;
    }
    return true;
}

bool OpenFile::flush() {
    return ::FlushFileBuffers(handleOf(m_handle)) != 0;
}

// A saved drawing keeps the attributes the user gave it (hidden, system, not indexed); its
// security descriptor is the one a new file in its folder inherits, as the drawing's was when it
// was made there.
void OpenFile::takePermissionsOf(const std::string& path) {
    const DWORD previous = ::GetFileAttributesW(wide(path).c_str());
    if (previous == INVALID_FILE_ATTRIBUTES)
        return;
    constexpr DWORD kKept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    FILE_BASIC_INFO info{}; // times of zero are left as they are
    info.FileAttributes = (previous & kKept) | FILE_ATTRIBUTE_ARCHIVE;
    ::SetFileInformationByHandle(handleOf(m_handle), FileBasicInfo, &info, sizeof info);
}

bool OpenFile::close() {
    if (m_handle == -1)
        return true;
    return ::CloseHandle(handleOf(std::exchange(m_handle, -1))) != 0;
}

// One rename over the drawing, as on POSIX: the name holds the old file or the new one, never
// neither. (ReplaceFileW would keep more of the old file, but works in several steps, and under
// Wine leaves a file of its own behind when it fails.) A read-only file is not replaced, as
// Windows refuses to delete one: the save fails with "access denied" and leaves it as it was.
bool replaceFile(const std::string& from, const std::string& to) {
    const std::wstring source = wide(from), target = wide(to);
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return ::MoveFileExW(source.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

long long currentProcess() {
    return ::GetCurrentProcessId();
}

ProcessState processState(long long id) {
    const HANDLE process =
        ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(id));
    if (!process)
        return ::GetLastError() == ERROR_INVALID_PARAMETER ? ProcessState::Gone
                                                           : ProcessState::Unknown;
    DWORD code = 0;
    const bool asked = ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    if (!asked)
        return ProcessState::Unknown;
    return code == STILL_ACTIVE ? ProcessState::Running : ProcessState::Gone;
}

// Console events are handled on a thread of their own, where anything may be called.
void removeFileNow(const char* path) {
    ::DeleteFileW(wide(path).c_str());
}

void pauseBriefly() {
    ::Sleep(50);
}

void onTermination(void (*cleanup)()) {
    g_cleanup = cleanup;
    ::SetConsoleCtrlHandler(cleanUpOnConsoleEvent, TRUE);
}

void waitForTermination() {
    for (;;)
        ::Sleep(INFINITE);
}

} // namespace kalvex::drawing::files
