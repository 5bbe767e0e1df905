#include "framework/archive.h"

#include <cstring>

namespace {
// 0 or less asks for the usual size; the buffer always holds the widest value.
uint32_t BufferSizeFor(int requested) {
    if (requested <= 0) return 4096;
    return requested < 4 ? 4u : static_cast<uint32_t>(requested);
}
}  // namespace

CArchive::CArchive(CFile* file, uint32_t mode, int bufferSize)
    : m_pFile(file), m_nMode(mode), m_nBufSize(BufferSizeFor(bufferSize)) {
    m_lpBufStart = new uint8_t[m_nBufSize];
    m_lpBufCur = m_lpBufMax = m_lpBufStart;
    m_bFailed = file == nullptr || mode != load;
}

CArchive::~CArchive() { delete[] m_lpBufStart; }

uint32_t CArchive::BytesLeft() const {
    if (m_pFile == nullptr) return 0;
    return static_cast<uint32_t>(m_lpBufMax - m_lpBufCur) + (m_pFile->GetLength() - m_pFile->GetPosition());
}

bool CArchive::Fill(uint32_t wanted) {
    uint32_t held = static_cast<uint32_t>(m_lpBufMax - m_lpBufCur);
    if (held >= wanted) return true;
    if (m_bFailed) return false;
    // The unread tail moves to the front, then the file tops the buffer up.
    std::memmove(m_lpBufStart, m_lpBufCur, held);
    m_lpBufCur = m_lpBufStart;
    while (held < wanted) {
        const uint32_t got = m_pFile->Read(m_lpBufStart + held, m_nBufSize - held);
        if (got == 0) break;
        held += got;
    }
    m_lpBufMax = m_lpBufStart + held;
    return held >= wanted;
}

uint32_t CArchive::Read(void* buffer, uint32_t count) {
    uint8_t* into = static_cast<uint8_t*>(buffer);
    uint32_t copied = 0;
    while (copied < count && !m_bFailed) {
        if (m_lpBufCur == m_lpBufMax && !Fill(1)) break;
        uint32_t chunk = static_cast<uint32_t>(m_lpBufMax - m_lpBufCur);
        if (chunk > count - copied) chunk = count - copied;
        std::memcpy(into + copied, m_lpBufCur, chunk);
        m_lpBufCur += chunk;
        copied += chunk;
    }
    if (copied < count) m_bFailed = true;
    return copied;
}

template <typename T>
CArchive& CArchive::ReadValue(T& value) {
    static_assert(sizeof(T) <= 4, "values fit any buffer");
    value = 0;
    if (m_bFailed) return *this;
    if (!Fill(sizeof(T))) {
        // What is left is consumed: the data has ended for this archive.
        m_lpBufCur = m_lpBufMax;
        m_bFailed = true;
        return *this;
    }
    std::memcpy(&value, m_lpBufCur, sizeof(T));  // the machine is little-endian, like the data
    m_lpBufCur += sizeof(T);
    return *this;
}

CArchive& CArchive::operator>>(uint8_t& value) { return ReadValue(value); }
CArchive& CArchive::operator>>(uint16_t& value) { return ReadValue(value); }
CArchive& CArchive::operator>>(uint32_t& value) { return ReadValue(value); }
CArchive& CArchive::operator>>(unsigned long& value) { return ReadValue(value); }
CArchive& CArchive::operator>>(long& value) { return ReadValue(value); }
CArchive& CArchive::operator>>(int& value) { return ReadValue(value); }
CArchive& CArchive::operator>>(short& value) { return ReadValue(value); }

uint32_t CArchive::ReadCount() {
    uint16_t shortCount = 0;
    *this >> shortCount;
    if (shortCount != 0xFFFF) return shortCount;
    uint32_t count = 0;
    *this >> count;
    return count;
}
