#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "platform/Defaults.h"

namespace routelle {

// Bytes of a preferences file, or of what was written to it. Large files are
// read into memory filled in one step (PopulatedAllocator).
class PlistBytes {
 public:
  PlistBytes() = default;
  ~PlistBytes();
  PlistBytes(const PlistBytes&) = delete;
  PlistBytes& operator=(const PlistBytes&) = delete;

  // Room for `size` bytes, not cleared.
  static std::unique_ptr<PlistBytes> allocate(std::size_t size);
  // Takes over a buffer libplist encoded.
  static std::unique_ptr<PlistBytes> adopt(char* encoded, std::size_t size);

  unsigned char* data() { return data_; }
  const unsigned char* data() const { return data_; }
  std::size_t size() const { return size_; }
  void shrink(std::size_t size) { size_ = std::min(size, size_); }

 private:
  enum class Owner { none, allocated, libplist };
  unsigned char* data_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
  Owner owner_ = Owner::none;
};

// One state of a defaults domain, read in place from the binary property list
// that holds it: values of its top-level keys by name, data shared rather than
// copied (an archived list of thousands of rules is read on every change).
class DefaultsContents {
 public:
  // Nothing unless the bytes hold a dictionary that libplist reads the same
  // way (see openBinaryPlist). Empty bytes stand for an empty domain.
  static std::shared_ptr<const DefaultsContents> read(std::unique_ptr<PlistBytes> bytes);
  static std::shared_ptr<const DefaultsContents> empty() { return read(nullptr); }

  // The value of a key; nothing when absent or of a kind the program never writes.
  std::optional<DefaultsValue> object(std::string_view key) const;
  // Data under a key, viewed in place and kept alive with these contents.
  std::optional<SharedData> data(std::string_view key, const std::shared_ptr<const DefaultsContents>& self) const;
  const PlistBytes* bytes() const { return bytes_.get(); }

 private:
  struct Entry {
    std::optional<DefaultsValue> scalar;
    std::span<const std::uint8_t> data;
    bool isData = false;
  };
  struct KeyHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
  };

  std::unique_ptr<PlistBytes> bytes_;
  std::unordered_map<std::string, Entry, KeyHash, std::equal_to<>> entries_;
};

}  // namespace routelle
