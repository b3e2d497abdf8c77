#include "file_read_buffer.h"

namespace zarn {

FileReadBuffer::FileReadBuffer(const File& file, std::uint64_t limit)
    : m_file(file), m_limit(limit), m_block(64 * 1024)
{}

FileReadBuffer::int_type FileReadBuffer::underflow()
{
    if (gptr() == egptr()) {
        const std::size_t got = m_file.readAt(m_offset, m_block.data(), m_block.size());
        if (got == 0) {
            return traits_type::eof();
        }
        if (m_offset + got > m_limit) {
            throw InTheWay(SlotFileTooLong{m_file.name(), m_limit});
        }
        m_offset += got;
        setg(m_block.data(), m_block.data(), m_block.data() + got);
    }
    return traits_type::to_int_type(*gptr());
}

} // namespace zarn
