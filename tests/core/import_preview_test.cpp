// What an import would change, found by the import's own checks and reads, with nothing written.
#include "transfer_fixture.h"
#include "zarn/runtime_error.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

class ImportPreviewTest : public TransferTest
{
protected:
    ImportPreviewTest()
    {
        executable = executableWith(100 + 1292 + 300, 100, regionOf(standardLists()));
        writeFile("pg.exe", executable);
        choose(Game::PanzerGeneral, 101);
    }

    std::optional<std::vector<ListChange>> runPreview()
    {
        const std::optional<ImportPreview> preview = previewImport(state, folder, messages);
        return preview ? std::optional(preview->changes) : std::nullopt;
    }

    std::string executable;
};

TEST_F(ImportPreviewTest, ListsTheChangesAndWritesNothing)
{
    SlotLists moved = standardLists();
    moved[74].push_back(4660);
    moved[49][0] = 412;
    moved[179].pop_back();
    writeFile("p_slots.txt", slotFileOf(moved));
    const SlotLists standard = standardLists();

    EXPECT_EQ(runPreview(), (std::vector<ListChange>{{5, 2, {standard[49][0]}, {412}},
                                                     {7, 3, {}, {4660}},
                                                     {15, 12, {standard[179].back()}, {}}}));
    EXPECT_TRUE(messages.refusals.empty());
    EXPECT_EQ(readFile("pg.exe"), executable);
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));

    writeFile("p_slots.txt", slotFileOf(standard));
    EXPECT_EQ(runPreview(), std::vector<ListChange>{});
}

TEST_F(ImportPreviewTest, RefusesWhatTheImportRefuses)
{
    writeFile("p_slots.txt", "\r\n" + slotFileOf(standardLists()));
    EXPECT_EQ(runPreview(), std::nullopt);
    choose(Game::AlliedGeneral);
    EXPECT_EQ(runPreview(), std::nullopt);
    EXPECT_EQ(messages.refusals,
              (std::vector<Refusal>{SlotFileRefused{WrongCount{645}, "pg.exe", std::nullopt},
                                    ExecutableMissing{shown("ag.exe")}}));
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"p_slots.txt", "pg.exe"}));
}

#ifdef _WIN32
// Elsewhere the fault tests check this as a user whom permissions bind, since CI runs as root.
TEST_F(ImportPreviewTest, ReadsAnExecutableThatTheImportCouldNotChange)
{
    std::filesystem::permissions(folder / "pg.exe", std::filesystem::perms::owner_read);
    const SlotLists edited = editedLists();
    writeFile("p_slots.txt", slotFileOf(edited));

    EXPECT_EQ(runPreview(),
              (std::vector<ListChange>{{1, 2, {standardLists()[1][0]}, {edited[1][0]}}}));
    EXPECT_THROW(runImport(), RuntimeError);
}
#endif

} // namespace
} // namespace zarn::testing
