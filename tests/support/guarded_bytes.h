#pragma once
// A copy of some bytes placed so that they end exactly at an inaccessible page:
// a reader that steps one byte past the end faults at once instead of reading
// whatever happens to follow.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <vector>

class GuardedBytes {
public:
    explicit GuardedBytes(const std::vector<uint8_t>& bytes) : size_(static_cast<uint32_t>(bytes.size())) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        const size_t dataPages = (bytes.size() + page - 1) / page;
        total_ = (dataPages + 1) * page;
        base_ = static_cast<uint8_t*>(VirtualAlloc(nullptr, total_, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base_ + dataPages * page, page, PAGE_NOACCESS, &old);
        data_ = base_ + dataPages * page - bytes.size();
        if (!bytes.empty()) std::memcpy(data_, bytes.data(), bytes.size());
    }
    ~GuardedBytes() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    const uint8_t* Data() const { return data_; }
    uint32_t Size() const { return size_; }

private:
    uint8_t* base_ = nullptr;
    uint8_t* data_ = nullptr;
    size_t total_ = 0;
    uint32_t size_;
};
