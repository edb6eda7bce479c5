#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "settings/DomainRuleText.h"
#include "settings/SettingsStore.h"

namespace routelle {

// One domain rule that matches a link, as the index found it.
struct DomainRuleMatch {
  std::size_t position = 0;  // of the rule's text in the stored list; its browser follows
  DomainRuleText::Kind kind = DomainRuleText::Kind::host;
  std::size_t hostLength = 0;  // of the host or site the rule names
  std::size_t pathLength = 0;  // of its path prefix (segments joined by "/"), 0 for none
};

// The domain rules of one stored "domains" list, by what they name. Rebuilt
// only when the store hands out another decoded list, i.e. when the stored
// value changed; the rebuild makes its few allocations once, sized from the list.
//
// The most specific rule wins: the link's exact host before any site rule, a
// longer site before a shorter one, and for one host or site the longest path
// prefix first, then the rule without a path. A link is looked up per label of
// its host and per segment of its path, never by a walk over the rules.
class DomainRuleIndex {
 public:
  // The browser of the rule that decides for the host (as linkHost reads it)
  // and the path (as the link carries it). Stored texts are compared without
  // regard to case or the root's trailing dot; only domain positions count
  // (DomainList), a domain standing last without its browser is no rule, and
  // of two rules with one text the first counts.
  std::optional<std::string> browserFor(const std::shared_ptr<const StoredListView>& domains, std::string_view host,
                                        std::string_view path = {});
  // Where the deciding rule's text stands in the stored list (its browser follows).
  std::optional<std::size_t> decidingPosition(const std::shared_ptr<const StoredListView>& domains,
                                              std::string_view host, std::string_view path);
  // Every rule that matches, the deciding one first, then in the order they yield to it.
  std::vector<DomainRuleMatch> matchesFor(const std::shared_ptr<const StoredListView>& domains, std::string_view host,
                                          std::string_view path);

 private:
  struct Entry {
    std::uint32_t keyOffset;
    std::uint32_t keyLength;
    std::uint32_t position;
    std::uint32_t hostLength;
    bool wholeSite;
  };
  void indexIfChanged(const std::shared_ptr<const StoredListView>& domains);
  const Entry* find(bool wholeSite, std::string_view key, std::size_t hash) const;
  const Entry* find(bool wholeSite, std::string_view key) const;
  // Calls `visit` with each matching entry, most specific first, until it answers false.
  template <typename Visit>
  void visitMatches(std::string_view host, std::string_view path, Visit visit);

  // Which list the index was built from, without keeping it: a list the store
  // has let go of is freed by the change that replaced it, not by the next link.
  std::weak_ptr<const StoredListView> indexed_;
  std::string keys_;            // every rule's key, one after the other
  std::vector<Entry> entries_;  // in list order
  // Open addressing. A slot keeps part of its key's hash, so that a probe reads
  // an entry, far away in memory, only when the hashes agree.
  struct Slot {
    std::uint32_t hash;
    std::uint32_t entry;  // its number + 1; 0 for an empty slot
  };
  std::vector<Slot> slots_;
  bool hasSites_ = false;
  bool hasPaths_ = false;
  std::string probe_;                    // host "/" path of the link being looked up
  std::vector<std::size_t> prefixEnds_;  // where each of its path prefixes ends, shortest first
};

// The per-application rules of one stored "perApp" list, by application name.
class AppRuleIndex {
 public:
  // The browser of the first rule for the application. An element without the
  // separator is one part: application and browser at once.
  std::optional<std::string> browserFor(const std::shared_ptr<const StoredListView>& perApp,
                                        const std::string& application);

 private:
  std::shared_ptr<const StoredListView> indexed_;
  std::unordered_map<std::string, std::string> browsers_;
};

}  // namespace routelle
