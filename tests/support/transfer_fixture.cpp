#include "transfer_fixture.h"

#include "folder_files.h"
#include "zarn/runtime_error.h"
#include "zarn/utf8_path.h"

#include <random>

#ifdef __linux__
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#endif

namespace zarn::testing {

TransferTest::TransferTest()
{
    std::random_device random;
    folder = std::filesystem::temp_directory_path() / ("zarn-test-" + std::to_string(random()));
    std::filesystem::create_directory(folder);
    m_testFolder = folder;
}

TransferTest::~TransferTest()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_testFolder, ignored);
}

void TransferTest::writeFile(const std::string& name, const std::string& bytes) const
{
    writeWholeFile(folder / name, bytes);
}

std::string TransferTest::readFile(const std::string& name) const
{
    return readWholeFile(folder / name);
}

bool TransferTest::exists(const std::string& name) const
{
    return std::filesystem::exists(folder / name);
}

std::vector<std::string> TransferTest::fileNames() const
{
    return sortedNames(folder);
}

void TransferTest::useNewFolder()
{
    folder = m_testFolder / ("case-" + std::to_string(++m_casesRun));
    std::filesystem::create_directory(folder);
}

void TransferTest::choose(Game game, std::int32_t slotAddress)
{
    state.chosenGame = game;
    state.slotAddress = slotAddress;
}

void TransferTest::writeAlliedGeneral(const SlotLists& lists)
{
    writeFile("ag.exe", executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(lists)));
}

Failure TransferTest::failureOf(const std::function<TransferEnd()>& transfer)
{
    try {
        transfer();
    } catch (const RuntimeError& error) {
        return error.failure();
    }
    ADD_FAILURE() << "the transfer ended without a run-time error";
    return {};
}

std::string TransferTest::shown(const std::string& name) const
{
    return shownPath(folder / name);
}

SlotLists editedLists()
{
    SlotLists lists = standardLists();
    lists[1][0] = 513;
    return lists;
}

ScratchMount::ScratchMount(const std::filesystem::path& where, [[maybe_unused]] const char* size)
    : m_where(where)
{
#ifdef __linux__
    std::filesystem::create_directories(where);
    const std::string options = std::string("size=") + size;
    if (::mount("zarn-test", where.c_str(), "tmpfs", 0, options.c_str()) == 0) {
        m_mounted = true;
    } else {
        m_whyNot = std::string("cannot mount a tmpfs here: ") + std::strerror(errno);
    }
#else
    m_whyNot = "mounting a tmpfs needs Linux";
#endif
}

ScratchMount::~ScratchMount()
{
#ifdef __linux__
    if (m_mounted) {
        ::umount2(m_where.c_str(), MNT_DETACH);
    }
#endif
}

void ScratchMount::makeReadOnly()
{
#ifdef __linux__
    ASSERT_EQ(::mount("zarn-test", m_where.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr), 0)
        << std::strerror(errno);
#endif
}

} // namespace zarn::testing
