#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// The file and process calls a save needs beyond the standard library: a file written to the disk
// before it is renamed, a new file that may not exist yet, the rename that replaces a drawing in
// one step, and the process ids in temporary files' names. One implementation is over the POSIX
// calls, one over Win32. A failed call leaves its reason for lastError() on the calling thread.
namespace kalvex::drawing::files {

// The path of a file named by UTF-8 text, the encoding of every path the program hands around.
std::filesystem::path pathOf(std::string_view utf8);
// The UTF-8 text of a path.
std::string textOf(const std::filesystem::path& path);

// The reason the last failed call of this port on this thread gave, in the system's words.
std::string lastError();

// What the file system keeps of a file.
struct FileStatus {
    std::uint64_t device = 0; // the file system (the volume on Windows)
    std::uint64_t inode = 0;  // the file within it, the same for every name of the file
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // since 1970
    // The last change of the file's status, which every write makes too, and which setting the
    // time of modification back cannot undo.
    std::int64_t statusChangedNs = 0;
    // The owner's write permission on POSIX; on Windows, no read-only attribute.
    bool ownerMayWrite = true;
};

// The status of the file a path names (through links); nothing, with lastError() set, when it
// cannot be had.
std::optional<FileStatus> statusOf(const std::string& path);
// Whether the file system that holds the existing file or folder `path` is mounted read-only.
bool onReadOnlyFileSystem(const std::string& path);

// An open file; closed when destroyed. Movable, not copyable.
class OpenFile {
public:
    OpenFile() = default;
    ~OpenFile();
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    // An existing file opened for reading.
    static OpenFile forReading(const std::string& path);
    // A file created for writing that did not exist (no other process opens it by accident: on
    // POSIX only its owner may read it, and it is not inherited by child processes).
    // `existed` tells a name already taken from other failures.
    static OpenFile createNew(const std::string& path, bool& existed);

    bool isOpen() const;
    // The size of the file, or 0 when the system does not say.
    std::uint64_t size() const;
    std::optional<FileStatus> status() const;
    // Reads up to `capacity` bytes: the number read, 0 at the end, -1 on failure.
    std::int64_t read(char* buffer, std::size_t capacity);
    bool writeAll(std::string_view bytes);
    // Writes what the system holds of the file through to the disk.
    bool flush();
    // Gives the file the permissions (on Windows the attributes) of the file at `path`, or those
    // of a new file when there is none: a saved drawing keeps who may read and change it. Not an
    // error when it cannot.
    void takePermissionsOf(const std::string& path);
    bool close();

private:
    std::intptr_t m_handle = -1;
};

// Renames `from` over `to` in one step: `to` holds either its old bytes or all of the new ones,
// whatever happens meanwhile.
bool replaceFile(const std::string& from, const std::string& to);

// The id of this process, as temporary files' names hold it.
long long currentProcess();
enum class ProcessState { Running, Gone, Unknown };
// Whether a process of that id runs now; Unknown when the system does not tell.
ProcessState processState(long long id);

// Removes a file; safe to call from a signal handler.
void removeFileNow(const char* path);
// Waits about 50 ms; safe to call from a signal handler.
void pauseBriefly();
// Calls `cleanup` when the process is ended by the user or the system (a terminal's interrupt or
// hang-up, a termination request, a closed console), then lets it end as it would have.
// Termination the caller has chosen to ignore stays ignored.
void onTermination(void (*cleanup)());
// Never returns: the thread waits for the termination that is under way.
[[noreturn]] void waitForTermination();

} // namespace kalvex::drawing::files
