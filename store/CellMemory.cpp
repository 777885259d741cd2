#include "store/CellMemory.h"

#include <algorithm>
#include <new>
#include <sys/mman.h>

namespace store {

namespace {

// A small workbook (an invoice form) takes one region of this size; the regions grow to the
// largest size as a workbook's cells take more.
constexpr std::size_t kFirstRegion = 64 * 1024;
constexpr std::size_t kLargestRegion = 2 * 1024 * 1024;
// Blocks up to this size are pooled and reused when freed; larger ones (the list of a tall
// sheet's rows) get a region of their own and give it back when freed.
constexpr std::size_t kLargestPooledBlock = 256 * 1024;
constexpr std::size_t kBlocksPerChunk = 256;

std::size_t roundedUp(std::size_t value, std::size_t unit)
{
    return (value + unit - 1) / unit * unit;
}

std::pmr::pool_options poolOptions()
{
    std::pmr::pool_options options;
    options.largest_required_pool_block = kLargestPooledBlock;
    // Chunks of a few hundred rows: rows of every length then fill the same regions one
    // after the other, rather than each length leaving a page of its own half used.
    options.max_blocks_per_chunk = kBlocksPerChunk;
    return options;
}

} // namespace

CellMemory::CellMemory() : nextRegionSize_(kFirstRegion), pool_(poolOptions(), this) {}

CellMemory::~CellMemory()
{
    pool_.release();
    for (const Region& region : regions_) ::munmap(region.start, region.size);
}

std::size_t CellMemory::mappedBytes() const
{
    std::size_t total = 0;
    for (const Region& region : regions_) total += region.size;
    return total;
}

void* CellMemory::map(std::size_t size)
{
    // With all its pages at once: one call, rather than a fault for every 4 KB as the cells fill
    // the region (a region is filled soon after it is taken, but for the newest one's end).
    void* start = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (start == MAP_FAILED) throw std::bad_alloc();
    return start;
}

void CellMemory::carveNewRegion(std::size_t atLeast)
{
    const std::size_t size = std::max(nextRegionSize_, roundedUp(atLeast, kLargestRegion));
    regions_.reserve(regions_.size() + 1);
    next_ = static_cast<char*>(map(size));
    left_ = size;
    regions_.push_back({next_, size});
    nextRegionSize_ = std::min(nextRegionSize_ * 4, kLargestRegion);
}

void* CellMemory::do_allocate(std::size_t bytes, std::size_t alignment)
{
    if (bytes > kLargestPooledBlock) {
        const std::size_t size = roundedUp(bytes, 4096);
        regions_.reserve(regions_.size() + 1);
        void* start = map(size);
        regions_.push_back({start, size});
        return start;
    }
    const std::size_t skip = roundedUp(reinterpret_cast<std::size_t>(next_), alignment) - reinterpret_cast<std::size_t>(next_);
    if (!next_ || skip + bytes > left_) {
        carveNewRegion(bytes + alignment);
        return do_allocate(bytes, alignment);
    }
    void* block = next_ + skip;
    next_ += skip + bytes;
    left_ -= skip + bytes;
    return block;
}

void CellMemory::do_deallocate(void* p, std::size_t bytes, std::size_t)
{
    // Small blocks are the pool's to reuse; a large block's region goes back now.
    if (bytes <= kLargestPooledBlock) return;
    const auto region = std::find_if(regions_.begin(), regions_.end(), [p](const Region& r) { return r.start == p; });
    if (region == regions_.end()) return;
    ::munmap(region->start, region->size);
    regions_.erase(region);
}

} // namespace store
