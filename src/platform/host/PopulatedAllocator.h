#pragma once
#include <sys/mman.h>

#include <cstddef>
#include <new>

namespace routelle::hostplist {

// Large arrays (the texts of a list of thousands of rules) come from memory the
// kernel fills in one step rather than page by page as they are first written:
// a short-lived command pays for every page fault.
template <typename T>
struct PopulatedAllocator {
  using value_type = T;
  static constexpr std::size_t kMappedFrom = std::size_t{64} << 10;

  PopulatedAllocator() = default;
  template <typename U>
  PopulatedAllocator(const PopulatedAllocator<U>&) {}

  T* allocate(std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kMappedFrom) return static_cast<T*>(::operator new(bytes));
    void* mapped = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (mapped == MAP_FAILED) throw std::bad_alloc();
    return static_cast<T*>(mapped);
  }
  void deallocate(T* p, std::size_t n) {
    const std::size_t bytes = n * sizeof(T);
    if (bytes < kMappedFrom)
      ::operator delete(p);
    else
      ::munmap(p, bytes);
  }
  template <typename U>
  bool operator==(const PopulatedAllocator<U>&) const {
    return true;
  }
};

}  // namespace routelle::hostplist
