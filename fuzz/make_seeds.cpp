// Writes the seed corpus of every fuzz target into the folder given on the command line, one
// subfolder per target: typical inputs and the near misses around them.
#include "fuzz_support.h"
#include "zarn/slot_file.h"
#include "zarn/slot_table.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Lists = std::vector<std::vector<std::int16_t>>;

// 180 lists holding 466 unit numbers: the first empty, the second of four, then 106 of three
// and 72 of two.
Lists standardLists()
{
    Lists lists(zarn::countryCount * zarn::unitClassCount);
    int next = 1;
    for (std::size_t list = 1; list < lists.size(); ++list) {
        const int count = list == 1 ? 4 : list <= 107 ? 3 : 2;
        for (int i = 0; i < count; ++i, ++next) {
            lists[list].push_back(static_cast<std::int16_t>(next * 53 % 30000 + 1));
        }
    }
    return lists;
}

std::string regionOf(const Lists& lists)
{
    std::string region;
    for (const auto& list : lists) {
        for (const std::int16_t entry : list) {
            region += static_cast<char>(entry & 0xFF);
            region += static_cast<char>((entry >> 8) & 0xFF);
        }
        region += "\xFF\xFF";
    }
    return region;
}

std::string slotFileOf(const Lists& lists)
{
    std::string text;
    for (int country = 1; country <= zarn::countryCount; ++country) {
        zarn::appendNameLine(text, zarn::countryNames[country]);
        for (int unitClass = 1; unitClass <= zarn::unitClassCount; ++unitClass) {
            zarn::appendNameLine(text, zarn::unitClassNames[unitClass]);
            const auto& list = lists[(country - 1) * zarn::unitClassCount + unitClass - 1];
            for (const std::int16_t entry : list) {
                zarn::appendEntryLine(text, entry);
            }
            zarn::appendEntryLine(text, zarn::listTerminator);
        }
    }
    return text;
}

std::string replaced(std::string text, const std::string& from, const std::string& to)
{
    text.replace(text.find(from), from.size(), to);
    return text;
}

std::string everyLineEndAs(const std::string& text, const std::string& lineEnd)
{
    std::string out;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        out += text.substr(at, end - at) + lineEnd;
    }
    return out;
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
    corpus.add("slot_item_reader", "lf", everyLineEndAs(standard, "\n"));
    corpus.add("slot_item_reader", "cr", everyLineEndAs(standard, "\r"));
    corpus.add("slot_item_reader", "commas", "1,,2, 3 ,\r\n,\t4\n\r\n");
    corpus.add("slot_item_reader", "quotes", "\"a,b\"x,5\r\n\"unclosed, 3\r\n\"7\"");
    corpus.add("slot_item_reader", "bom", "\xEF\xBB\xBF\"Norway\"\r\n-1\r\n");
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
    input.slotFile = everyLineEndAs(standard, "\n");
    add("lf", input);
    input = base;
    input.slotAddress = 0;
    add("address-zero", input);
    input.slotAddress = 500;
    add("past-the-end", input);
}

void addExports(const Corpus& corpus)
{
    const std::string region = regionOf(standardLists());
    std::string executable = zarn::fuzz::executableFiller(100 + region.size() + 300);
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
