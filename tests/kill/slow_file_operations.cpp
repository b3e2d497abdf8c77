// Preloaded into the real program by the kill tests: each read, write, flush and rename of a file
// in the program's own folder takes a few milliseconds longer, so that a kill at a random moment
// lands inside a transfer more often. Everything else runs at full speed.
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <string>
#include <sys/types.h>
#include <unistd.h>

namespace {

constexpr useconds_t delay = 10 * 1000;

std::string linkTarget(const std::string& link)
{
    char target[4096];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

const std::string& programFolder()
{
    static const std::string folder = [] {
        const std::string program = linkTarget("/proc/self/exe");
        return program.substr(0, program.rfind('/') + 1);
    }();
    return folder;
}

bool inProgramFolder(const std::string& path)
{
    return path.starts_with(programFolder());
}

std::string pathOf(int fd)
{
    return linkTarget("/proc/self/fd/" + std::to_string(fd));
}

void slowDown(int fd)
{
    if (inProgramFolder(pathOf(fd))) {
        ::usleep(delay);
    }
}

// Slows down a rename to `to` in the folder open at `folder`.
void slowDown(int folder, const char* to)
{
    if (inProgramFolder(folder == AT_FDCWD || to[0] == '/' ? std::string(to)
                                                           : pathOf(folder) + "/" + to)) {
        ::usleep(delay);
    }
}

template <typename Function>
Function* next(const char* name)
{
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

} // namespace

extern "C" {

ssize_t read(int fd, void* buffer, size_t size)
{
    static auto* const real = next<ssize_t(int, void*, size_t)>("read");
    slowDown(fd);
    return real(fd, buffer, size);
}

ssize_t pread(int fd, void* buffer, size_t size, off_t offset)
{
    static auto* const real = next<ssize_t(int, void*, size_t, off_t)>("pread");
    slowDown(fd);
    return real(fd, buffer, size, offset);
}

ssize_t write(int fd, const void* bytes, size_t size)
{
    static auto* const real = next<ssize_t(int, const void*, size_t)>("write");
    slowDown(fd);
    return real(fd, bytes, size);
}

int fsync(int fd)
{
    static auto* const real = next<int(int)>("fsync");
    slowDown(fd);
    return real(fd);
}

int rename(const char* from, const char* to) noexcept
{
    static auto* const real = next<int(const char*, const char*)>("rename");
    if (inProgramFolder(to)) {
        ::usleep(delay);
    }
    return real(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) noexcept
{
    static auto* const real = next<int(int, const char*, int, const char*)>("renameat");
    slowDown(toFolder, to);
    return real(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to,
              unsigned int flags) noexcept
{
    static auto* const real =
        next<int(int, const char*, int, const char*, unsigned int)>("renameat2");
    slowDown(toFolder, to);
    return real(fromFolder, from, toFolder, to, flags);
}

} // extern "C"
