// CArchive over CMemFile: values across the 4096-byte buffer and the end of the data.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "framework/archive.h"
#include "framework/mem_file.h"
#include "tests/support/guarded_bytes.h"

namespace {

std::vector<uint8_t> Pattern(size_t size) {
    std::vector<uint8_t> bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 8));
    return bytes;
}

TEST(ArchiveTest, ValuesThatStraddleTheBufferBoundaryReadWhole) {
    const std::vector<uint8_t> bytes = Pattern(5000);
    const GuardedBytes data(bytes);
    CMemFile file(data.Data(), data.Size());
    CArchive ar(&file, CArchive::load);
    ASSERT_TRUE(ar.IsLoading());

    std::vector<uint8_t> head(4094);
    EXPECT_EQ(ar.Read(head.data(), 4094), 4094u);
    EXPECT_EQ(head, std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4094));
    DWORD word = 0;
    ar >> word;  // bytes 4094..4097: two in the first buffer, two in the next
    EXPECT_EQ(word, static_cast<DWORD>(bytes[4094] | bytes[4095] << 8 | bytes[4096] << 16 | bytes[4097] << 24));
    WORD half = 0;
    ar >> half;
    EXPECT_EQ(half, static_cast<WORD>(bytes[4098] | bytes[4099] << 8));
    EXPECT_EQ(ar.BytesLeft(), 900u);
    EXPECT_FALSE(ar.IsFailed());
}

TEST(ArchiveTest, ReadingExactlyToTheEndIsFineOneByteMoreIsNot) {
    const std::vector<uint8_t> bytes = Pattern(4099);  // ends three bytes into the second buffer
    const GuardedBytes data(bytes);
    CMemFile file(data.Data(), data.Size());
    CArchive ar(&file, CArchive::load);
    std::vector<uint8_t> all(4097);
    EXPECT_EQ(ar.Read(all.data(), 4097), 4097u);
    WORD last = 0;
    ar >> last;
    EXPECT_EQ(last, static_cast<WORD>(bytes[4097] | bytes[4098] << 8));
    EXPECT_FALSE(ar.IsFailed());
    EXPECT_EQ(ar.BytesLeft(), 0u);

    BYTE past = 0xAA;
    ar >> past;
    EXPECT_TRUE(ar.IsFailed());
    EXPECT_EQ(past, 0) << "a value past the end reads as 0";
    DWORD later = 0xAAAAAAAA;
    ar >> later;
    EXPECT_EQ(later, 0u) << "the failure stays";
}

TEST(ArchiveTest, AValueCutShortByTheEndFailsAndTakesNothingBeyond) {
    const GuardedBytes data({1, 2, 3});
    CMemFile file(data.Data(), data.Size());
    CArchive ar(&file, CArchive::load);
    DWORD word = 0xFFFFFFFF;
    ar >> word;
    EXPECT_TRUE(ar.IsFailed());
    EXPECT_EQ(word, 0u);
    BYTE byte = 9;
    ar >> byte;
    EXPECT_EQ(byte, 0) << "bytes before the end of a failed read are not handed out later";
}

TEST(ArchiveTest, AShortReadCopiesWhatIsThereAndFails) {
    const std::vector<uint8_t> bytes = Pattern(10000);
    const GuardedBytes data(bytes);
    CMemFile file(data.Data(), data.Size());
    CArchive ar(&file, CArchive::load);
    BYTE first = 0;
    ar >> first;
    std::vector<uint8_t> rest(12000, 0);
    EXPECT_EQ(ar.Read(rest.data(), 12000), 9999u) << "spanning several buffers, up to the end";
    EXPECT_TRUE(std::equal(bytes.begin() + 1, bytes.end(), rest.begin()));
    EXPECT_EQ(rest[9999], 0);
    EXPECT_TRUE(ar.IsFailed());
}

TEST(ArchiveTest, CountsAreAWordOrAnEscapedDoubleWord) {
    std::vector<uint8_t> bytes(4094, 0);
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00});  // escape at 4094, value across the boundary
    bytes.insert(bytes.end(), {0x34, 0x12});
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0x01});  // an escaped count cut off by the end
    const GuardedBytes data(bytes);
    CMemFile file(data.Data(), data.Size());
    CArchive ar(&file, CArchive::load);
    std::vector<uint8_t> skip(4094);
    ar.Read(skip.data(), 4094);
    EXPECT_EQ(ar.ReadCount(), 0x12345u);
    EXPECT_EQ(ar.ReadCount(), 0x1234u);
    EXPECT_FALSE(ar.IsFailed());
    EXPECT_EQ(ar.ReadCount(), 0u);
    EXPECT_TRUE(ar.IsFailed());
}

TEST(ArchiveTest, SignedValuesAndOddBufferSizes) {
    const GuardedBytes data({0xFE, 0xFF, 0xFF, 0xFF, 0x00, 0x80, 0x07});
    CMemFile file(data.Data(), data.Size());
    CArchive ar(&file, CArchive::load, 5);  // values keep straddling the buffer's end
    LONG minusTwo = 0;
    short lowest = 0;
    BYTE seven = 0;
    ar >> minusTwo >> lowest >> seven;
    EXPECT_EQ(minusTwo, -2);
    EXPECT_EQ(lowest, -32768);
    EXPECT_EQ(seven, 7);
    EXPECT_FALSE(ar.IsFailed());

    CMemFile again(data.Data(), data.Size());
    CArchive tiny(&again, CArchive::load, 1);  // still holds a whole value
    tiny >> minusTwo;
    EXPECT_EQ(minusTwo, -2);
    EXPECT_FALSE(tiny.IsFailed());
}

TEST(ArchiveTest, NoDataAndNoLoadingFailAtOnce) {
    CMemFile empty(nullptr, 100);
    EXPECT_EQ(empty.GetLength(), 0u) << "no bytes behind a null pointer";
    CArchive fromEmpty(&empty, CArchive::load);
    EXPECT_EQ(fromEmpty.ReadCount(), 0u);
    EXPECT_TRUE(fromEmpty.IsFailed());

    const GuardedBytes data({1, 2, 3, 4});
    CMemFile file(data.Data(), data.Size());
    CArchive storing(&file, CArchive::store);
    EXPECT_FALSE(storing.IsLoading());
    EXPECT_TRUE(storing.IsFailed());
    BYTE byte = 5;
    storing >> byte;
    EXPECT_EQ(byte, 0);
    EXPECT_EQ(file.GetPosition(), 0u) << "nothing was read";
}

TEST(MemFileTest, ReadsStopAtTheEndAndSeeksStayInside) {
    const GuardedBytes data({10, 20, 30});
    CMemFile file(data.Data(), data.Size());
    uint8_t into[8] = {};
    EXPECT_EQ(file.Read(into, 2), 2u);
    EXPECT_EQ(file.Read(into + 2, 8), 1u);
    EXPECT_EQ(into[2], 30);
    EXPECT_EQ(file.Read(into, 1), 0u);
    EXPECT_EQ(file.SeekTo(99), 3u);
    EXPECT_EQ(file.SeekTo(1), 1u);
    EXPECT_EQ(file.Read(into, 1), 1u);
    EXPECT_EQ(into[0], 20);
}

}  // namespace
