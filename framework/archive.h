#pragma once
// CArchive: reads little-endian values from a CFile through a buffer (4096 bytes
// unless told otherwise). Only loading is supported.
//
// No exceptions: a read that needs more bytes than the data has left takes what
// is left, yields 0 for a value, and marks the archive failed. The mark stays,
// every later read fails as well, and the caller checks IsFailed() once after a
// run of reads. Nothing is ever read past the end of the data.
//
// Fixed-width types, no <windows.h>: the host build reads through it too.
#include <cstdint>

#include "framework/mem_file.h"

class CArchive {
public:
    enum Mode : uint32_t { store = 0, load = 1 };

    // A mode other than load gives an archive that is failed from the start.
    // The buffer holds at least 4 bytes.
    CArchive(CFile* file, uint32_t mode, int bufferSize = 4096);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    bool IsLoading() const { return m_nMode == load; }
    bool IsFailed() const { return m_bFailed; }
    // Bytes of the data not read yet.
    uint32_t BytesLeft() const;

    // The number of bytes copied; fewer than count marks the archive failed.
    uint32_t Read(void* buffer, uint32_t count);

    CArchive& operator>>(uint8_t& value);
    CArchive& operator>>(uint16_t& value);
    CArchive& operator>>(uint32_t& value);
    CArchive& operator>>(unsigned long& value);  // DWORD
    CArchive& operator>>(long& value);           // LONG
    CArchive& operator>>(int& value);
    CArchive& operator>>(short& value);

    // A count as the framework writes one: a 16-bit word, or 0xFFFF followed by a 32-bit word.
    uint32_t ReadCount();

private:
    // Makes at least `wanted` unread bytes lie in the buffer, if the data has them.
    bool Fill(uint32_t wanted);
    template <typename T>
    CArchive& ReadValue(T& value);

    CFile* m_pFile;
    uint32_t m_nMode;
    uint32_t m_nBufSize;       // capacity of the buffer
    uint8_t* m_lpBufStart;     // the buffer
    uint8_t* m_lpBufCur;       // next unread byte in it
    uint8_t* m_lpBufMax;       // end of the bytes read into it
    bool m_bFailed = false;    // a read wanted bytes past the end of the data
};
