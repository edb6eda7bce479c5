#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace routelle {

// A list to which each addition first removes the earliest entry with the same
// key, then appends itself: what adding rules one at a time does to a stored
// list, done for many additions in time linear in the list.
template <typename Entry>
class ReplacingAppend {
 public:
  // Room for this many entries and keys, made once rather than by regrowing.
  void reserve(std::size_t entries) {
    slots_.reserve(entries);
    chains_.reserve(entries);
  }

  // An entry already in the list; without a key it is never replaced.
  void keep(Entry entry, std::optional<std::string> key) { append(std::move(entry), std::move(key)); }

  // Removes the earliest entry whose key is `replaces`, then appends the entry.
  void add(const std::string& replaces, Entry entry, std::optional<std::string> key) {
    if (auto chain = chains_.find(replaces); chain != chains_.end() && chain->second.first != kNone) {
      Slot& replaced = slots_[chain->second.first];
      replaced.live = false;
      chain->second.first = replaced.next;
      if (chain->second.first == kNone) chain->second.last = kNone;
    }
    append(std::move(entry), std::move(key));
  }

  // Hands each entry left to `visit`, in list order; the keys are let go first.
  template <typename Visit>
  void drain(Visit visit) && {
    chains_ = {};
    for (Slot& slot : slots_)
      if (slot.live) visit(std::move(slot.entry));
    slots_ = {};
  }

  // The entries left, in list order.
  std::vector<Entry> take() && {
    std::vector<Entry> out;
    out.reserve(slots_.size());
    std::move(*this).drain([&out](Entry&& entry) { out.push_back(std::move(entry)); });
    return out;
  }

 private:
  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  struct Slot {
    Entry entry;
    bool live = true;
    std::size_t next = kNone;  // the next entry with the same key
  };
  // The entries of one key still in the list, earliest first.
  struct Chain {
    std::size_t first = kNone;
    std::size_t last = kNone;
  };

  void append(Entry entry, std::optional<std::string> key) {
    const std::size_t at = slots_.size();
    slots_.push_back({std::move(entry), true, kNone});
    if (!key) return;
    Chain& chain = chains_[std::move(*key)];
    if (chain.last == kNone)
      chain.first = at;
    else
      slots_[chain.last].next = at;
    chain.last = at;
  }

  std::vector<Slot> slots_;
  std::unordered_map<std::string, Chain> chains_;
};

}  // namespace routelle
