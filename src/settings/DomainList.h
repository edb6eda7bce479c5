#pragma once
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace routelle {

// How every reader takes the stored "domains" list: domain, browser pairs
// after the empty text the program puts first. A list another tool wrote
// without it starts with a domain, which is never empty, so a non-empty first
// element is taken as the first domain. A domain left last without its
// browser is no rule.
// Where the first domain sits: 1 after the leading empty text, else 0.
template <typename Text>
std::size_t firstDomainPosition(std::span<const Text> items) {
  return !items.empty() && !items.front().empty() ? 0 : 1;
}

// Over stored texts (std::string) or views of them (std::string_view).
template <typename Text>
class DomainList {
 public:
  explicit DomainList(std::span<const Text> items) : items_(items) {}

  struct Pair {
    const Text& domain;
    const Text& browser;
    std::size_t position;  // of the domain in the stored list
  };

  class Iterator {
   public:
    Iterator(std::span<const Text> items, std::size_t at) : items_(items), at_(at) {}
    Pair operator*() const { return {items_[at_], items_[at_ + 1], at_}; }
    Iterator& operator++() {
      at_ += 2;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    std::span<const Text> items_;
    std::size_t at_;
  };

  Iterator begin() const { return {items_, firstDomainPosition(items_)}; }
  Iterator end() const {
    const std::size_t first = firstDomainPosition(items_);
    const std::size_t pairs = items_.size() > first ? (items_.size() - first) / 2 : 0;
    return {items_, first + 2 * pairs};
  }

 private:
  std::span<const Text> items_;
};

template <typename Text>
DomainList(const std::vector<Text>&) -> DomainList<Text>;
template <typename Text>
DomainList(std::span<const Text>) -> DomainList<Text>;

}  // namespace routelle
