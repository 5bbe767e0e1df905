#pragma once
// CFile: what CArchive reads from. CMemFile: a file over bytes in memory that
// it only reads, never past their end. Fixed-width types, no <windows.h>: the
// host build reads template and property data through these as well.
#include <cstdint>

class CFile {
public:
    virtual ~CFile() = default;
    // Copies up to count bytes from the current position; the number copied
    // (fewer at the end of the data, 0 there).
    virtual uint32_t Read(void* buffer, uint32_t count) = 0;
    virtual uint32_t GetLength() const = 0;
    virtual uint32_t GetPosition() const = 0;
};

class CMemFile : public CFile {
public:
    // The bytes stay the caller's and must outlive the file.
    CMemFile(const uint8_t* data, uint32_t size) : m_lpBuffer(data), m_nBufferSize(data != nullptr ? size : 0) {}

    uint32_t Read(void* buffer, uint32_t count) override;
    uint32_t GetLength() const override { return m_nBufferSize; }
    uint32_t GetPosition() const override { return m_nPosition; }
    // Moves to an absolute position, kept within 0..length; the new position.
    uint32_t SeekTo(uint32_t position);

private:
    const uint8_t* m_lpBuffer;   // the data, not owned
    uint32_t m_nBufferSize;      // its length in bytes
    uint32_t m_nPosition = 0;    // next byte to read, 0..m_nBufferSize
};
