#pragma once
// CFile: what CArchive reads from. CMemFile: a file over bytes in memory that
// it only reads, never past their end.
#include <windows.h>

class CFile {
public:
    virtual ~CFile() = default;
    // Copies up to count bytes from the current position; the number copied
    // (fewer at the end of the data, 0 there).
    virtual UINT Read(void* buffer, UINT count) = 0;
    virtual DWORD GetLength() const = 0;
    virtual DWORD GetPosition() const = 0;
};

class CMemFile : public CFile {
public:
    // The bytes stay the caller's and must outlive the file.
    CMemFile(const BYTE* data, UINT size) : m_lpBuffer(data), m_nBufferSize(data != nullptr ? size : 0) {}

    UINT Read(void* buffer, UINT count) override;
    DWORD GetLength() const override { return m_nBufferSize; }
    DWORD GetPosition() const override { return m_nPosition; }
    // Moves to an absolute position, kept within 0..length; the new position.
    DWORD SeekTo(DWORD position);

private:
    const BYTE* m_lpBuffer;   // the data, not owned
    UINT m_nBufferSize;       // its length in bytes
    UINT m_nPosition = 0;     // next byte to read, 0..m_nBufferSize
};
