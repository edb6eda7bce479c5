#include "platform/host/PlistParse.h"

#include <plist/plist.h>
#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/host/BinaryPlistView.h"
#include "platform/host/XmlPlistShape.h"
#include "support/Text.h"

namespace routelle::hostplist {

void PlistFree::operator()(void* node) const { plist_free(node); }

namespace {

using Node = BinaryPlistView::Node;

// Bytes of strings and data libplist may copy out of one document.
constexpr std::uint64_t kMaxExpandedBytes = 4 * std::uint64_t{kMaxPlistBytes};

// NUL is a valid character of a string value; libplist cuts the string there
// (and writes it back so), but a key holding one trips an assertion in it.
bool validUtf16(const unsigned char* p, std::uint64_t units, bool allowNul) {
  if (!allowNul)
    for (std::uint64_t i = 0; i < units; ++i)
      if (p[2 * i] == 0 && p[2 * i + 1] == 0) return false;
  return utf8FromBigEndianUtf16(p, units).has_value();
}

// libplist 2.2 copies a shared object once per reference and recurses once per
// level, so a few hundred bytes can describe 2^40 nodes or a stack-deep chain.
// This walks the object graph first, with shared containers counted once, and
// refuses graphs that are cyclic, too deep or too large once expanded.
//
// It also refuses strings libplist would take in unchecked: ASCII strings with
// bytes above 0x7F, UTF-16 with lone surrogates, and keys holding NUL. Its
// writer turns the first two into something else, and a NUL in a key trips an
// assertion in its getter.
class BinaryShape {
 public:
  BinaryShape(const BinaryPlistView& view, std::size_t size)
      : v_(view), maxNodes_(maxExpandedNodes(size)), maxBytes_(maxExpandedBytes(size)) {}

  bool safe() { return v_.objectCount() <= maxNodes_ && walk(); }

 private:
  // A container once visited; nodes == 0 while it is still on the path. Leaves
  // are not remembered: a table for every object would be the largest
  // allocation of a parse, and large allocations make glibc give back the heap
  // that libplist is about to fill again.
  struct Seen {
    std::uint64_t nodes = 0;
    std::uint64_t bytes = 0;
    unsigned height = 0;
  };
  struct Frame {
    Node node;
    std::uint64_t refsAt;
    std::uint64_t refsLeft;
    std::uint64_t keysLeft;  // a dictionary's keys come before its values
    std::uint64_t nodes;
    std::uint64_t bytesAtEntry;
    unsigned height;
  };

  bool add(Frame& parent, std::uint64_t nodes, unsigned height) const {
    parent.nodes += nodes;
    parent.height = std::max(parent.height, height + 1);
    return parent.nodes <= maxNodes_;
  }

  bool leaf(const BinaryPlistView::Header& h, bool isKey) {
    // Only the kinds libplist reads: booleans, integers, reals of 4 or 8 bytes,
    // dates, data, texts and UIDs.
    switch (h.type) {
      case 0x0:
        if (h.count != 0x8 && h.count != 0x9) return false;
        break;
      case 0x2:
        if (h.count != 2 && h.count != 3) return false;
        break;
      case 0x3:
        if (h.count != 3) return false;
        break;
      case 0x6:
        if (h.count == 0) return false;  // libplist fails to convert an empty UTF-16 text
        break;
      case 0x8:
        if (h.count > 3) return false;  // libplist reads UIDs of up to 4 bytes
        break;
      case 0x1:
      case 0x4:
      case 0x5:
        break;
      default:
        return false;
    }
    const unsigned char* p = v_.bytes() + h.payload;
    if (h.type == 0x4) bytes_ += h.count;
    if (h.type == 0x5) bytes_ += h.count;
    if (h.type == 0x6) bytes_ += 3 * h.count;  // as UTF-8
    if (bytes_ > maxBytes_) return false;
    if (h.type == 0x5) {
      return std::all_of(p, p + h.count, [&](unsigned char c) { return (c != 0 || !isKey) && c < 0x80; });
    }
    if (h.type == 0x6) return validUtf16(p, h.count, !isKey);
    return true;
  }

  // A leaf counts at once, a new container gets a frame, a container seen
  // before counts what its first visit found.
  bool visit(Node n, bool isKey) {
    const auto h = v_.header(n);
    if (!h) return false;
    if (isKey && h->type != 0x5 && h->type != 0x6) return false;  // libplist takes only texts as keys
    if (h->type != 0xA && h->type != 0xD) return leaf(*h, isKey) && (stack_.empty() || add(stack_.back(), 1, 1));
    auto [known, isNew] = seen_.try_emplace(n);
    if (!isNew) {
      const Seen s = known->second;
      if (s.nodes == 0) return false;  // a cycle: still on the path
      bytes_ += s.bytes;
      return bytes_ <= maxBytes_ && stack_.size() + s.height <= kMaxPlistDepth && add(stack_.back(), s.nodes, s.height);
    }
    if (stack_.size() >= kMaxPlistDepth) return false;
    const std::uint64_t keys = h->type == 0xD ? h->count : 0;
    stack_.push_back({n, h->payload, keys + h->count, keys, 1, bytes_, 1});
    return true;
  }

  bool walk() {
    if (!visit(v_.root(), false)) return false;
    while (!stack_.empty()) {
      Frame& f = stack_.back();
      if (f.refsLeft > 0) {
        const Node child = v_.ref(f.refsAt);
        f.refsAt += v_.refSize();
        --f.refsLeft;
        const bool isKey = f.keysLeft > 0;
        if (isKey) --f.keysLeft;
        if (!visit(child, isKey)) return false;
        continue;
      }
      const Frame done = f;
      stack_.pop_back();
      seen_[done.node] = {done.nodes, bytes_ - done.bytesAtEntry, done.height};
      if (!stack_.empty() && !add(stack_.back(), done.nodes, done.height)) return false;
    }
    return true;
  }

  const BinaryPlistView& v_;
  const std::uint64_t maxNodes_;
  const std::uint64_t maxBytes_;
  std::uint64_t bytes_ = 0;
  std::vector<Frame> stack_;
  std::unordered_map<Node, Seen> seen_;
};

bool isContainer(plist_t node) {
  const plist_type type = plist_get_node_type(node);
  return type == PLIST_ARRAY || type == PLIST_DICT;
}

// Nothing deeper than the limit, and every string and key UTF-8: libplist's
// XML reader turns character references to surrogates into bytes that are not.
bool readable(plist_t root) {
  struct Level {
    plist_t node;
    void* iter;
  };
  std::vector<Level> path;
  auto enter = [&](plist_t node) {
    if (plist_get_node_type(node) == PLIST_STRING) {
      std::uint64_t length = 0;
      const char* s = plist_get_string_ptr(node, &length);
      return s && text::isValidUtf8(std::string_view(s, length));
    }
    if (!isContainer(node)) return true;
    if (path.size() >= kMaxPlistDepth) return false;
    void* iter = nullptr;
    if (plist_get_node_type(node) == PLIST_ARRAY)
      plist_array_new_iter(node, &iter);
    else
      plist_dict_new_iter(node, &iter);
    path.push_back({node, iter});
    return true;
  };
  bool ok = enter(root);
  while (ok && !path.empty()) {
    const Level level = path.back();
    plist_t child = nullptr;
    char* key = nullptr;  // safe to fetch: the document holds no NUL (checked before parsing)
    if (plist_get_node_type(level.node) == PLIST_ARRAY)
      plist_array_next_item(level.node, level.iter, &child);
    else
      plist_dict_next_item(level.node, level.iter, &key, &child);
    if (child) {
      ok = (!key || text::isValidUtf8(key)) && enter(child);
    } else {
      std::free(level.iter);
      path.pop_back();
    }
    std::free(key);
  }
  for (const Level& level : path) std::free(level.iter);
  return ok;
}

struct XmlJob {
  const char* data;
  std::uint32_t size;
  plist_t root;
};

void* runXmlJob(void* p) {
  auto* job = static_cast<XmlJob*>(p);
  plist_from_xml(job->data, job->size, &job->root);
  if (job->root && !readable(job->root)) {
    plist_free(job->root);
    job->root = nullptr;
  }
  return nullptr;
}

// libplist's XML reader is iterative, but it frees a document (one it gives up
// on, or one found too deep) recursively, about 48 bytes of stack a level.
// Nesting cannot exceed the number of '<', so a document with many of them is
// handled on a thread whose stack fits that depth.
PlistNode parseXml(const char* data, std::size_t size, std::string* refusal) {
  // libplist copies bytes that are not UTF-8 into strings and keys as they are.
  if (!text::isValidUtf8(std::string_view(data, size)) || std::memchr(data, 0, size)) return nullptr;
  // libplist would build every element before the depth check below sees them.
  if (auto why = xmlShapeRefusal(measureXmlShape(std::string_view(data, size)), size, kMaxPlistDepth)) {
    if (refusal) *refusal = std::move(*why);
    return nullptr;
  }
  XmlJob job{data, static_cast<std::uint32_t>(size), nullptr};
  constexpr std::size_t kInlineTags = 2048;
  const auto tags = static_cast<std::size_t>(std::count(data, data + size, '<'));
  if (tags <= kInlineTags) {
    runXmlJob(&job);
    return PlistNode(job.root);
  }
  pthread_attr_t attr;
  if (pthread_attr_init(&attr) != 0) return nullptr;
  pthread_t thread;
  const bool started = pthread_attr_setstacksize(&attr, tags * 128 + (std::size_t{1} << 20)) == 0 &&
                       pthread_create(&thread, &attr, runXmlJob, &job) == 0;
  pthread_attr_destroy(&attr);
  if (!started) return nullptr;
  pthread_join(thread, nullptr);
  return PlistNode(job.root);
}

}  // namespace

std::uint64_t maxExpandedNodes(std::size_t size) {
  return std::min<std::uint64_t>(kMaxPlistNodes, std::uint64_t{size} + 1024);
}

std::uint64_t maxExpandedBytes(std::size_t size) {
  return std::min<std::uint64_t>(kMaxExpandedBytes, 16 * std::uint64_t{size} + (std::uint64_t{4} << 20));
}

std::optional<BinaryPlistView> openBinaryPlist(const unsigned char* data, std::size_t size) {
  if (!data || size > kMaxPlistBytes) return std::nullopt;
  auto view = BinaryPlistView::open(data, size);
  if (!view || !BinaryShape(*view, size).safe()) return std::nullopt;
  return view;
}

bool isBinaryPlist(const void* data, std::size_t size) { return size >= 6 && std::memcmp(data, "bplist", 6) == 0; }

PlistNode parsePlist(const char* data, std::size_t size, std::string* refusal) {
  if (!data || size == 0 || size > kMaxPlistBytes) return nullptr;
  if (isBinaryPlist(data, size)) {
    if (!openBinaryPlist(reinterpret_cast<const unsigned char*>(data), size)) return nullptr;
    plist_t root = nullptr;
    plist_from_bin(data, static_cast<std::uint32_t>(size), &root);
    return PlistNode(root);
  }
  return parseXml(data, size, refusal);
}

}  // namespace routelle::hostplist
