#include "replacement_file.h"

#include <utility>

namespace zarn {
namespace {

// A new, empty temporary file. What an interrupted run left at its name goes first, as a name, so
// that a link planted there is removed and never written through.
File createTemporary(const std::filesystem::path& temporary, const std::string& name,
                     const File* permissionsFrom)
{
    removeIfPresent(temporary, name);
    return File::createNew(temporary, name, permissionsFrom);
}

std::filesystem::path temporaryBeside(const std::filesystem::path& target)
{
    std::filesystem::path temporary = target;
    temporary += ".zarn-tmp";
    return temporary;
}

} // namespace

ReplacementFile::ReplacementFile(const std::filesystem::path& target, std::string name,
                                 const File* permissionsFrom)
    : m_target(target), m_temporary(temporaryBeside(m_target)), m_name(std::move(name)),
      m_file(createTemporary(m_temporary, m_name, permissionsFrom))
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
