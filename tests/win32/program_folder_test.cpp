#include "program_folder.h"

#include <gtest/gtest.h>
#include <utility>

namespace zarn::win32 {
namespace {

TEST(ProgramFolderTest, EveryFormOfTheProgramPathNamesItsFolderPlainly)
{
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\game\\zarn.exe", L"C:\\game"},
        {L"\\\\server\\share\\game\\zarn.exe", L"\\\\server\\share\\game"},
        {L"\\\\?\\C:\\game\\zarn.exe", L"C:\\game"},
        {L"\\\\?\\UNC\\server\\share\\game\\zarn.exe", L"\\\\server\\share\\game"},
        {L"UNC\\server\\share\\zarn.exe", L"\\\\server\\share"}, // Wine's form
        // A volume without a drive letter has no other form.
        {L"\\\\?\\Volume{0b1e2c3d}\\game\\zarn.exe", L"\\\\?\\Volume{0b1e2c3d}\\game"},
    };
    for (const auto& [programPath, folder] : cases) {
        EXPECT_EQ(folderOfProgramPath(programPath).wstring(), folder);
    }
}

} // namespace
} // namespace zarn::win32
