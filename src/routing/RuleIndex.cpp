#include "routing/RuleIndex.h"

#include <array>
#include <bit>
#include <functional>

#include "settings/DomainList.h"
#include "settings/RuleStore.h"
#include "support/Text.h"

namespace routelle {
namespace {

constexpr std::size_t kIndexBatch = 16;

std::size_t keyHash(bool wholeSite, std::string_view key) {
  return std::hash<std::string_view>{}(key) ^ (wholeSite ? 0x9E3779B97F4A7C15ULL : 0);
}

DomainRuleText::Kind kindOf(bool wholeSite, bool hasPath) {
  if (wholeSite) return hasPath ? DomainRuleText::Kind::sitePath : DomainRuleText::Kind::site;
  return hasPath ? DomainRuleText::Kind::hostPath : DomainRuleText::Kind::host;
}

}  // namespace

void DomainRuleIndex::indexIfChanged(const std::shared_ptr<const StoredListView>& domains) {
  // The same owner is the same list: a control block outlives its list while a
  // weak pointer names it, so no later list can have it.
  if (!indexed_.owner_before(domains) && !domains.owner_before(indexed_)) return;
  const DomainList pairs(domains->items);
  std::size_t count = 0;
  std::size_t keyBytes = 0;
  for (const auto& pair : pairs) {
    ++count;
    keyBytes += pair.domain.size();
  }
  keys_.clear();
  keys_.reserve(keyBytes);
  entries_.clear();
  entries_.reserve(count);
  slots_.assign(std::bit_ceil(count * 2 + 2), Slot{0, 0});
  hasSites_ = hasPaths_ = false;
  const std::size_t mask = slots_.size() - 1;
  // Rules are indexed a batch at a time: the slots of the whole batch are asked
  // of memory first, so that their cache misses overlap instead of coming one
  // after the other, which is most of what a large list costs to index.
  struct Pending {
    std::size_t offset;
    StoredRuleKey key;
    std::size_t hash;
    std::size_t position;
  };
  std::array<Pending, kIndexBatch> batch;
  std::size_t batched = 0;
  auto insertBatch = [&] {
    for (std::size_t b = 0; b < batched; ++b) {
      const Pending& rule = batch[b];
      const std::string_view text(keys_.data() + rule.offset, rule.key.length);
      const auto tag = static_cast<std::uint32_t>(rule.hash >> 32);
      std::size_t slot = rule.hash & mask;
      bool taken = false;
      for (; slots_[slot].entry && !taken; slot = (slot + 1) & mask) {
        if (slots_[slot].hash != tag) continue;
        const Entry& other = entries_[slots_[slot].entry - 1];
        // Of two rules with one text the first counts; the later one's key bytes stay unused.
        taken = other.wholeSite == rule.key.wholeSite &&
                std::string_view(keys_.data() + other.keyOffset, other.keyLength) == text;
      }
      if (taken) continue;
      entries_.push_back({static_cast<std::uint32_t>(rule.offset), static_cast<std::uint32_t>(rule.key.length),
                          static_cast<std::uint32_t>(rule.position), static_cast<std::uint32_t>(rule.key.hostLength),
                          rule.key.wholeSite});
      hasSites_ = hasSites_ || rule.key.wholeSite;
      hasPaths_ = hasPaths_ || rule.key.length > rule.key.hostLength;
      slots_[slot] = {tag, static_cast<std::uint32_t>(entries_.size())};
    }
    batched = 0;
  };
  for (const auto& pair : pairs) {
    const std::size_t offset = keys_.size();
    const auto key = appendStoredRuleKey(pair.domain, keys_);
    if (!key) continue;
    const std::size_t hash = keyHash(key->wholeSite, std::string_view(keys_.data() + offset, key->length));
    __builtin_prefetch(&slots_[hash & mask]);
    batch[batched++] = {offset, *key, hash, pair.position};
    if (batched == batch.size()) insertBatch();
  }
  insertBatch();
  indexed_ = domains;
}

const DomainRuleIndex::Entry* DomainRuleIndex::find(bool wholeSite, std::string_view key) const {
  return find(wholeSite, key, keyHash(wholeSite, key));
}

const DomainRuleIndex::Entry* DomainRuleIndex::find(bool wholeSite, std::string_view key, std::size_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  const auto tag = static_cast<std::uint32_t>(hash >> 32);
  for (std::size_t slot = hash & mask; slots_[slot].entry; slot = (slot + 1) & mask) {
    if (slots_[slot].hash != tag) continue;
    const Entry& entry = entries_[slots_[slot].entry - 1];
    if (entry.wholeSite == wholeSite && std::string_view(keys_.data() + entry.keyOffset, entry.keyLength) == key)
      return &entry;
  }
  return nullptr;
}

template <typename Visit>
void DomainRuleIndex::visitMatches(std::string_view host, std::string_view path, Visit visit) {
  if (entries_.empty() || host.empty()) return;
  // host "/" segments: every key probed is a piece of it, so nothing is built per probe.
  probe_.assign(host);
  auto& prefixEnds = prefixEnds_;
  prefixEnds.clear();
  if (hasPaths_) {
    for (std::size_t at = 0; at < path.size();) {
      const std::size_t end = std::min(path.find('/', at), path.size());
      if (end > at) {
        probe_ += '/';
        probe_.append(path.substr(at, end - at));
        prefixEnds.push_back(probe_.size());
      }
      at = end + 1;
    }
  }
  // One host or site: its path rules, longest prefix first, then the rule without a path.
  auto visitName = [&](bool wholeSite, std::size_t start) {
    for (auto end = prefixEnds.rbegin(); end != prefixEnds.rend(); ++end)
      if (const Entry* entry = find(wholeSite, std::string_view(probe_).substr(start, *end - start)))
        if (!visit(*entry)) return false;
    if (const Entry* entry = find(wholeSite, std::string_view(probe_).substr(start, host.size() - start)))
      if (!visit(*entry)) return false;
    return true;
  };
  if (!visitName(false, 0) || !hasSites_) return;
  // "*.example.org" names example.org too: the host itself, then each shorter parent.
  for (std::size_t start = 0; start < host.size();) {
    if (!visitName(true, start)) return;
    const std::size_t dot = host.find('.', start);
    if (dot == std::string_view::npos) return;
    start = dot + 1;
  }
}

std::optional<std::string> DomainRuleIndex::browserFor(const std::shared_ptr<const StoredListView>& domains,
                                                       std::string_view host, std::string_view path) {
  indexIfChanged(domains);
  std::optional<std::string> browser;
  visitMatches(host, path, [&](const Entry& entry) {
    browser = domains->items[entry.position + 1];
    return false;
  });
  return browser;
}

std::optional<std::size_t> DomainRuleIndex::decidingPosition(const std::shared_ptr<const StoredListView>& domains,
                                                             std::string_view host, std::string_view path) {
  indexIfChanged(domains);
  std::optional<std::size_t> position;
  visitMatches(host, path, [&](const Entry& entry) {
    position = entry.position;
    return false;
  });
  return position;
}

std::vector<DomainRuleMatch> DomainRuleIndex::matchesFor(const std::shared_ptr<const StoredListView>& domains,
                                                         std::string_view host, std::string_view path) {
  indexIfChanged(domains);
  std::vector<DomainRuleMatch> matches;
  visitMatches(host, path, [&](const Entry& entry) {
    const bool hasPath = entry.keyLength > entry.hostLength;
    matches.push_back({entry.position, kindOf(entry.wholeSite, hasPath), entry.hostLength,
                       hasPath ? entry.keyLength - entry.hostLength - 1 : 0});
    return true;
  });
  return matches;
}

std::optional<std::string> AppRuleIndex::browserFor(const std::shared_ptr<const StoredListView>& perApp,
                                                    const std::string& application) {
  if (perApp != indexed_) {
    browsers_.clear();
    for (const auto& element : perApp->items) {
      auto parts = text::split(element, kAppRuleSeparator);
      browsers_.try_emplace(parts.back(), parts.front());
    }
    indexed_ = perApp;
  }
  auto hit = browsers_.find(application);
  if (hit == browsers_.end()) return std::nullopt;
  return hit->second;
}

}  // namespace routelle
