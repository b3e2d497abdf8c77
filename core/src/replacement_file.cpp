#include "replacement_file.h"

#include <utility>

namespace zarn {
namespace {

// The file that `path` leads to: a symbolic link gets its new contents where it points. Any other
// path stays as it is, since resolving it can only go wrong (network folders on Windows).
std::filesystem::path followLinks(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error)) {
        return path;
    }
    const std::filesystem::path followed = std::filesystem::weakly_canonical(path, error);
    return error ? path : followed;
}

// A new, empty temporary file. What an interrupted run left at its name goes first, as a name, so
// that a link planted there is removed and never written through.
File createTemporary(const std::filesystem::path& temporary, const std::string& name)
{
    removeIfPresent(temporary, name);
    return File::createNew(temporary, name);
}

std::filesystem::path temporaryBeside(const std::filesystem::path& target)
{
    std::filesystem::path temporary = target;
    temporary += ".zarn-tmp";
    return temporary;
}

} // namespace

ReplacementFile::ReplacementFile(const std::filesystem::path& target, std::string name)
    : m_target(followLinks(target)), m_temporary(temporaryBeside(m_target)),
      m_name(std::move(name)), m_file(createTemporary(m_temporary, m_name))
{}

ReplacementFile::~ReplacementFile()
{
    if (!m_temporaryGone) {
        m_file.reset(); // Windows removes no file that is still open.
        removeQuietly(m_temporary);
    }
}

void ReplacementFile::finishWriting()
{
    m_file->flushToDisk();
    m_file->close();
}

void ReplacementFile::replaceTarget()
{
    finishWriting();
    try {
        moveOver(m_temporary, m_target, m_name);
    } catch (const ReplacementStoppedHalfWay&) {
        m_temporaryGone = true; // It holds the new contents: not ours to remove any more.
        throw;
    }
    m_temporaryGone = true;
}

bool ReplacementFile::createTarget()
{
    finishWriting();
    m_temporaryGone = moveIfAbsent(m_temporary, m_target, m_name);
    return m_temporaryGone;
}

} // namespace zarn
