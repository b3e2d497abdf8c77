// Writes the seed corpus of every fuzz target into the folder given on the command line, one
// subfolder per target: typical inputs and the near misses around them.
#include "fuzz_support.h"
#include "synthetic_game.h"
#include "zarn/slot_table.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using zarn::testing::filler;
using zarn::testing::regionOf;
using zarn::testing::slotFileOf;
using zarn::testing::standardLists;
using zarn::testing::utf16File;

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

class Corpus
{
public:
    explicit Corpus(std::filesystem::path folder) : m_folder(std::move(folder)) {}

    void add(const std::string& target, const std::string& name, const std::string& bytes) const
    {
        std::filesystem::create_directories(m_folder / target);
        std::ofstream(m_folder / target / ("seed-" + name), std::ios::binary) << bytes;
    }

private:
    std::filesystem::path m_folder;
};

void addNumberTexts(const Corpus& corpus)
{
    const char* const texts[] = {
        "1883345", " 1883345", "1883345.5",  "1883344.5",    "0x1CBCD1",      "12 34",
        "-0.5",    "7.9",      "&HFFFF",     "&H1CBCD1",     "&O177777",      "1E3",
        "2.5d+2",  "1e400",    "1e-400",     "2147483647.5", "-2147483648.5", "\"Norway\"",
        "",        "+.5e-3",   "&hFFFFFFFF", "1,000",        "- 5",           "&H 8000",
    };
    int number = 0;
    for (const char* text : texts) {
        corpus.add("number_text", std::to_string(++number), text);
    }
}

void addSlotTexts(const Corpus& corpus, const std::string& standard)
{
    corpus.add("slot_item_reader", "standard", standard);
    corpus.add("slot_item_reader", "lf", slotFileOf(standardLists(), "\n"));
    corpus.add("slot_item_reader", "cr", slotFileOf(standardLists(), "\r"));
    corpus.add("slot_item_reader", "commas", "1,,2, 3 ,\r\n,\t4\n\r\n");
    corpus.add("slot_item_reader", "quotes", "\"a,b\"x,5\r\n\"unclosed, 3\r\n\"7\"");
    corpus.add("slot_item_reader", "bom", "\xEF\xBB\xBF\"Norway\"\r\n-1\r\n");
    const std::u16string wide(standard.begin(), standard.end());
    corpus.add("slot_item_reader", "utf16", utf16File(wide, false));
    corpus.add("slot_item_reader", "utf16-big-endian", utf16File(u"\"Norw\u00e9gen\"\r\n-1", true));
}

void addImports(const Corpus& corpus, const std::string& standard)
{
    const zarn::fuzz::ImportInput base{101, 100 + zarn::regionBytes + 300, false, standard};
    const auto add = [&corpus](const std::string& name, zarn::fuzz::ImportInput input) {
        corpus.add("import", name, zarn::fuzz::encode(input));
    };
    const std::string firstUnit = "\"Tank\"\r\n";
    add("standard", base);
    auto input = base;
    input.safetyCopyExists = true;
    add("safety-copy-exists", input);
    input = base;
    input.slotFile = replaced(standard, firstUnit, firstUnit + "513,");
    add("one-more-entry", input);
    input.slotFile = replaced(standard, "-1\r\n", "\r\n");
    add("one-entry-less", input);
    input.slotFile = replaced(standard, firstUnit, firstUnit + "40000\r\n");
    add("out-of-range", input);
    input.slotFile = standard + "5\r\n";
    add("extra-entry", input);
    input.slotFile = standard.substr(0, standard.rfind("-1\r\n"));
    add("too-short", input);
    input.slotFile = slotFileOf(standardLists(), "\n");
    add("lf", input);
    input.slotFile = utf16File(std::u16string(standard.begin(), standard.end()), false);
    add("utf16", input);
    // The last -1 moved up above the last unit, which is then left outside every list.
    const std::size_t lastTerminator = standard.rfind("-1\r\n");
    const std::size_t lastUnit = standard.rfind("\r\n", lastTerminator - 3) + 2;
    input.slotFile = standard.substr(0, lastUnit) + "-1\r\n" +
                     standard.substr(lastUnit, lastTerminator - lastUnit);
    add("terminator-moved", input);
    input = base;
    input.slotAddress = 0;
    add("address-zero", input);
    input.slotAddress = 500;
    add("past-the-end", input);
}

void addExports(const Corpus& corpus)
{
    const std::string region = regionOf(standardLists());
    std::string executable = filler(100 + region.size() + 300);
    executable.replace(100, region.size(), region);
    const zarn::fuzz::ExportInput base{101, false, executable};
    const auto add = [&corpus](const std::string& name, zarn::fuzz::ExportInput input) {
        corpus.add("export", name, zarn::fuzz::encode(input));
    };
    add("standard", base);
    auto input = base;
    input.oldSlotFileExists = true;
    add("old-slot-file", input);
    input.executable = region;
    input.slotAddress = 1;
    add("table-only", input);
    input.executable = region.substr(0, region.size() - 1);
    add("cut-short", input);
    input.executable = replaced(region, std::string("\xFF\xFF", 2), std::string("\0\0\xFF\xFF", 4));
    add("zero-entry", input);
    input = base;
    input.slotAddress = 0;
    add("address-zero", input);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s CORPUS-FOLDER\n", argv[0]);
        return 2;
    }
    const Corpus corpus(argv[1]);
    const std::string standard = slotFileOf(standardLists());
    addNumberTexts(corpus);
    addSlotTexts(corpus, standard);
    addImports(corpus, standard);
    addExports(corpus);
    return 0;
}
