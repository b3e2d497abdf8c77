// Both transfers on file systems that keep no POSIX permissions, as on a USB stick or the Windows
// partition of a dual-boot machine: NTFS through ntfs-3g and FAT through fusefat, each mounted
// from a small image file made for the test.
#include "child_process.h"
#include "folder_files.h"
#include "transfer_fixture.h"

#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <sys/mount.h>

namespace zarn::testing {
namespace {

struct FileSystem
{
    const char* name;
    const char* format; // the command that makes the file system in "$image"
    const char* mount;  // the command that mounts "$image" on "$folder"
};

void PrintTo(const FileSystem& fileSystem, std::ostream* out)
{
    *out << fileSystem.name;
}

const FileSystem fileSystems[] = {
    {"NTFS", "mkntfs -F -Q -q \"$image\"", "ntfs-3g \"$image\" \"$folder\""},
    {"FAT", "mkfs.vfat \"$image\"", "fusefat -o rw+ \"$image\" \"$folder\""},
};

// Runs a shell command with "$image" and "$folder" set; returns its output where it fails.
std::optional<std::string> failureOf(const std::string& command, const std::filesystem::path& image,
                                     const std::filesystem::path& folder)
{
    const ProgramRun run = runProgram(
        {"sh", {"-c", command}, {}, {{"image", image.string()}, {"folder", folder.string()}}});
    if (run.status == 0) {
        return std::nullopt;
    }
    return "\"" + command + "\" ended with status " + std::to_string(run.status) + ": " + run.out +
           run.err;
}

// A file system made in an image file of 16 MiB and mounted on a folder for the life of the
// object. Where that is refused, says why.
class ImageMount
{
public:
    ImageMount(const FileSystem& fileSystem, const std::filesystem::path& image,
               const std::filesystem::path& where)
        : m_where(where)
    {
        std::filesystem::create_directories(where);
        std::filesystem::resize_file(image, 0);
        std::filesystem::resize_file(image, 16 * 1024 * 1024);
        m_whyNot = failureOf(fileSystem.format, image, where);
        if (!m_whyNot) {
            m_whyNot = failureOf(fileSystem.mount, image, where);
        }
    }

    ~ImageMount()
    {
        if (!m_whyNot && ::umount2(m_where.c_str(), 0) != 0) {
            ADD_FAILURE() << "could not unmount " << m_where << ": " << std::strerror(errno);
            ::umount2(m_where.c_str(), MNT_DETACH);
        }
    }

    ImageMount(const ImageMount&) = delete;
    ImageMount& operator=(const ImageMount&) = delete;

    const std::optional<std::string>& whyNot() const { return m_whyNot; }

private:
    std::filesystem::path m_where;
    std::optional<std::string> m_whyNot;
};

class ForeignFileSystemTest : public TransferTest, public ::testing::WithParamInterface<FileSystem>
{
protected:
    void SetUp() override
    {
        const std::filesystem::path image = folder / "image";
        writeFile("image", "");
        m_mount.emplace(GetParam(), image, folder / "game");
        if (m_mount->whyNot()) {
            GTEST_SKIP() << GetParam().name << " cannot be mounted here: " << *m_mount->whyNot();
        }
        folder /= "game";
        writeAlliedGeneral();
        choose(Game::AlliedGeneral);
    }

    void TearDown() override { m_mount.reset(); }

    // fusefat cannot shorten a file, so a file is written anew rather than over itself.
    void rewriteFile(const std::string& name, const std::string& bytes)
    {
        std::filesystem::remove(folder / name);
        writeFile(name, bytes);
    }

    static std::string alliedGeneral(const SlotLists& lists)
    {
        return executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(lists));
    }

private:
    std::optional<ImageMount> m_mount;
};

TEST_P(ForeignFileSystemTest, ExportWritesTheSlotFileExactly)
{
    EXPECT_EQ(runExport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));

    rewriteFile("p_slots.txt", "\"my own edits\"\r\n");
    EXPECT_EQ(runExport(), TransferEnd::Succeeded);
    EXPECT_EQ(readFile("p_slots.txt"), slotFileOf(standardLists()));
    EXPECT_EQ(readFile("p_slots.txt.bak"), "\"my own edits\"\r\n");
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt", "p_slots.txt.bak"}));
    EXPECT_TRUE(messages.refusals.empty());
}

TEST_P(ForeignFileSystemTest, ImportWritesTheExecutableExactlyAndKeepsTheOriginal)
{
    SlotLists lists = editedLists();
    writeFile("p_slots.txt", slotFileOf(lists));
    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_TRUE(readFile("ag.exe") == alliedGeneral(lists)) << "ag.exe is not as edited";

    lists[179][0] = 77;
    rewriteFile("p_slots.txt", slotFileOf(lists));
    EXPECT_EQ(runImport(), TransferEnd::Succeeded);
    EXPECT_TRUE(readFile("ag.exe") == alliedGeneral(lists)) << "ag.exe is not as edited twice";
    EXPECT_TRUE(readFile("ag.exe.orig") == alliedGeneral(standardLists()))
        << "ag.exe.orig is not the original";
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "ag.exe.orig", "p_slots.txt"}));
    EXPECT_TRUE(messages.refusals.empty());
}

TEST_P(ForeignFileSystemTest, RefusedImportChangesNothing)
{
    writeFile("p_slots.txt", "\r\n" + slotFileOf(editedLists()));
    EXPECT_EQ(runImport(), TransferEnd::Failed);
    EXPECT_EQ(messages.refusals,
              (std::vector<Refusal>{SlotFileRefused{WrongCount{645}, "ag.exe", std::nullopt}}));
    EXPECT_TRUE(readFile("ag.exe") == alliedGeneral(standardLists())) << "ag.exe was changed";
    EXPECT_EQ(fileNames(), (std::vector<std::string>{"ag.exe", "p_slots.txt"}));
}

INSTANTIATE_TEST_SUITE_P(Mounted, ForeignFileSystemTest, ::testing::ValuesIn(fileSystems),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace zarn::testing
