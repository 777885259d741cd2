#include "store/CellMemory.h"

#include <algorithm>
#include <bit>
#include <new>

#ifdef _WIN32
#define NOMINMAX
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace store {

namespace {

// A small workbook (an invoice form) takes one region of this size; the regions grow to the
// largest size as a workbook's cells take more.
constexpr std::size_t kFirstRegion = 64 * 1024;
constexpr std::size_t kLargestRegion = 2 * 1024 * 1024;

std::size_t roundedUp(std::size_t value, std::size_t unit)
{
    return (value + unit - 1) / unit * unit;
}

// Pages straight from the system, with all of them at once: one call, rather than a fault for
// every 4 KB as the cells fill the region (a region is filled soon after it is taken, but for the
// newest one's end).
void* systemPages(std::size_t size)
{
#ifdef _WIN32
    void* start = ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!start) throw std::bad_alloc();
#else
    void* start = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (start == MAP_FAILED) throw std::bad_alloc();
#endif
    return start;
}

void returnPages(void* start, std::size_t size)
{
#ifdef _WIN32
    (void)size;   // the system knows the size of what it gave
    ::VirtualFree(start, 0, MEM_RELEASE);
#else
    ::munmap(start, size);
#endif
}

} // namespace

// The size class of a block of up to kLargestKeptBlock bytes, and the size of its blocks.
std::size_t CellMemory::sizeClass(std::size_t bytes)
{
    if (bytes <= kLargestSmallBlock) return (std::max<std::size_t>(bytes, 1) + kSmallStep - 1) / kSmallStep;
    return kLargestSmallBlock / kSmallStep + std::size_t(std::bit_width(bytes - 1) - std::countr_zero(kLargestSmallBlock));
}

std::size_t CellMemory::classBytes(std::size_t sizeClass)
{
    constexpr std::size_t kSmallClasses = kLargestSmallBlock / kSmallStep;
    return sizeClass <= kSmallClasses ? sizeClass * kSmallStep
                                      : kLargestSmallBlock << (sizeClass - kSmallClasses);
}

CellMemory::CellMemory() : nextRegionSize_(kFirstRegion) {}

CellMemory::~CellMemory()
{
    for (const Region& region : regions_) returnPages(region.start, region.size);
}

std::size_t CellMemory::mappedBytes() const
{
    std::size_t total = 0;
    for (const Region& region : regions_) total += region.size;
    return total;
}

void* CellMemory::map(std::size_t size)
{
    return systemPages(size);
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

// The next bytes of the newest region; bytes is a multiple of 16, and so every block's start.
void* CellMemory::carve(std::size_t bytes)
{
    if (bytes > left_) carveNewRegion(bytes);
    void* block = next_;
    next_ += bytes;
    left_ -= bytes;
    return block;
}

void* CellMemory::mapBlock(std::size_t bytes)
{
    const std::size_t size = roundedUp(bytes, 4096);
    regions_.reserve(regions_.size() + 1);
    void* start = map(size);
    regions_.push_back({start, size});
    return start;
}

void CellMemory::unmapBlock(void* p)
{
    const auto region = std::find_if(regions_.begin(), regions_.end(), [p](const Region& r) { return r.start == p; });
    if (region == regions_.end()) return;
    returnPages(region->start, region->size);
    regions_.erase(region);
}

void* CellMemory::do_allocate(std::size_t bytes, std::size_t alignment)
{
    if (bytes > kLargestKeptBlock || alignment > kSmallStep) return mapBlock(bytes);
    const std::size_t size = sizeClass(bytes);
    if (void* block = freed_[size]) {
        freed_[size] = *static_cast<void**>(block);
        return block;
    }
    return carve(classBytes(size));
}

void CellMemory::do_deallocate(void* p, std::size_t bytes, std::size_t alignment)
{
    if (bytes > kLargestKeptBlock || alignment > kSmallStep) {
        unmapBlock(p);
        return;
    }
    const std::size_t size = sizeClass(bytes);
    *static_cast<void**>(p) = freed_[size];
    freed_[size] = p;
}

} // namespace store
