#include "platform/host/KeyedArchiveWriter.h"

#include <unicode/ustring.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <unordered_map>
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

// Appends objects in numbering order and keeps their offsets for the table.
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
  void start() { offsets_.push_back(out_.size()); }
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
  std::vector<std::uint64_t> offsets_;
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

}  // namespace

Bytes writeKeyedStringArray(const std::vector<std::string>& list) {
  // Equal strings are archived once; the archive's UID of string i is i + 2.
  std::unordered_map<std::string_view, std::uint64_t> uidOf;
  uidOf.reserve(list.size());
  std::vector<std::string_view> distinct;
  std::vector<std::uint64_t> uids;
  uids.reserve(list.size());
  std::size_t textBytes = 0;
  for (const std::string& s : list) {
    auto [it, added] = uidOf.try_emplace(s, distinct.size() + 2);
    if (added) {
      distinct.push_back(s);
      textBytes += s.size();
    }
    uids.push_back(it->second);
  }
  const std::uint64_t count = distinct.size();
  const std::uint64_t classUid = count + 2;
  const std::uint64_t total = kFixedCount + 2 * count;
  auto stringObject = [&](std::uint64_t uid) { return kFixedCount + uid - 2; };
  auto uidObject = [&](std::uint64_t uid) { return kFixedCount + count + uid - 2; };

  BinaryPlist p(total, 512 + 2 * textBytes + 16 * count + 8 * list.size());
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
  p.array(uids.size());
  for (std::uint64_t uid : uids) p.ref(uidObject(uid));
  p.uid(classUid);

  dictOf({{kKeyClassname, kNSArray}, {kKeyClasses, kClasses}});
  p.string("$classname");
  p.string("$classes");
  p.string("NSArray");
  p.string("NSObject");
  p.array(2);
  p.ref(kNSArray);
  p.ref(kNSObject);

  for (std::string_view s : distinct) p.string(s);
  for (std::uint64_t uid = 2; uid < classUid; ++uid) p.uid(uid);
  return p.finish();
}

}  // namespace routelle::hostplist
