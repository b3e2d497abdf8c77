#include "transfer_fixture.h"

#include "zarn/runtime_error.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#ifdef __linux__
#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#endif

namespace zarn::testing {

SlotLists standardLists()
{
    // 180 lists holding 466 unit numbers: the first empty, the second with four numbers, then
    // 105 lists of three, 72 of two and a last one of three.
    SlotLists lists(180);
    int next = 1;
    for (std::size_t list = 0; list < lists.size(); ++list) {
        const std::size_t count = list == 0     ? 0
                                  : list == 1   ? 4
                                  : list <= 106 ? 3
                                  : list < 179  ? 2
                                                : 3;
        for (std::size_t i = 0; i < count; ++i) {
            lists[list].push_back(static_cast<std::int16_t>(next * 71 % 32000 + 1));
            ++next;
        }
    }
    lists[5][0] = 32767;
    return lists;
}

std::string regionOf(const SlotLists& lists)
{
    std::string region;
    const auto put = [&region](std::int16_t entry) {
        const auto bits = static_cast<std::uint16_t>(entry);
        region += static_cast<char>(bits & 0xFF);
        region += static_cast<char>(bits >> 8);
    };
    for (const auto& list : lists) {
        std::for_each(list.begin(), list.end(), put);
        put(-1);
    }
    return region;
}

std::string slotFileOf(const SlotLists& lists, const std::string& lineEnd)
{
    static const char* const countries[] = {"Norway",   "United Kingdom", "Italy",   "Poland",
                                            "Germany",  "Low Countries",  "France",  "USSR",
                                            "USA",      "Yugoslavia",     "Romania", "Hungary",
                                            "Bulgaria", "Greece",         "Finland"};
    static const char* const classes[] = {"Infantry",        "Tank",           "Recon",
                                          "Anti-Tank",       "Artillery",      "Anti-Aircraft",
                                          "Air Defence",     "Fortifications", "Fighter",
                                          "Tactical Bomber", "Level Bomber",   "Land Transport"};
    std::ostringstream text;
    for (int country = 0; country < 15; ++country) {
        text << '"' << countries[country] << '"' << lineEnd;
        for (int unitClass = 0; unitClass < 12; ++unitClass) {
            text << '"' << classes[unitClass] << '"' << lineEnd;
            for (const std::int16_t entry : lists[country * 12 + unitClass]) {
                text << entry << lineEnd;
            }
            text << -1 << lineEnd;
        }
    }
    return text.str();
}

std::string filler(std::size_t length)
{
    std::string bytes(length, '\0');
    std::minstd_rand random(static_cast<std::uint32_t>(length));
    std::generate(bytes.begin(), bytes.end(), [&random] { return static_cast<char>(random()); });
    return bytes;
}

std::string executableWith(std::size_t length, std::size_t offset, const std::string& region)
{
    std::string bytes = filler(length);
    bytes.replace(offset, region.size(), region);
    bytes.resize(length);
    return bytes;
}

TransferTest::TransferTest()
{
    std::random_device random;
    folder = std::filesystem::temp_directory_path() / ("zarn-test-" + std::to_string(random()));
    std::filesystem::create_directory(folder);
}

TransferTest::~TransferTest()
{
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

void TransferTest::writeFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream(folder / name, std::ios::binary) << bytes;
}

std::string TransferTest::readFile(const std::string& name) const
{
    std::ifstream in(folder / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool TransferTest::exists(const std::string& name) const
{
    return std::filesystem::exists(folder / name);
}

std::vector<std::string> TransferTest::fileNames() const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

void TransferTest::choose(const char* targetFile, std::int32_t slotAddress)
{
    state.TargetFile = targetFile;
    state.SlotAddress = slotAddress;
}

void TransferTest::writeAlliedGeneral(const SlotLists& lists)
{
    writeFile("ag.exe", executableWith(alliedGeneralLength, alliedGeneralOffset, regionOf(lists)));
}

std::string TransferTest::runtimeErrorOf(const std::function<TransferEnd()>& transfer)
{
    try {
        transfer();
    } catch (const RuntimeError& error) {
        return error.what();
    }
    ADD_FAILURE() << "the transfer ended without a run-time error";
    return {};
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
    ASSERT_EQ(::mount(nullptr, m_where.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0)
        << std::strerror(errno);
#endif
}

} // namespace zarn::testing
