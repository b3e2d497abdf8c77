#include "replacement_file.h"

#include <utility>

namespace zarn {
namespace {

std::filesystem::path withSuffix(const std::filesystem::path& name, const char* suffix)
{
    std::filesystem::path result = name;
    result += suffix;
    return result;
}

// A new, empty temporary file.
File createTemporary(const Folder& folder, const std::filesystem::path& temporary,
                     const std::string& shown, const File* permissionsFrom)
{
    clearTemporaryName(folder, temporary, shown);
    return folder.createNew(temporary, shown, permissionsFrom);
}

} // namespace

void clearTemporaryName(const Folder& folder, const std::filesystem::path& name,
                        std::string_view forFile)
{
    const FileStatus there = folder.status(name);
    if (there.kind == FileKind::Missing) {
        return;
    }
    if (there.kind == FileKind::Folder) {
        throw InTheWay(TemporaryNameInTheWay{folder.shown(name), there.kind, std::string(forFile)});
    }
    try {
        folder.removeIfPresent(name, forFile);
    } catch (const RuntimeError&) {
        if (there.stranger) {
            throw InTheWay(TemporaryNameTaken{folder.shown(name), there.kind, *there.stranger,
                                              std::string(forFile)});
        }
        throw;
    }
}

ReplacementFile::ReplacementFile(const Folder& folder, const std::filesystem::path& target,
                                 std::string shown, const File* permissionsFrom)
    : m_folder(folder), m_target(target), m_temporary(withSuffix(target, ".zarn-tmp")),
      m_shown(std::move(shown)),
      m_file(createTemporary(m_folder, m_temporary, m_shown, permissionsFrom))
{}

ReplacementFile::~ReplacementFile()
{
    if (!m_temporaryGone) {
        m_file.reset(); // Windows removes no file that is still open.
        m_folder.removeQuietly(m_temporary);
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
        m_folder.moveOver(m_temporary, m_target, m_shown);
    } catch (const RuntimeError& error) {
        // Where the move stopped half way, the temporary file holds the new contents: not ours to
        // remove any more.
        m_temporaryGone = std::holds_alternative<ReplacementStoppedHalfWay>(error.failure());
        throw;
    }
    m_temporaryGone = true;
}

bool ReplacementFile::replaceTargetKeepingOld()
{
    finishWriting();
    clearTemporaryName(m_folder, keptName(), m_shown);
    const bool kept = m_folder.moveOverKeeping(m_temporary, m_target, keptName(), m_shown);
    m_temporaryGone = true;
    return kept;
}

void ReplacementFile::putOldBack(bool oldWasKept) noexcept
{
    try {
        if (oldWasKept) {
            m_folder.moveBack(keptName(), m_target, m_shown);
        } else {
            m_folder.removeIfPresent(m_target, m_shown);
        }
    } catch (const RuntimeError&) {
        // The new file stays in place of the old, which stays at its kept name.
    }
}

void ReplacementFile::dropOld() noexcept
{
    m_folder.removeQuietly(keptName());
}

bool ReplacementFile::createTarget()
{
    finishWriting();
    m_temporaryGone = m_folder.moveIfAbsent(m_temporary, m_target, m_shown);
    return m_temporaryGone;
}

std::filesystem::path ReplacementFile::keptName() const
{
    return withSuffix(m_target, ".zarn-old");
}

} // namespace zarn
