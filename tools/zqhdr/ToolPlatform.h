#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// The tool's one seam to the operating system: files by handle, the terminal,
// folder access and the signals that stop a run. Nothing else in the tool
// includes a system header. Failures answer false (or -1) with `error` set to
// the system's reason.
namespace ToolPlatform {

// A file handle, -1 for none.
using FileHandle = int;
const FileHandle kNoFile = -1;

FileHandle OpenForReading(const std::string& path, std::string& error);
// The process's standard input, for "-": closed by no one.
const FileHandle kStandardInput = 0;
// A handle of the process's standard output of its own, so that closing it
// leaves standard output open.
FileHandle StandardOutput(std::string& error);
// Made anew: never a file that exists, never through a symbolic link; its
// permissions those of any new file (0666 less the umask).
FileHandle CreateNew(const std::string& path, std::string& error);
// Up to `bytes` bytes, as many as are there now (a pipe gives what it
// holds): 0 at the end, -1 on failure.
long ReadSome(FileHandle file, void* buffer, size_t bytes, std::string& error);
// Every byte, at the file's position, which moves on.
bool WriteAll(FileHandle file, const void* bytes, size_t count, std::string& error);
// Every byte, at `offset`; the file's position stays.
bool WriteAllAt(FileHandle file, uint64_t offset, const void* bytes, size_t count,
                std::string& error);
bool Close(FileHandle file, std::string& error);

// Whether the folder's entries can be listed and entered.
bool CanReadFolder(const std::string& path);
bool StandardErrorIsTerminal();

// Has a failed write come back as an error rather than a signal: a closed
// pipe under the progress lines, or a file size limit, then fails the file
// being written like any other write error.
void IgnoreWriteSignals();

// The signals that stop a run (INT, TERM and HUP, less those the caller set
// to be ignored, as nohup does, which stay ignored), held back from every
// thread while it lives, so that the thread that made it takes them with
// WaitForStop. Make it before starting the threads. While it lives SIGUSR1
// only wakes that thread.
class StopSignals {
public:
    StopSignals();
    ~StopSignals(); // lets them through again
    StopSignals(const StopSignals&) = delete;
    StopSignals& operator=(const StopSignals&) = delete;

    // The stop signal that came within `milliseconds`, or 0 (also when woken).
    int WaitForStop(unsigned milliseconds);
    // Ends the maker's WaitForStop now, or its next one; from any thread.
    void Wake();
    // Ends the process by `signal`, as if it had not been caught.
    [[noreturn]] static void EndBy(int signal);

private:
    struct Sets;
    std::unique_ptr<Sets> m_sets;
};

} // namespace ToolPlatform
