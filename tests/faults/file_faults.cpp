#include "file_faults.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace zarn::testing {
namespace {

struct OpenFile
{
    std::string path;
    bool writable = false;
    bool written = false;
};

struct Recording
{
    bool active = false;
    std::optional<Fault> fault;
    std::map<FileOperation, int> counts;
    bool failNextWrite = false;
    std::vector<FileCall> calls;
    // What each descriptor opened while recording leads to, and the streams among them.
    std::map<int, OpenFile> descriptors;
    std::set<FILE*> streams;
};

// Never destroyed, since the C library is called until the very end of the program.
Recording& recording()
{
    static Recording* const instance = new Recording;
    return *instance;
}

// The C library's own function of that name.
template <typename Function>
Function* next(const char* name)
{
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

enum class Verdict
{
    PassOn,
    Fail,
    ShortWrite,
};

// Records a call and tells what to do with it, after running the fault's action where it has
// one.
Verdict judge(FileOperation operation, const OpenFile& file)
{
    Recording& r = recording();
    r.calls.push_back({operation, file.path, file.writable, file.written});
    const int number = ++r.counts[operation];
    if (operation == FileOperation::Write && r.failNextWrite) {
        r.failNextWrite = false;
        return Verdict::Fail;
    }
    if (!r.fault || r.fault->operation != operation || r.fault->callNumber != number) {
        return Verdict::PassOn;
    }
    if (r.fault->before) {
        r.active = false;
        r.fault->before();
        r.active = true;
    }
    switch (r.fault->kind) {
    case FaultKind::Error:
        return Verdict::Fail;
    case FaultKind::None:
        return Verdict::PassOn;
    case FaultKind::ShortWriteThenError:
    case FaultKind::ShortWrite:
        break;
    }
    r.failNextWrite = r.fault->kind == FaultKind::ShortWriteThenError;
    return Verdict::ShortWrite;
}

OpenFile& fileOf(int fd)
{
    auto& descriptors = recording().descriptors;
    const auto found = descriptors.find(fd);
    if (found != descriptors.end()) {
        return found->second;
    }
    return descriptors[fd] = OpenFile{"descriptor " + std::to_string(fd)};
}

// The path of `name` in the folder open at `folder`, or `name` itself where it is absolute or
// taken from the current folder.
std::string pathIn(int folder, const char* name)
{
    if (folder == AT_FDCWD || name[0] == '/') {
        return name;
    }
    std::filesystem::path path = std::filesystem::path(fileOf(folder).path) / name;
    path = path.lexically_normal();
    std::string text = path.string();
    if (text.size() > 1 && text.ends_with('/')) {
        text.pop_back();
    }
    return text;
}

bool opensForWriting(int flags)
{
    return (flags & O_ACCMODE) != O_RDONLY;
}

int failWith()
{
    errno = recording().fault->error;
    return -1;
}

template <typename Open>
int openFile(Open realOpen, const std::string& path, int flags)
{
    if (!recording().active) {
        return realOpen();
    }
    const OpenFile file{path, opensForWriting(flags)};
    if (judge(FileOperation::Open, file) == Verdict::Fail) {
        return failWith();
    }
    const int fd = realOpen();
    if (fd >= 0) {
        recording().descriptors[fd] = file;
    }
    return fd;
}

FILE* openStream(FILE* (*realOpen)(const char*, const char*), const char* path, const char* mode)
{
    if (!recording().active) {
        return realOpen(path, mode);
    }
    const bool writable = mode[0] != 'r' || std::string(mode).find('+') != std::string::npos;
    const OpenFile file{path, writable};
    if (judge(FileOperation::Open, file) == Verdict::Fail) {
        failWith();
        return nullptr;
    }
    FILE* stream = realOpen(path, mode);
    if (stream != nullptr) {
        recording().streams.insert(stream);
        recording().descriptors[::fileno(stream)] = file;
    }
    return stream;
}

// Passes a call on a descriptor to `call`, or fails it.
template <typename Call>
auto onDescriptor(FileOperation operation, int fd, Call call) -> decltype(call())
{
    if (!recording().active) {
        return call();
    }
    if (judge(operation, fileOf(fd)) == Verdict::Fail) {
        return failWith();
    }
    return call();
}

// Passes a call on a name in a folder to `call`, or fails it; a rename is known by the name it
// moves to.
template <typename Call>
int onName(FileOperation operation, int folder, const char* name, Call call)
{
    if (recording().active && judge(operation, {pathIn(folder, name), true}) == Verdict::Fail) {
        return failWith();
    }
    return call();
}

// Closes through `call`, and then fails if told to: a failed close still releases the file.
template <typename Call>
int onClose(int fd, Call call)
{
    if (!recording().active) {
        return call();
    }
    const Verdict verdict = judge(FileOperation::Close, fileOf(fd));
    recording().descriptors.erase(fd);
    const int result = call();
    return verdict == Verdict::Fail ? failWith() : result;
}

mode_t modeArgument(int flags, va_list arguments)
{
    const bool creates = (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
    return creates ? va_arg(arguments, mode_t) : 0;
}

} // namespace

const char* nameOf(FileOperation operation)
{
    switch (operation) {
    case FileOperation::Open:
        return "open";
    case FileOperation::Read:
        return "read";
    case FileOperation::Status:
        return "status";
    case FileOperation::Write:
        return "write";
    case FileOperation::SetPermissions:
        return "set permissions";
    case FileOperation::FlushToDisk:
        return "flush to disk";
    case FileOperation::Rename:
        return "rename";
    case FileOperation::Remove:
        return "remove";
    case FileOperation::Close:
        return "close";
    }
    return "?";
}

void startRecording()
{
    recording() = Recording{};
    recording().active = true;
}

void startRecording(const Fault& fault)
{
    startRecording();
    recording().fault = fault;
}

std::vector<FileCall> stopRecording()
{
    std::vector<FileCall> calls = std::move(recording().calls);
    recording() = Recording{};
    return calls;
}

} // namespace zarn::testing

using zarn::testing::FileOperation;
using zarn::testing::next;
using zarn::testing::onClose;
using zarn::testing::onDescriptor;
using zarn::testing::onName;
using zarn::testing::openFile;
using zarn::testing::openStream;
using zarn::testing::pathIn;

extern "C" {

int open(const char* path, int flags, ...)
{
    static auto* const real = next<int(const char*, int, ...)>("open");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = zarn::testing::modeArgument(flags, arguments);
    va_end(arguments);
    return openFile([&] { return real(path, flags, mode); }, path, flags);
}

int openat(int folder, const char* name, int flags, ...)
{
    static auto* const real = next<int(int, const char*, int, ...)>("openat");
    va_list arguments;
    va_start(arguments, flags);
    const mode_t mode = zarn::testing::modeArgument(flags, arguments);
    va_end(arguments);
    if (!zarn::testing::recording().active) {
        return real(folder, name, flags, mode);
    }
    return openFile([&] { return real(folder, name, flags, mode); }, pathIn(folder, name), flags);
}

FILE* fopen64(const char* path, const char* mode)
{
    static auto* const real = next<FILE*(const char*, const char*)>("fopen64");
    return openStream(real, path, mode);
}

ssize_t read(int fd, void* buffer, size_t size)
{
    static auto* const real = next<ssize_t(int, void*, size_t)>("read");
    return onDescriptor(FileOperation::Read, fd, [&] { return real(fd, buffer, size); });
}

ssize_t pread(int fd, void* buffer, size_t size, off_t offset)
{
    static auto* const real = next<ssize_t(int, void*, size_t, off_t)>("pread");
    return onDescriptor(FileOperation::Read, fd, [&] { return real(fd, buffer, size, offset); });
}

int fstat(int fd, struct stat* status) noexcept
{
    static auto* const real = next<int(int, struct stat*)>("fstat");
    return onDescriptor(FileOperation::Status, fd, [&] { return real(fd, status); });
}

int fstatat(int folder, const char* name, struct stat* status, int flags) noexcept
{
    static auto* const real = next<int(int, const char*, struct stat*, int)>("fstatat");
    return onName(FileOperation::Status, folder, name,
                  [&] { return real(folder, name, status, flags); });
}

ssize_t write(int fd, const void* bytes, size_t size)
{
    static auto* const real = next<ssize_t(int, const void*, size_t)>("write");
    if (!zarn::testing::recording().active) {
        return real(fd, bytes, size);
    }
    zarn::testing::OpenFile& file = zarn::testing::fileOf(fd);
    const zarn::testing::Verdict verdict = zarn::testing::judge(FileOperation::Write, file);
    if (verdict == zarn::testing::Verdict::Fail) {
        return zarn::testing::failWith();
    }
    const bool isShort = verdict == zarn::testing::Verdict::ShortWrite && size > 1;
    const ssize_t written = real(fd, bytes, isShort ? size / 2 : size);
    file.written = file.written || written > 0;
    return written;
}

int fchmod(int fd, mode_t mode) noexcept
{
    static auto* const real = next<int(int, mode_t)>("fchmod");
    return onDescriptor(FileOperation::SetPermissions, fd, [&] { return real(fd, mode); });
}

int fsync(int fd)
{
    static auto* const real = next<int(int)>("fsync");
    return onDescriptor(FileOperation::FlushToDisk, fd, [&] { return real(fd); });
}

int rename(const char* from, const char* to) noexcept
{
    static auto* const real = next<int(const char*, const char*)>("rename");
    return onName(FileOperation::Rename, AT_FDCWD, to, [&] { return real(from, to); });
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept
{
    static auto* const real = next<int(int, const char*, int, const char*)>("renameat");
    return onName(FileOperation::Rename, toFolder, to,
                  [&] { return real(fromFolder, from, toFolder, to); });
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to,
              unsigned int flags) noexcept
{
    static auto* const real =
        next<int(int, const char*, int, const char*, unsigned int)>("renameat2");
    return onName(FileOperation::Rename, toFolder, to,
                  [&] { return real(fromFolder, from, toFolder, to, flags); });
}

int unlink(const char* path) noexcept
{
    static auto* const real = next<int(const char*)>("unlink");
    return onName(FileOperation::Remove, AT_FDCWD, path, [&] { return real(path); });
}

int unlinkat(int folder, const char* name, int flags) noexcept
{
    static auto* const real = next<int(int, const char*, int)>("unlinkat");
    return onName(FileOperation::Remove, folder, name, [&] { return real(folder, name, flags); });
}

int close(int fd)
{
    static auto* const real = next<int(int)>("close");
    return onClose(fd, [&] { return real(fd); });
}

int fclose(FILE* stream)
{
    static auto* const real = next<int(FILE*)>("fclose");
    auto& streams = zarn::testing::recording().streams;
    if (streams.erase(stream) == 0) {
        return real(stream);
    }
    return onClose(::fileno(stream), [&] { return real(stream) == 0 ? 0 : -1; }) == 0 ? 0 : EOF;
}

} // extern "C"
