// Usage: zarn_durable_copy SOURCE TARGET
// Replaces TARGET with a copy of SOURCE as zarn replaces a file, and does nothing else: the copy is
// written beside TARGET, flushed to disk, moved over TARGET, and the folder flushed. The floor of
// the console benchmark; it uses the C library alone, so that it starts as fast as dd.

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <libgen.h>
#include <unistd.h>

namespace {

bool copyInto(int from, int to)
{
    static char block[1024 * 1024];
    for (ssize_t got; (got = ::read(from, block, sizeof block)) != 0;) {
        if (got < 0 || ::write(to, block, static_cast<std::size_t>(got)) != got) {
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: zarn_durable_copy SOURCE TARGET\n", stderr);
        return 2;
    }
    const char* const target = argv[2];
    char temporary[PATH_MAX];
    char folder[PATH_MAX];
    std::snprintf(temporary, sizeof temporary, "%s.tmp", target);
    std::snprintf(folder, sizeof folder, "%s", target);
    const int from = ::open(argv[1], O_RDONLY);
    const int to = ::open(temporary, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool copied = from >= 0 && to >= 0 && copyInto(from, to) && ::fsync(to) == 0 &&
                        ::close(to) == 0 && ::rename(temporary, target) == 0;
    const int folderHandle = ::open(::dirname(folder), O_RDONLY | O_DIRECTORY);
    if (!copied || folderHandle < 0 || ::fsync(folderHandle) != 0) {
        std::fprintf(stderr, "zarn_durable_copy: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}
