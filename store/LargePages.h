#pragma once

#include <cstddef>
#include <cstdint>
#include <sys/mman.h>

namespace store {

// Memory the system hands out page by page costs a fault for every 4 KB page touched; a big
// workbook touches tens of megabytes at once. Where the system allows, a region may instead be
// backed by large pages of this size, a fault each.
inline constexpr std::size_t kLargePage = 2 * 1024 * 1024;

// Asks for large pages for the whole large pages that lie inside [start, start + size). Only a
// wish: the memory works the same when the system says no.
inline void adviseLargePages(void* start, std::size_t size)
{
    const auto begin = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t first = (begin + kLargePage - 1) / kLargePage * kLargePage;
    const std::uintptr_t last = (begin + size) / kLargePage * kLargePage;
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

} // namespace store
