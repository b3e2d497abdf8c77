#pragma once

#include "zarn/editor_state.h"
#include "zarn/message_presenter.h"
#include "zarn/transfer.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zarn::testing {

// The unit numbers of the 180 slot lists, country by country and class by class, without their
// terminators.
using SlotLists = std::vector<std::vector<std::int16_t>>;

// A table of 646 entries whose first list is empty and whose numbers use both bytes.
SlotLists standardLists();
// The lists as a slot region: entries with terminators, two little-endian bytes each.
std::string regionOf(const SlotLists& lists);
// The slot file that the export writes for the lists.
std::string slotFileOf(const SlotLists& lists, const std::string& lineEnd = "\r\n");
// Bytes that are the same for the same length and differ from one offset to the next.
std::string filler(std::size_t length);
// An executable of `length` bytes with `region` at the zero-based `offset`.
std::string executableWith(std::size_t length, std::size_t offset, const std::string& region);

inline constexpr std::size_t alliedGeneralOffset = 1883344;

// Why the tests of symbolic links skip themselves on Windows.
inline constexpr char windowsHasNoSymlinks[] =
    "symbolic links need a privilege on Windows that users seldom have, and the C++ library of "
    "this build cannot make them";

class RecordingPresenter : public MessagePresenter
{
public:
    void showMessage(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

// A fresh program folder per test, and the editor state and messages of one run.
class TransferTest : public ::testing::Test
{
protected:
    TransferTest();
    ~TransferTest() override;

    void writeFile(const std::string& name, const std::string& bytes) const;
    std::string readFile(const std::string& name) const;
    bool exists(const std::string& name) const;
    // The names in the program folder, sorted.
    std::vector<std::string> fileNames() const;

    void choose(const char* targetFile, std::int32_t slotAddress = defaultSlotAddress);
    // A standard Allied General executable and, where given, an old slot file.
    void writeAlliedGeneral(const SlotLists& lists = standardLists());

    TransferEnd runExport() { return exportSlots(state, folder, messages); }
    TransferEnd runImport() { return importSlots(state, folder, messages); }
    // Runs a transfer that must fail with a run-time error, and returns the error's text.
    std::string runtimeErrorOf(const std::function<TransferEnd()>& transfer);

    std::filesystem::path folder;
    EditorState state;
    RecordingPresenter messages;
};

// Mounts a small tmpfs over a folder for the life of the object, so that a test can make it
// read-only or full even when run as root. Skips the test where mounting is not allowed.
class ScratchMount
{
public:
    ScratchMount(const std::filesystem::path& where, const char* size);
    ~ScratchMount();
    ScratchMount(const ScratchMount&) = delete;
    ScratchMount& operator=(const ScratchMount&) = delete;

    bool mounted() const { return m_mounted; }
    const std::string& whyNot() const { return m_whyNot; }
    void makeReadOnly();

private:
    std::filesystem::path m_where;
    bool m_mounted = false;
    std::string m_whyNot;
};

} // namespace zarn::testing
