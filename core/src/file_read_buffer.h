#pragma once

#include "file.h"

#include <cstdint>
#include <streambuf>
#include <vector>

namespace zarn {

// A slot file read from its start as a stream, a block at a time. Read failures throw
// RuntimeError from the stream's calls, and a byte past `limit` throws InTheWay: no slot file is
// that long.
class FileReadBuffer : public std::streambuf
{
public:
    FileReadBuffer(const File& file, std::uint64_t limit);

protected:
    int_type underflow() override;

private:
    const File& m_file;
    std::uint64_t m_limit;
    std::uint64_t m_offset = 0;
    std::vector<char> m_block;
};

} // namespace zarn
