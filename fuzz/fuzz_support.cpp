#include "fuzz_support.h"

#include "folder_files.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace zarn::fuzz {
namespace {

// Two bytes, little-endian; 0 where the input has run out.
std::uint16_t takeTwoBytes(std::string_view& data)
{
    if (data.size() < 2) {
        data = {};
        return 0;
    }
    const auto low = static_cast<unsigned char>(data[0]);
    const auto high = static_cast<unsigned char>(data[1]);
    data.remove_prefix(2);
    return static_cast<std::uint16_t>(low | high << 8);
}

std::int32_t takeAddress(std::string_view& data)
{
    return static_cast<std::int16_t>(takeTwoBytes(data));
}

bool takeFlag(std::string_view& data)
{
    if (data.empty()) {
        return false;
    }
    const bool flag = (static_cast<unsigned char>(data[0]) & 1) != 0;
    data.remove_prefix(1);
    return flag;
}

void putTwoBytes(std::string& out, std::uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

} // namespace

void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken invariant: %s\n", what);
        std::abort();
    }
}

ImportInput parseImportInput(std::string_view data)
{
    ImportInput input;
    input.slotAddress = takeAddress(data);
    input.executableLength = takeTwoBytes(data);
    input.safetyCopyExists = takeFlag(data);
    input.slotFile = data;
    return input;
}

std::string encode(const ImportInput& input)
{
    std::string out;
    putTwoBytes(out, static_cast<std::uint16_t>(input.slotAddress));
    putTwoBytes(out, static_cast<std::uint16_t>(input.executableLength));
    out += input.safetyCopyExists ? '\1' : '\0';
    return out + input.slotFile;
}

ExportInput parseExportInput(std::string_view data)
{
    ExportInput input;
    input.slotAddress = takeAddress(data);
    input.oldSlotFileExists = takeFlag(data);
    input.executable = data;
    return input;
}

std::string encode(const ExportInput& input)
{
    std::string out;
    putTwoBytes(out, static_cast<std::uint16_t>(input.slotAddress));
    out += input.oldSlotFileExists ? '\1' : '\0';
    return out + input.executable;
}

ProgramFolder::ProgramFolder()
    : m_path(std::filesystem::temp_directory_path() / ("zarn-fuzz-" + std::to_string(::getpid())))
{
    std::filesystem::create_directories(m_path);
}

ProgramFolder::~ProgramFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

void ProgramFolder::clear() const
{
    for (const auto& entry : std::filesystem::directory_iterator(m_path)) {
        std::filesystem::remove_all(entry.path());
    }
}

void ProgramFolder::write(const std::string& name, std::string_view bytes) const
{
    require(testing::writeWholeFile(m_path / name, bytes),
            "the fuzz target could not write its own files");
}

std::string ProgramFolder::read(const std::string& name) const
{
    return testing::readWholeFile(m_path / name);
}

std::vector<std::string> ProgramFolder::names() const
{
    return testing::sortedNames(m_path);
}

} // namespace zarn::fuzz
