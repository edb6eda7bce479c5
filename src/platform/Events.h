#pragma once
#include <cstdint>

namespace routelle {

struct Point {
  double x = 0;
  double y = 0;
};

// Modifier flag bits as the platform reports them.
namespace modifierFlags {
inline constexpr std::uint64_t capsLock = 0x10000;
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t function = 0x800000;
}  // namespace modifierFlags

// The keyboard and pointer state at this moment.
class Events {
 public:
  virtual ~Events() = default;
  virtual std::uint64_t modifierFlags() = 0;
  // Screen coordinates, origin at the lower left.
  virtual Point mouseLocation() = 0;
};

}  // namespace routelle
