#pragma once
// The most heap a stretch of a fuzz target holds at once, taken from the
// sanitizer allocator's hooks, so that each input's memory can be checked
// against its size (what a process-wide RSS limit cannot do per input).
#include <sanitizer/allocator_interface.h>

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace fuzzing {

class AllocationPeak {
 public:
  AllocationPeak() {
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree) != 0;
    (void)installed;
    current().store(0);
    peak().store(0);
    tracking().store(true);
  }
  ~AllocationPeak() { tracking().store(false); }
  AllocationPeak(const AllocationPeak&) = delete;
  AllocationPeak& operator=(const AllocationPeak&) = delete;

  // Frees of blocks older than this scope only lower the count: never a false alarm.
  std::size_t bytes() const {
    const std::int64_t most = peak().load();
    return most > 0 ? static_cast<std::size_t>(most) : 0;
  }

 private:
  static std::atomic<bool>& tracking() {
    static std::atomic<bool> on{false};
    return on;
  }
  static std::atomic<std::int64_t>& current() {
    static std::atomic<std::int64_t> bytes{0};
    return bytes;
  }
  static std::atomic<std::int64_t>& peak() {
    static std::atomic<std::int64_t> bytes{0};
    return bytes;
  }
  static void onMalloc(const volatile void*, std::size_t size) {
    if (!tracking().load(std::memory_order_relaxed)) return;
    const std::int64_t now = current().fetch_add(static_cast<std::int64_t>(size)) + static_cast<std::int64_t>(size);
    std::int64_t most = peak().load(std::memory_order_relaxed);
    while (now > most && !peak().compare_exchange_weak(most, now)) {
    }
  }
  static void onFree(const volatile void* block) {
    if (!block || !tracking().load(std::memory_order_relaxed)) return;
    current().fetch_sub(static_cast<std::int64_t>(__sanitizer_get_allocated_size(block)));
  }
};

// What reading any input may hold at its peak: libplist spends about a hundred
// bytes on each node, and a file has at most one node per byte; the constant
// covers what a small file may expand to and the fixed costs of opening it.
inline std::size_t allowedPeak(std::size_t inputSize) { return 128 * inputSize + (std::size_t{16} << 20); }

}  // namespace fuzzing
