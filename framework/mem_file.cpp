#include "framework/mem_file.h"

#include <cstring>

uint32_t CMemFile::Read(void* buffer, uint32_t count) {
    const uint32_t left = m_nBufferSize - m_nPosition;
    if (count > left) count = left;
    if (count != 0) std::memcpy(buffer, m_lpBuffer + m_nPosition, count);
    m_nPosition += count;
    return count;
}

uint32_t CMemFile::SeekTo(uint32_t position) {
    m_nPosition = position < m_nBufferSize ? position : m_nBufferSize;
    return m_nPosition;
}
