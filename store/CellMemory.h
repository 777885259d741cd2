#pragma once

#include <cstddef>
#include <memory_resource>
#include <vector>

namespace store {

// Where the cells of one workbook's sheets live. A big workbook holds a million cells in tens of
// thousands of rows: here the rows are carved from regions of up to 2 MB taken from the system
// in one piece, so storing a row costs no trip to the general heap, and the regions go back to the
// system with the workbook at once rather than row by row. Freed rows are reused through a pool.
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
    std::pmr::memory_resource* pool() { return &pool_; }
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

    std::vector<Region> regions_;   // every region mapped, freed with the workbook
    char* next_ = nullptr;          // the free part of the newest small-block region
    std::size_t left_ = 0;
    std::size_t nextRegionSize_;
    std::pmr::unsynchronized_pool_resource pool_;
};

} // namespace store
