#pragma once

#include <functional>
#include <string>
#include <vector>

// Makes chosen calls of the C library's file functions fail, for the test program that links
// this in: its own definitions of open, read, write, fsync, rename, close and the rest stand in
// front of the C library's and pass every call on, unless told to fail it.
namespace zarn::testing {

enum class FileOperation
{
    Open,           // open, openat, fopen64 (behind std::ifstream)
    Read,           // read, pread
    Status,         // fstat, fstatat
    Write,          // write
    SetPermissions, // fchmod
    FlushToDisk,    // fsync
    Rename,         // rename, renameat, renameat2
    Remove,         // unlink, unlinkat
    Close,          // close, fclose
};

inline constexpr FileOperation allFileOperations[] = {
    FileOperation::Open,   FileOperation::Read,           FileOperation::Status,
    FileOperation::Write,  FileOperation::SetPermissions, FileOperation::FlushToDisk,
    FileOperation::Rename, FileOperation::Remove,         FileOperation::Close,
};

const char* nameOf(FileOperation operation);

enum class FaultKind
{
    // The call fails with the given error and does nothing (close still releases the file).
    Error,
    // The write puts only half of its bytes, and the next write fails with the given error, as
    // when the disk fills up.
    ShortWriteThenError,
    // The write puts only half of its bytes; later writes work.
    ShortWrite,
    // The call goes through.
    None,
};

struct Fault
{
    FileOperation operation;
    int callNumber; // 1-based, counted among the calls of `operation` since recording began
    FaultKind kind;
    int error;
    // Runs just before the call, unrecorded: another program changing the folder at that moment.
    std::function<void()> before = {};
};

// One call seen while recording.
struct FileCall
{
    FileOperation operation;
    // The file or folder, as opened; a name in an open folder is joined to the folder's path.
    std::string path;
    bool writable; // whether the file was opened for writing
    bool written;  // whether anything was written through this descriptor before the call
};

// Starts recording calls, with no fault or with the given one; each start forgets the last run.
void startRecording();
void startRecording(const Fault& fault);
// Stops recording and returns the calls made since it started.
std::vector<FileCall> stopRecording();

} // namespace zarn::testing
