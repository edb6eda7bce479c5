#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace routelle::hostplist {

// Reads a binary property list in place. libplist 2.2 turns every object into
// a few heap blocks, which alone makes a list of ten thousand rules cost more
// than it should to decode; here nothing is copied but UTF-16 strings.
// Every access is bounds-checked and nothing recurses, so any bytes are safe.
class BinaryPlistView {
 public:
  // Object number + 1; 0 stands for "no object".
  using Node = std::uint64_t;

  // Nothing unless the header and trailer are sound.
  static std::optional<BinaryPlistView> open(const unsigned char* data, std::size_t size);

  Node root() const { return root_; }
  std::uint64_t objectCount() const { return objects_; }
  const unsigned char* bytes() const { return d_; }

  // An object's marker: its kind (high nibble), its count (low nibble, or the
  // integer after it) and where the rest starts. Nothing when the object, or
  // the bytes or references its count announces, lie outside the object table.
  struct Header {
    unsigned type;
    std::uint64_t count;
    std::uint64_t payload;
  };
  std::optional<Header> header(Node n) const;
  // The object referred to at an offset inside a container's payload, or 0.
  Node ref(std::uint64_t at) const;
  unsigned refSize() const { return refSize_; }

  bool isArray(Node n) const { return kindOf(n) == 0xA; }
  bool isDict(Node n) const { return kindOf(n) == 0xD; }
  // Items of an array, entries of a dictionary.
  std::size_t count(Node n) const;
  // The value for a key, or 0.
  Node item(Node dict, std::string_view key) const;
  std::optional<std::string_view> string(Node n) const;
  std::optional<std::uint64_t> uid(Node n) const;
  std::optional<std::uint64_t> uint(Node n) const;

  // An array's items by position.
  class Indexed {
   public:
    std::size_t size() const { return static_cast<std::size_t>(count_); }
    Node operator[](std::size_t i) const { return view_->ref(payload_ + i * view_->refSize_); }

   private:
    friend class BinaryPlistView;
    const BinaryPlistView* view_ = nullptr;
    std::uint64_t payload_ = 0;
    std::uint64_t count_ = 0;
  };
  Indexed indexed(Node array) const;

  // Calls visit(Node) for each item until it returns false.
  template <typename Visit>
  void forEach(Node array, Visit visit) const {
    const auto h = header(array);
    if (!h || h->type != 0xA) return;
    for (std::uint64_t i = 0; i < h->count; ++i) {
      if (!visit(ref(h->payload + i * refSize_))) return;
    }
  }

 private:
  BinaryPlistView() = default;
  unsigned kindOf(Node n) const;
  bool keyEquals(Node key, std::string_view text) const;

  const unsigned char* d_ = nullptr;
  std::uint64_t table_ = 0;
  std::uint64_t objects_ = 0;
  unsigned offsetSize_ = 0;
  unsigned refSize_ = 0;
  Node root_ = 0;
  // UTF-16 strings converted once; element references stay valid across rehashing.
  mutable std::unordered_map<Node, std::optional<std::string>> utf8_;
};

// Big-endian UTF-16 as UTF-8; nothing for an unpaired surrogate.
std::optional<std::string> utf8FromBigEndianUtf16(const unsigned char* p, std::uint64_t units);

}  // namespace routelle::hostplist
