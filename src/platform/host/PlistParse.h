#pragma once
#include <cstddef>
#include <memory>

namespace routelle::hostplist {

struct PlistFree {
  void operator()(void* node) const;
};
// An owned libplist node (plist_t is a void pointer).
using PlistNode = std::unique_ptr<void, PlistFree>;

// Larger property lists are refused outright: nothing the program keeps comes near.
inline constexpr std::size_t kMaxPlistBytes = std::size_t{64} << 20;
// libplist walks trees recursively (parse, copy, free, write), so nesting is capped.
inline constexpr unsigned kMaxPlistDepth = 512;
// A binary plist can share subtrees; libplist expands every share into copies.
inline constexpr std::size_t kMaxPlistNodes = std::size_t{1} << 22;

// Parses binary or XML property-list bytes. Nothing when the bytes are not a
// property list, when a string or key in it is not UTF-8, or when its shape
// would make libplist overflow its stack or expand without bound; every
// returned tree is safe for libplist's recursive code and writes back unchanged.
PlistNode parsePlist(const char* data, std::size_t size);

}  // namespace routelle::hostplist
