#pragma once

#include <array>
#include <cstddef>
#include <memory_resource>
#include <vector>

namespace store {

// Where the cells of one workbook's sheets live. A big workbook holds a million cells in tens of
// thousands of rows: here the rows are carved one after the other, at their exact size, from
// regions of up to 2 MB taken from the system in one piece, so storing a row costs no trip to the
// general heap, and the regions go back to the system with the workbook at once rather than row
// by row. A freed row's block is kept for the next row of its size.
//
// The regions are deliberately not offered to the system as large pages: on a virtual machine
// whose host takes back the memory its guest frees, a large page handed out afresh costs the
// host hundreds of faults of its own, and a big workbook then opened several times slower.
class CellMemory final : public std::pmr::memory_resource {
public:
    CellMemory();
    ~CellMemory() override;
    CellMemory(const CellMemory&) = delete;
    CellMemory& operator=(const CellMemory&) = delete;

    // What the sheets allocate from.
    std::pmr::memory_resource* pool() { return this; }
    // The memory taken from the system so far and not given back.
    std::size_t mappedBytes() const;

private:
    void* do_allocate(std::size_t bytes, std::size_t alignment) override;
    void do_deallocate(void* p, std::size_t bytes, std::size_t alignment) override;
    bool do_is_equal(const std::pmr::memory_resource& other) const noexcept override { return this == &other; }

    struct Region {
        void* start;
        std::size_t size;
    };
    static void* map(std::size_t size);
    void carveNewRegion(std::size_t atLeast);
    void* carve(std::size_t bytes);
    void* mapBlock(std::size_t bytes);
    void unmapBlock(void* p);

    // Blocks up to 4 KB (a row of 256 cells) come in sizes of 16 bytes, 16 to 4,096; larger ones
    // up to 256 KB (the list of a sheet's rows) in powers of two. Larger blocks get a region of
    // their own and give it back when freed.
    static constexpr std::size_t kSmallStep = 16;
    static constexpr std::size_t kLargestSmallBlock = 4096;
    static constexpr std::size_t kLargestKeptBlock = 256 * 1024;
    static constexpr std::size_t kSizeClasses = kLargestSmallBlock / kSmallStep + 7;   // 8 KB ... 256 KB
    static std::size_t sizeClass(std::size_t bytes);
    static std::size_t classBytes(std::size_t sizeClass);

    std::vector<Region> regions_;   // every region mapped, freed with the workbook
    char* next_ = nullptr;          // the free part of the newest region blocks are carved from
    std::size_t left_ = 0;
    std::size_t nextRegionSize_;
    std::array<void*, kSizeClasses> freed_{};   // freed blocks of each size, linked through their first bytes
};

} // namespace store
