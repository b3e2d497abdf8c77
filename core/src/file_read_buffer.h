#pragma once

#include "file.h"

#include <cstdint>
#include <streambuf>
#include <vector>

namespace zarn {

// A File read from its start as a stream, a block at a time. Read failures throw RuntimeError
// from the stream's calls.
class FileReadBuffer : public std::streambuf
{
public:
    explicit FileReadBuffer(const File& file);

protected:
    int_type underflow() override;

private:
    const File& m_file;
    std::uint64_t m_offset = 0;
    std::vector<char> m_block;
};

} // namespace zarn
