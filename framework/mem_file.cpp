#include "framework/mem_file.h"

#include <cstring>

UINT CMemFile::Read(void* buffer, UINT count) {
    const UINT left = m_nBufferSize - m_nPosition;
    if (count > left) count = left;
    if (count != 0) std::memcpy(buffer, m_lpBuffer + m_nPosition, count);
    m_nPosition += count;
    return count;
}

DWORD CMemFile::SeekTo(DWORD position) {
    m_nPosition = position < m_nBufferSize ? position : m_nBufferSize;
    return m_nPosition;
}
