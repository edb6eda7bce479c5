#include "platform/host/BinaryPlistView.h"

#include <unicode/ustring.h>

#include <climits>
#include <cstring>

namespace routelle::hostplist {

namespace {

std::uint64_t readBigEndian(const unsigned char* p, unsigned width) {
  std::uint64_t v = 0;
  for (unsigned i = 0; i < width; ++i) v = (v << 8) | p[i];
  return v;
}

constexpr unsigned kNoKind = 0x10;

}  // namespace

std::optional<std::string> utf8FromBigEndianUtf16(const unsigned char* p, std::uint64_t units) {
  if (units > INT32_MAX / 3) return std::nullopt;
  std::u16string utf16(units, u'\0');
  for (std::uint64_t i = 0; i < units; ++i) utf16[i] = static_cast<char16_t>(p[2 * i] << 8 | p[2 * i + 1]);
  std::string out(units * 3, '\0');
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t length = 0;
  // Without a substitute, an unpaired surrogate fails the conversion.
  u_strToUTF8(out.data(), static_cast<std::int32_t>(out.size()), &length, utf16.data(),
              static_cast<std::int32_t>(units), &status);
  if (U_FAILURE(status)) return std::nullopt;
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::optional<BinaryPlistView> BinaryPlistView::open(const unsigned char* data, std::size_t size) {
  constexpr std::size_t kTrailer = 32;
  if (!data || size < 8 + kTrailer + 1 || std::memcmp(data, "bplist00", 8) != 0) return std::nullopt;
  const unsigned char* t = data + size - kTrailer;
  BinaryPlistView v;
  v.d_ = data;
  v.offsetSize_ = t[6];
  v.refSize_ = t[7];
  v.objects_ = readBigEndian(t + 8, 8);
  const std::uint64_t root = readBigEndian(t + 16, 8);
  v.table_ = readBigEndian(t + 24, 8);
  const std::size_t end = size - kTrailer;
  if (v.offsetSize_ < 1 || v.offsetSize_ > 8 || v.refSize_ < 1 || v.refSize_ > 8) return std::nullopt;
  if (v.table_ < 8 || v.table_ >= end) return std::nullopt;
  if (v.objects_ == 0 || v.objects_ > (end - v.table_) / v.offsetSize_ || root >= v.objects_) return std::nullopt;
  v.root_ = root + 1;
  return v;
}

std::optional<BinaryPlistView::Header> BinaryPlistView::header(Node n) const {
  if (n == 0 || n > objects_) return std::nullopt;
  const std::uint64_t at = readBigEndian(d_ + table_ + (n - 1) * offsetSize_, offsetSize_);
  if (at < 8 || at >= table_) return std::nullopt;
  Header h{static_cast<unsigned>(d_[at] >> 4), d_[at] & 0xFu, at + 1};
  std::uint64_t unit = 0;  // bytes per counted item
  switch (h.type) {
    case 0x1:  // integer of 2^n bytes, up to 16
    case 0x2:  // real of 2^n bytes
    case 0x3:  // date, a real
      return h.count <= 4 && (std::uint64_t{1} << h.count) <= table_ - h.payload ? std::optional(h) : std::nullopt;
    case 0x8:  // UID of n + 1 bytes
      return h.count < 8 && h.count + 1 <= table_ - h.payload ? std::optional(h) : std::nullopt;
    case 0x4:
    case 0x5:
      unit = 1;
      break;
    case 0x6:
      unit = 2;
      break;
    case 0xA:
    case 0xB:
    case 0xC:
      unit = refSize_;
      break;
    case 0xD:
      unit = std::uint64_t{2} * refSize_;
      break;
    default:
      return h;
  }
  if (h.count == 0xF) {
    if (h.payload >= table_ || (d_[h.payload] >> 4) != 0x1) return std::nullopt;
    const unsigned widthLog = d_[h.payload] & 0xF;
    if (widthLog > 3) return std::nullopt;
    const unsigned width = 1u << widthLog;
    if (table_ - (h.payload + 1) < width) return std::nullopt;
    h.count = readBigEndian(d_ + h.payload + 1, width);
    h.payload += 1 + width;
  }
  if (h.count > (table_ - h.payload) / unit) return std::nullopt;
  return h;
}

unsigned BinaryPlistView::kindOf(Node n) const {
  const auto h = header(n);
  return h ? h->type : kNoKind;
}

BinaryPlistView::Node BinaryPlistView::ref(std::uint64_t at) const {
  const std::uint64_t object = readBigEndian(d_ + at, refSize_);
  return object < objects_ ? object + 1 : 0;
}

std::size_t BinaryPlistView::count(Node n) const {
  const auto h = header(n);
  return h && (h->type == 0xA || h->type == 0xD) ? static_cast<std::size_t>(h->count) : 0;
}

BinaryPlistView::Indexed BinaryPlistView::indexed(Node array) const {
  Indexed items;
  items.view_ = this;
  if (const auto h = header(array); h && h->type == 0xA) {
    items.payload_ = h->payload;
    items.count_ = h->count;
  }
  return items;
}

bool BinaryPlistView::keyEquals(Node key, std::string_view text) const {
  const auto s = string(key);
  return s && *s == text;
}

BinaryPlistView::Node BinaryPlistView::item(Node dict, std::string_view key) const {
  const auto h = header(dict);
  if (!h || h->type != 0xD) return 0;
  for (std::uint64_t i = 0; i < h->count; ++i) {
    if (keyEquals(ref(h->payload + i * refSize_), key)) return ref(h->payload + (h->count + i) * refSize_);
  }
  return 0;
}

std::optional<std::string_view> BinaryPlistView::string(Node n) const {
  const auto h = header(n);
  if (!h) return std::nullopt;
  if (h->type == 0x5) return std::string_view(reinterpret_cast<const char*>(d_ + h->payload), h->count);
  if (h->type != 0x6) return std::nullopt;
  auto it = utf8_.find(n);
  if (it == utf8_.end()) it = utf8_.emplace(n, utf8FromBigEndianUtf16(d_ + h->payload, h->count)).first;
  if (!it->second) return std::nullopt;
  return std::string_view(*it->second);
}

std::optional<std::uint64_t> BinaryPlistView::uid(Node n) const {
  const auto h = header(n);
  if (!h || h->type != 0x8) return std::nullopt;
  return readBigEndian(d_ + h->payload, static_cast<unsigned>(h->count + 1));
}

std::optional<std::uint64_t> BinaryPlistView::uint(Node n) const {
  const auto h = header(n);
  if (!h || h->type != 0x1) return std::nullopt;
  const unsigned width = 1u << h->count;
  return width == 16 ? readBigEndian(d_ + h->payload + 8, 8) : readBigEndian(d_ + h->payload, width);
}

}  // namespace routelle::hostplist
