#include "platform/host/KeyedArchiveReader.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <unordered_map>

#include "platform/host/BinaryPlistView.h"
#include "platform/host/PlistParse.h"
#include "platform/host/PopulatedAllocator.h"
#include "support/Text.h"

namespace routelle::hostplist {

namespace {

using TextViews = std::vector<std::string_view, PopulatedAllocator<std::string_view>>;

// Shared strings let a small archive stand for a huge list; these bound what
// one archive may expand to (a list of ten thousand rules is 20,001 items).
constexpr std::size_t kMaxItems = std::size_t{1} << 20;
constexpr std::size_t kMaxTextBytes = kMaxPlistBytes;

// What a decoded element costs in memory: the string object, and its
// characters when they do not fit inside it.
std::size_t decodedCost(std::string_view s) {
  static const std::size_t inlineCapacity = std::string().capacity();
  return sizeof(std::string) + (s.size() > inlineCapacity ? s.size() + 1 : 0);
}

// The questions the reader asks, put to a libplist tree.
class LibplistDoc {
 public:
  using Node = plist_t;
  explicit LibplistDoc(plist_t root) : root_(root) {}

  Node root() const { return root_; }
  bool isArray(Node n) const { return n && plist_get_node_type(n) == PLIST_ARRAY; }
  bool isDict(Node n) const { return n && plist_get_node_type(n) == PLIST_DICT; }
  std::size_t count(Node n) const {
    return isArray(n) ? plist_array_get_size(n) : isDict(n) ? plist_dict_get_size(n) : 0;
  }
  Node item(Node dict, const char* key) const { return isDict(dict) ? plist_dict_get_item(dict, key) : nullptr; }
  std::optional<std::string_view> string(Node n) const {
    if (!n || plist_get_node_type(n) != PLIST_STRING) return std::nullopt;
    std::uint64_t length = 0;
    const char* text = plist_get_string_ptr(n, &length);
    if (!text) return std::nullopt;
    return std::string_view(text, length);
  }
  std::optional<std::uint64_t> uid(Node n) const { return number(n, PLIST_UID); }
  std::optional<std::uint64_t> uint(Node n) const { return number(n, PLIST_UINT); }

  // Indexing a libplist array walks its child list, so it is iterated once into a vector.
  std::vector<Node> indexed(Node array) const {
    std::vector<Node> items;
    items.reserve(plist_array_get_size(array));
    forEach(array, [&](Node n) {
      items.push_back(n);
      return true;
    });
    return items;
  }
  template <typename Visit>
  void forEach(Node array, Visit visit) const {
    plist_array_iter iter = nullptr;
    plist_array_new_iter(array, &iter);
    for (;;) {
      plist_t n = nullptr;
      plist_array_next_item(array, iter, &n);
      if (!n || !visit(n)) break;
    }
    std::free(iter);
  }

 private:
  static std::optional<std::uint64_t> number(Node n, plist_type type) {
    if (!n || plist_get_node_type(n) != type) return std::nullopt;
    std::uint64_t v = 0;
    if (type == PLIST_UID)
      plist_get_uid_val(n, &v);
    else
      plist_get_uint_val(n, &v);
    return v;
  }

  plist_t root_;
};

template <typename Doc>
class ArchiveReader {
  using Node = typename Doc::Node;

 public:
  ArchiveReader(const Doc& doc, std::size_t budget) : doc_(doc), budget_(budget) {}

  // Views of the list's texts, valid while the document is.
  std::optional<TextViews> read() {
    const Node archive = doc_.root();
    if (doc_.string(doc_.item(archive, "$archiver")) != "NSKeyedArchiver") return std::nullopt;
    const Node objects = doc_.item(archive, "$objects");
    if (!doc_.isArray(objects)) return std::nullopt;
    objects_ = doc_.indexed(objects);
    const auto root = uidOf(doc_.item(doc_.item(archive, "$top"), "root"));
    if (!root || *root == 0 || *root >= objects_.size()) return std::nullopt;
    root_ = *root;
    const Node array = objects_[root_];
    if (!hasClass(array, {"NSArray", "NSMutableArray"})) return std::nullopt;
    const Node items = doc_.item(array, "NS.objects");
    if (!doc_.isArray(items) || doc_.count(items) > kMaxItems) return std::nullopt;

    state_.assign(objects_.size(), kUnknown);
    TextViews list;
    list.reserve(std::min(doc_.count(items), budget_ / sizeof(std::string)));
    std::size_t textBytes = 0;
    std::size_t cost = 0;
    bool ok = true;
    doc_.forEach(items, [&](Node item) {
      const auto uid = uidOf(item);
      const auto s = uid ? element(*uid) : std::nullopt;
      ok = s && (textBytes += s->size()) <= kMaxTextBytes && (cost += decodedCost(*s)) <= budget_;
      if (ok) list.push_back(*s);
      return ok;
    });
    if (!ok) return std::nullopt;
    return list;
  }

 private:
  std::optional<std::uint64_t> uidOf(Node n) const {
    if (auto uid = doc_.uid(n)) return uid;
    // XML archives spell a UID as a dictionary holding only "CF$UID".
    if (doc_.isDict(n) && doc_.count(n) == 1) return doc_.uint(doc_.item(n, "CF$UID"));
    return std::nullopt;
  }

  bool hasClass(Node object, std::initializer_list<std::string_view> names) const {
    const auto uid = uidOf(doc_.item(object, "$class"));
    if (!uid || *uid == 0 || *uid >= objects_.size()) return false;
    const auto name = doc_.string(doc_.item(objects_[*uid], "$classname"));
    if (!name) return false;
    for (std::string_view n : names) {
      if (*name == n) return true;
    }
    return false;
  }

  // A list element: a plain string, or a string object in dictionary form. The
  // same object may stand for many elements, so each is resolved only once.
  std::optional<std::string_view> element(std::uint64_t uid) {
    if (uid == 0 || uid == root_ || uid >= objects_.size() || state_[uid] == kBad) return std::nullopt;
    const Node object = objects_[uid];
    auto s = doc_.string(object);
    const bool plain = s.has_value();
    if (state_[uid] == kString) return plain ? s : stringObjects_.at(uid);
    if (!plain && hasClass(object, {"NSString", "NSMutableString"})) s = doc_.string(doc_.item(object, "NS.string"));
    // Reading in place passes through bytes the platform would never have produced.
    const bool good = s && text::isValidUtf8(*s) && std::memchr(s->data(), 0, s->size()) == nullptr;
    state_[uid] = good ? kString : kBad;
    if (!good) return std::nullopt;
    if (!plain) stringObjects_.emplace(uid, *s);
    return s;
  }

  enum : std::uint8_t { kUnknown, kString, kBad };
  const Doc& doc_;
  const std::size_t budget_;
  decltype(std::declval<const Doc&>().indexed(Node{})) objects_;
  std::uint64_t root_ = 0;
  std::vector<std::uint8_t> state_;
  std::unordered_map<std::uint64_t, std::string_view> stringObjects_;
};

}  // namespace

std::size_t maxDecodedListBytes(std::size_t archiveSize) { return 8 * archiveSize + (std::size_t{64} << 10); }

std::size_t decodedListBytes(const std::vector<std::string>& list) {
  std::size_t total = 0;
  for (const auto& s : list) total += decodedCost(s);
  return total;
}

namespace {

std::vector<std::string> copies(const TextViews& views) { return std::vector<std::string>(views.begin(), views.end()); }

// The texts of an archive read through libplist, as views of copies.
std::optional<std::vector<std::string>> readThroughLibplist(std::span<const std::uint8_t> data, std::size_t budget) {
  const auto tree = parsePlist(reinterpret_cast<const char*>(data.data()), data.size());
  if (!tree) return std::nullopt;
  const LibplistDoc doc(tree.get());
  auto views = ArchiveReader<LibplistDoc>(doc, budget).read();
  if (!views) return std::nullopt;
  return copies(*views);
}

bool isBinary(std::span<const std::uint8_t> data) {
  return data.size() >= 6 && std::memcmp(data.data(), "bplist", 6) == 0;
}

// Texts the archive holds as UTF-16 are converted by the view that reads it;
// they are kept here, beside the bytes the other texts are viewed in.
struct KeptTexts {
  std::shared_ptr<const void> source;
  std::deque<std::string> converted;
  TextViews views;
};

}  // namespace

std::optional<std::vector<std::string>> readKeyedStringArray(std::span<const std::uint8_t> data, BinaryReading binary) {
  if (data.size() > kMaxPlistBytes) return std::nullopt;
  const std::size_t budget = maxDecodedListBytes(data.size());
  if (isBinary(data) && binary == BinaryReading::inPlace) {
    const auto view = BinaryPlistView::open(data.data(), data.size());
    if (!view) return std::nullopt;
    auto views = ArchiveReader<BinaryPlistView>(*view, budget).read();
    if (!views) return std::nullopt;
    return copies(*views);
  }
  return readThroughLibplist(data, budget);
}

std::optional<SharedTexts> readKeyedStringViews(const SharedData& data) {
  if (data.bytes.size() > kMaxPlistBytes) return std::nullopt;
  const std::size_t budget = maxDecodedListBytes(data.bytes.size());
  if (!isBinary(data.bytes)) {
    auto list = readThroughLibplist(data.bytes, budget);
    if (!list) return std::nullopt;
    return ListArchiver::viewsOf(std::move(*list));
  }
  const auto view = BinaryPlistView::open(data.bytes.data(), data.bytes.size());
  if (!view) return std::nullopt;
  auto views = ArchiveReader<BinaryPlistView>(*view, budget).read();
  if (!views) return std::nullopt;
  auto kept = std::make_shared<KeptTexts>();
  kept->source = data.keeper;
  const auto* begin = reinterpret_cast<const char*>(data.bytes.data());
  const auto* end = begin + data.bytes.size();
  std::unordered_map<const char*, std::string_view> keptAt;  // a text the archive repeats is kept once
  for (auto& text : *views) {
    if (text.empty() || (text.data() >= begin && text.data() + text.size() <= end)) continue;
    auto [at, isNew] = keptAt.try_emplace(text.data());
    if (isNew) at->second = kept->converted.emplace_back(text);
    text = at->second;
  }
  kept->views = std::move(*views);
  const std::span<const std::string_view> texts(kept->views);
  return SharedTexts{std::move(kept), texts};
}

}  // namespace routelle::hostplist
