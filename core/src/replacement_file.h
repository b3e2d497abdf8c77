#pragma once

#include "file.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zarn {

// New contents for a file, written to a temporary file beside it and moved into place only when
// complete, so that the file is never seen half written. Until then the temporary file is removed
// again if anything fails. The temporary file is always a new file: whatever an interrupted run or
// anyone else left at its name is removed first, and a link there is never followed. The move
// replaces whatever stands at the target's name, a link included, as a name.
class ReplacementFile
{
public:
    // Creates the empty temporary file beside `target`; `name` is how the user knows the target.
    // It takes the permissions of `permissionsFrom` where given (see File::createNew).
    // @throw RuntimeError where the temporary file cannot be made.
    ReplacementFile(const std::filesystem::path& target, std::string name,
                    const File* permissionsFrom);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    ~ReplacementFile();

    File& contents() { return *m_file; }

    // Flushes the new contents to disk and moves them over the target.
    void replaceTarget();
    // The same where no target exists yet; otherwise discards the new contents and returns false.
    bool createTarget();

private:
    void finishWriting();

    std::filesystem::path m_target;
    std::filesystem::path m_temporary;
    std::string m_name;
    std::optional<File> m_file;
    // Moved into place, or left for the user where a replacement stopped half way.
    bool m_temporaryGone = false;
};

} // namespace zarn
