#pragma once

#include "recording_presenter.h"
#include "synthetic_game.h"
#include "zarn/editor_state.h"
#include "zarn/transfer.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zarn::testing {

// Why the tests of symbolic links skip themselves on Windows.
inline constexpr char windowsHasNoSymlinks[] =
    "symbolic links need a privilege on Windows that users seldom have, and the C++ library of "
    "this build cannot make them";

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
    // Moves the program folder to a new, empty one inside the test's own, for one case of a table.
    void useNewFolder();

    void choose(Game game, std::int32_t slotAddress = defaultSlotAddress);
    // A standard Allied General executable and, where given, an old slot file.
    void writeAlliedGeneral(const SlotLists& lists = standardLists());

    TransferEnd runExport() { return exportSlots(state, folder, messages).end; }
    TransferEnd runImport() { return importSlots(state, folder, messages).end; }
    // Runs a transfer that must fail with a run-time error, and returns its failure.
    Failure failureOf(const std::function<TransferEnd()>& transfer);
    // A file of the program folder as messages name it: its full path.
    std::string shown(const std::string& name) const;

    std::filesystem::path folder;
    EditorState state;
    RecordingPresenter messages;

private:
    std::filesystem::path m_testFolder;
    int m_casesRun = 0;
};

// The standard table with its first unit number changed to 513.
SlotLists editedLists();

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
