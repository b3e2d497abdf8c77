#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// What the fuzz targets share: their input layouts, a program folder of their own, and a way to
// stop on a broken invariant.
namespace zarn::fuzz {

// Ends the run with `what` when `condition` is false, so that libFuzzer keeps the input.
void require(bool condition, const char* what);

// The import target reads a slot address (two bytes, little-endian, signed), the length of a
// synthetic pg.exe (two bytes, little-endian), a flag byte (bit 0: a safety copy exists already)
// and then the slot file.
struct ImportInput
{
    std::int32_t slotAddress = 0;
    std::size_t executableLength = 0;
    bool safetyCopyExists = false;
    std::string slotFile;
};
ImportInput parseImportInput(std::string_view data);
std::string encode(const ImportInput& input);

// The export target reads a slot address (two bytes as above), a flag byte (bit 0: an old
// p_slots.txt exists) and then pg.exe itself.
struct ExportInput
{
    std::int32_t slotAddress = 0;
    bool oldSlotFileExists = false;
    std::string executable;
};
ExportInput parseExportInput(std::string_view data);
std::string encode(const ExportInput& input);

// A program folder in the temporary folder, removed when the process ends.
class ProgramFolder
{
public:
    ProgramFolder();
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Removes every file in the folder.
    void clear() const;
    void write(const std::string& name, std::string_view bytes) const;
    std::string read(const std::string& name) const;
    // The names in the folder, sorted.
    std::vector<std::string> names() const;

private:
    std::filesystem::path m_path;
};

} // namespace zarn::fuzz
