#pragma once

#include "file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace zarn {

// Makes `name` in `folder` free for a file that zarn writes before it moves it into place as
// `forFile` (as messages show it): whatever an interrupted run left there goes, as a name, so
// that a link there is removed and never written through.
// @throw InTheWay where a folder stands there, or another user's file that may not be removed.
void clearTemporaryName(const Folder& folder, const std::filesystem::path& name,
                        std::string_view forFile);

// New contents for a file, written to a temporary file beside it and moved into place only when
// complete, so that the file is never seen half written. Until then the temporary file is removed
// again if anything fails. The temporary file is always a new file (see clearTemporaryName). The
// move replaces whatever stands at the target's name, a link included, as a name.
class ReplacementFile
{
public:
    // Creates the empty temporary file beside `target` in `folder`, which must outlive it; `shown`
    // is how the user knows the target. It takes the permissions of `permissionsFrom` where given
    // (see Folder::createNew).
    // @throw RuntimeError where the temporary file cannot be made.
    ReplacementFile(const Folder& folder, const std::filesystem::path& target, std::string shown,
                    const File* permissionsFrom);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    File& contents() { return *m_file; }

    // Flushes the new contents to disk and moves them over the target.
    void replaceTarget();
    // The same where no target exists yet; otherwise discards the new contents and returns false.
    bool createTarget();
    // As replaceTarget, keeping the file it replaces as "<target>.zarn-old" until putOldBack or
    // dropOld; returns whether there was one.
    bool replaceTargetKeepingOld();
    // Puts the kept file back in the target's place, or removes the target where none was kept:
    // as it was before replaceTargetKeepingOld. Quietly, after another failure.
    void putOldBack(bool oldWasKept) noexcept;
    // Removes the kept file, once the new one is to stay.
    void dropOld() noexcept;

private:
    void finishWriting();
    std::filesystem::path keptName() const;

    const Folder& m_folder;
    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::string m_shown;
    std::optional<File> m_file;
    // Moved into place, or left for the user where a replacement stopped half way.
    bool m_temporaryGone = false;
};

} // namespace zarn
