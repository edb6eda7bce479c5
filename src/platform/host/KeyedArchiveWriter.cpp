#include "platform/host/KeyedArchiveWriter.h"

#include <unicode/ustring.h>

#include <bit>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <limits>
#include <string_view>
#include <utility>

namespace routelle::hostplist {

namespace {

unsigned bytesFor(std::uint64_t v) {
  if (v < (std::uint64_t{1} << 8)) return 1;
  if (v < (std::uint64_t{1} << 16)) return 2;
  if (v < (std::uint64_t{1} << 32)) return 4;
  return 8;
}

unsigned log2Of(unsigned width) { return width == 1 ? 0 : width == 2 ? 1 : width == 4 ? 2 : 3; }

// UTF-8 to UTF-16; the caller guarantees valid UTF-8, anything else becomes U+FFFD.
void toUtf16(std::string_view s, std::u16string& out) {
  // UTF-16 never takes more units than UTF-8 takes bytes.
  out.resize(s.size());
  UErrorCode status = U_ZERO_ERROR;
  std::int32_t length = 0;
  u_strFromUTF8WithSub(out.data(), static_cast<std::int32_t>(out.size()), &length, s.data(),
                       static_cast<std::int32_t>(s.size()), 0xFFFD, nullptr, &status);
  out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(length) : 0);
}

// Appends objects in numbering order and keeps their offsets for the table, in
// four bytes each unless the output may grow past what four bytes count.
template <typename Offset>
class BinaryPlist {
 public:
  BinaryPlist(std::uint64_t objectCount, std::size_t reserve) : refSize_(bytesFor(objectCount - 1)) {
    offsets_.reserve(objectCount);
    out_.reserve(reserve);
    raw("bplist00");
  }

  void string(std::string_view s) {
    start();
    bool ascii = true;
    for (char c : s) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) {
      header(0x5, s.size());
      raw(s);
      return;
    }
    toUtf16(s, utf16_);
    header(0x6, utf16_.size());
    for (char16_t u : utf16_) bigEndian(u, 2);
  }
  void integer(std::uint64_t v) {
    start();
    const unsigned width = bytesFor(v);
    out_.push_back(static_cast<std::uint8_t>(0x10 | log2Of(width)));
    bigEndian(v, width);
  }
  void uid(std::uint64_t v) {
    start();
    const unsigned width = bytesFor(v);
    out_.push_back(static_cast<std::uint8_t>(0x80 | (width - 1)));
    bigEndian(v, width);
  }
  // A container's header; its references follow through ref().
  void array(std::uint64_t items) {
    start();
    header(0xA, items);
  }
  void dict(std::uint64_t entries) {
    start();
    header(0xD, entries);
  }
  void ref(std::uint64_t object) { bigEndian(object, refSize_); }

  Bytes finish() {
    const std::uint64_t table = out_.size();
    const unsigned offsetSize = bytesFor(table);
    for (std::uint64_t offset : offsets_) bigEndian(offset, offsetSize);
    out_.insert(out_.end(), 6, 0);
    out_.push_back(static_cast<std::uint8_t>(offsetSize));
    out_.push_back(static_cast<std::uint8_t>(refSize_));
    bigEndian(offsets_.size(), 8);
    bigEndian(0, 8);  // the root is object 0
    bigEndian(table, 8);
    return std::move(out_);
  }

 private:
  void start() { offsets_.push_back(static_cast<Offset>(out_.size())); }
  void raw(std::string_view s) { out_.insert(out_.end(), s.begin(), s.end()); }
  void bigEndian(std::uint64_t v, unsigned width) {
    for (unsigned i = width; i-- > 0;) out_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void header(unsigned type, std::uint64_t count) {
    if (count < 15) {
      out_.push_back(static_cast<std::uint8_t>(type << 4 | count));
      return;
    }
    out_.push_back(static_cast<std::uint8_t>(type << 4 | 0xF));
    const unsigned width = bytesFor(count);
    out_.push_back(static_cast<std::uint8_t>(0x10 | log2Of(width)));
    bigEndian(count, width);
  }

  unsigned refSize_;
  std::vector<Offset> offsets_;
  Bytes out_;
  std::u16string utf16_;
};

// Object numbers of the fixed part of the archive; the list's distinct strings
// follow, then one UID object per string.
enum Fixed : std::uint64_t {
  kRoot,
  kKeyVersion,
  kKeyArchiver,
  kKeyTop,
  kKeyObjects,
  kVersion,
  kArchiverName,
  kTop,
  kKeyRoot,
  kRootUid,
  kObjects,
  kNull,
  kArray,
  kKeyNSObjects,
  kKeyClass,
  kNSObjects,
  kClassUid,
  kClass,
  kKeyClassname,
  kKeyClasses,
  kNSArray,
  kNSObject,
  kClasses,
  kFixedCount
};

bool isAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The list's distinct strings, each archived once under the UID of its first
// occurrence. Kept in flat arrays of 32-bit numbers rather than a node per
// string, so that a list of a quarter million rules is archived within a few
// times its own size.
struct Distinct {
  std::vector<std::uint32_t> first;  // list position of each distinct string, in UID order
  std::vector<std::uint32_t> uids;   // of each list element
  std::size_t bytes = 0;             // what the distinct strings take at most, written
};

Distinct distinctStrings(const std::vector<std::string>& list) {
  Distinct d;
  d.uids.reserve(list.size());
  // Open addressing; a slot holds a UID, 0 when empty (UIDs 0 and 1 are "$null"
  // and the array, so the strings' start at 2). The table is at most half full.
  std::vector<std::uint32_t> table(std::bit_ceil(list.size() * 2 + 2), 0);
  const std::size_t mask = table.size() - 1;
  const std::hash<std::string_view> hash;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string_view s = list[i];
    std::size_t slot = hash(s) & mask;
    while (table[slot] != 0 && list[d.first[table[slot] - 2]] != s) slot = (slot + 1) & mask;
    if (table[slot] == 0) {
      table[slot] = static_cast<std::uint32_t>(d.first.size() + 2);
      d.first.push_back(static_cast<std::uint32_t>(i));
      d.bytes += 10 + (isAscii(s) ? s.size() : 2 * s.size());
    }
    d.uids.push_back(table[slot]);
  }
  return d;
}

template <typename Offset>
Bytes writeArchive(const std::vector<std::string>& list, const Distinct& d, std::size_t bound) {
  const std::uint64_t count = d.first.size();
  const std::uint64_t classUid = count + 2;
  const std::uint64_t total = kFixedCount + 2 * count;
  auto stringObject = [&](std::uint64_t uid) { return kFixedCount + uid - 2; };
  auto uidObject = [&](std::uint64_t uid) { return kFixedCount + count + uid - 2; };

  BinaryPlist<Offset> p(total, bound);
  const auto dictOf = [&](std::initializer_list<std::pair<std::uint64_t, std::uint64_t>> entries) {
    p.dict(entries.size());
    for (const auto& e : entries) p.ref(e.first);
    for (const auto& e : entries) p.ref(e.second);
  };

  dictOf({{kKeyVersion, kVersion}, {kKeyArchiver, kArchiverName}, {kKeyTop, kTop}, {kKeyObjects, kObjects}});
  p.string("$version");
  p.string("$archiver");
  p.string("$top");
  p.string("$objects");
  p.integer(100000);
  p.string("NSKeyedArchiver");
  dictOf({{kKeyRoot, kRootUid}});
  p.string("root");
  p.uid(1);

  p.array(3 + count);
  p.ref(kNull);
  p.ref(kArray);
  for (std::uint64_t uid = 2; uid < classUid; ++uid) p.ref(stringObject(uid));
  p.ref(kClass);
  p.string("$null");
  dictOf({{kKeyNSObjects, kNSObjects}, {kKeyClass, kClassUid}});
  p.string("NS.objects");
  p.string("$class");
  p.array(d.uids.size());
  for (std::uint64_t uid : d.uids) p.ref(uidObject(uid));
  p.uid(classUid);

  dictOf({{kKeyClassname, kNSArray}, {kKeyClasses, kClasses}});
  p.string("$classname");
  p.string("$classes");
  p.string("NSArray");
  p.string("NSObject");
  p.array(2);
  p.ref(kNSArray);
  p.ref(kNSObject);

  for (std::uint32_t at : d.first) p.string(list[at]);
  for (std::uint64_t uid = 2; uid < classUid; ++uid) p.uid(uid);
  return p.finish();
}

}  // namespace

Bytes writeKeyedStringArray(const std::vector<std::string>& list) {
  const Distinct distinct = distinctStrings(list);
  const std::size_t objects = kFixedCount + 2 * distinct.first.size();
  // What the archive takes at most: the fixed part, the strings, a UID object
  // and three references per string, a reference per element, the offset table.
  const std::size_t bound = 512 + distinct.bytes + 5 * distinct.first.size() + 4 * (objects + list.size()) + 64;
  if (bound + 8 * objects <= std::numeric_limits<std::uint32_t>::max())
    return writeArchive<std::uint32_t>(list, distinct, bound + 4 * objects);
  return writeArchive<std::uint64_t>(list, distinct, bound + 8 * objects);
}

}  // namespace routelle::hostplist
