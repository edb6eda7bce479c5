#include "platform/host/DefaultsContents.h"

#include <plist/plist.h>

#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/host/BinaryPlistView.h"
#include "platform/host/PlistParse.h"
#include "platform/host/PopulatedAllocator.h"

namespace routelle {

namespace {

using hostplist::BinaryPlistView;

std::uint64_t bigEndian(const unsigned char* p, unsigned width) {
  std::uint64_t v = 0;
  for (unsigned i = 0; i < width; ++i) v = (v << 8) | p[i];
  return v;
}

// What fromNode made of a libplist node, read from the bytes: booleans,
// integers (libplist 2.2 keeps their bits unsigned), reals, texts up to their
// first NUL, data. Other kinds read as nothing.
std::optional<DefaultsValue> scalarAt(const BinaryPlistView& view, BinaryPlistView::Node n, std::uint64_t end) {
  const auto h = view.header(n);
  if (!h) return std::nullopt;
  const unsigned char* p = view.bytes() + h->payload;
  switch (h->type) {
    case 0x0:
      if (h->count == 0x8 || h->count == 0x9) return DefaultsValue(h->count == 0x9);
      return std::nullopt;
    case 0x1:
      return DefaultsValue(static_cast<std::int64_t>(*view.uint(n)));
    case 0x2: {
      const unsigned width = 1u << h->count;
      if ((width != 4 && width != 8) || end - h->payload < width) return std::nullopt;
      const std::uint64_t bits = bigEndian(p, width);
      if (width == 4) return DefaultsValue(static_cast<double>(std::bit_cast<float>(static_cast<std::uint32_t>(bits))));
      return DefaultsValue(std::bit_cast<double>(bits));
    }
    case 0x5: {
      const auto* text = reinterpret_cast<const char*>(p);
      return DefaultsValue(std::string(text, ::strnlen(text, h->count)));
    }
    case 0x6: {
      auto text = hostplist::utf8FromBigEndianUtf16(p, h->count);
      if (!text) return std::nullopt;
      if (const auto nul = text->find('\0'); nul != std::string::npos) text->resize(nul);
      return DefaultsValue(std::move(*text));
    }
    default:
      return std::nullopt;
  }
}

}  // namespace

PlistBytes::~PlistBytes() {
  switch (owner_) {
    case Owner::allocated:
      hostplist::PopulatedAllocator<unsigned char>().deallocate(data_, capacity_);
      break;
    case Owner::libplist:
      plist_to_bin_free(reinterpret_cast<char*>(data_));
      break;
    case Owner::none:
      break;
  }
}

std::unique_ptr<PlistBytes> PlistBytes::allocate(std::size_t size) {
  auto bytes = std::make_unique<PlistBytes>();
  bytes->size_ = bytes->capacity_ = size;
  if (size == 0) return bytes;
  bytes->data_ = hostplist::PopulatedAllocator<unsigned char>().allocate(size);
  bytes->owner_ = Owner::allocated;
  return bytes;
}

std::unique_ptr<PlistBytes> PlistBytes::adopt(char* encoded, std::size_t size) {
  auto bytes = std::make_unique<PlistBytes>();
  bytes->data_ = reinterpret_cast<unsigned char*>(encoded);
  bytes->size_ = bytes->capacity_ = size;
  bytes->owner_ = encoded ? Owner::libplist : Owner::none;
  return bytes;
}

std::shared_ptr<const DefaultsContents> DefaultsContents::read(std::unique_ptr<PlistBytes> bytes) {
  auto contents = std::make_shared<DefaultsContents>();
  if (!bytes || bytes->size() == 0) return contents;
  const auto view = hostplist::openBinaryPlist(bytes->data(), bytes->size());
  if (!view || !view->isDict(view->root())) return nullptr;
  const auto h = view->header(view->root());
  const std::uint64_t end = bytes->size();
  contents->entries_.reserve(static_cast<std::size_t>(h->count));
  for (std::uint64_t i = 0; i < h->count; ++i) {
    const auto key = view->string(view->ref(h->payload + i * view->refSize()));
    if (!key) continue;
    const auto value = view->ref(h->payload + (h->count + i) * view->refSize());
    Entry entry;
    if (const auto vh = view->header(value); vh && vh->type == 0x4) {
      entry.isData = true;
      entry.data = {bytes->data() + vh->payload, static_cast<std::size_t>(vh->count)};
    } else {
      entry.scalar = scalarAt(*view, value, end);
    }
    contents->entries_.try_emplace(std::string(*key), std::move(entry));
  }
  contents->bytes_ = std::move(bytes);
  return contents;
}

std::optional<DefaultsValue> DefaultsContents::object(std::string_view key) const {
  const auto hit = entries_.find(key);
  if (hit == entries_.end()) return std::nullopt;
  if (hit->second.isData) return DefaultsValue(Bytes(hit->second.data.begin(), hit->second.data.end()));
  return hit->second.scalar;
}

std::optional<SharedData> DefaultsContents::data(std::string_view key,
                                                 const std::shared_ptr<const DefaultsContents>& self) const {
  const auto hit = entries_.find(key);
  if (hit == entries_.end() || !hit->second.isData) return std::nullopt;
  return SharedData{self, hit->second.data};
}

}  // namespace routelle
