#pragma once
// CArchive: reads little-endian values from a CFile through a buffer (4096 bytes
// unless told otherwise). Only loading is supported.
//
// No exceptions: a read that needs more bytes than the data has left takes what
// is left, yields 0 for a value, and marks the archive failed. The mark stays,
// every later read fails as well, and the caller checks IsFailed() once after a
// run of reads. Nothing is ever read past the end of the data.
#include <windows.h>

#include "framework/mem_file.h"

class CArchive {
public:
    enum Mode : UINT { store = 0, load = 1 };

    // A mode other than load gives an archive that is failed from the start.
    // The buffer holds at least 4 bytes.
    CArchive(CFile* file, UINT mode, int bufferSize = 4096);
    ~CArchive();
    CArchive(const CArchive&) = delete;
    CArchive& operator=(const CArchive&) = delete;

    BOOL IsLoading() const { return m_nMode == load; }
    BOOL IsFailed() const { return m_bFailed; }
    // Bytes of the data not read yet.
    DWORD BytesLeft() const;

    // The number of bytes copied; fewer than count marks the archive failed.
    UINT Read(void* buffer, UINT count);

    CArchive& operator>>(BYTE& value);
    CArchive& operator>>(WORD& value);
    CArchive& operator>>(DWORD& value);
    CArchive& operator>>(LONG& value);
    CArchive& operator>>(int& value);
    CArchive& operator>>(short& value);

    // A count as the framework writes one: a 16-bit word, or 0xFFFF followed by a 32-bit word.
    DWORD ReadCount();

private:
    // Makes at least `wanted` unread bytes lie in the buffer, if the data has them.
    bool Fill(UINT wanted);
    template <typename T>
    CArchive& ReadValue(T& value);

    CFile* m_pFile;
    UINT m_nMode;
    UINT m_nBufSize;           // capacity of the buffer
    BYTE* m_lpBufStart;        // the buffer
    BYTE* m_lpBufCur;          // next unread byte in it
    BYTE* m_lpBufMax;          // end of the bytes read into it
    bool m_bFailed = false;    // a read wanted bytes past the end of the data
};
