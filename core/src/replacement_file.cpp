#include "replacement_file.h"

#include <utility>

namespace zarn {
namespace {

// The file that `path` leads to: a symbolic link gets its new contents where it points.
std::filesystem::path followLinks(const std::filesystem::path& path)
{
    std::error_code error;
    const std::filesystem::path followed = std::filesystem::weakly_canonical(path, error);
    return error ? path : followed;
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
      m_name(std::move(name)), m_file(File::create(m_temporary, m_name))
{}

ReplacementFile::~ReplacementFile()
{
    if (!m_moved) {
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
    moveOver(m_temporary, m_target, m_name);
    m_moved = true;
}

bool ReplacementFile::createTarget()
{
    finishWriting();
    m_moved = moveIfAbsent(m_temporary, m_target, m_name);
    return m_moved;
}

} // namespace zarn
