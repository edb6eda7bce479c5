#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/host/BinaryPlistView.h"

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

// What a binary plist of that many bytes may expand to in libplist. A file
// libplist wrote shares strings but never containers, so each of its nodes
// but the root is one reference of at least a byte: these never refuse one,
// and keep what any file costs to read a multiple of its size.
std::uint64_t maxExpandedNodes(std::size_t size);
std::uint64_t maxExpandedBytes(std::size_t size);

// Parses binary or XML property-list bytes. Nothing when the bytes are not a
// property list, when a key in it or any string is not UTF-8 (a string value
// may hold NUL, which reads as its end), or when its shape would make libplist
// overflow its stack or expand beyond the bounds above; every returned tree
// is safe for libplist's recursive code and writes back as it reads. An XML
// document is measured before libplist reads it, so that reading costs at
// most about four times its size; `refusal`, when given, says why one is not read.
bool isBinaryPlist(const void* data, std::size_t size);
// A binary property list read in place, under the same checks as parsePlist's:
// what this accepts, libplist reads (and writes back) as this reads it.
std::optional<BinaryPlistView> openBinaryPlist(const unsigned char* data, std::size_t size);

PlistNode parsePlist(const char* data, std::size_t size, std::string* refusal = nullptr);

}  // namespace routelle::hostplist
