#include <gtest/gtest.h>

#include "settings/DomainList.h"

namespace routelle {
namespace {

using Items = std::vector<std::string>;
using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs read(const Items& items) {
  Pairs out;
  for (const auto& pair : DomainList(items)) {
    EXPECT_EQ(items[pair.position], pair.domain);
    out.emplace_back(pair.domain, pair.browser);
  }
  return out;
}

TEST(DomainList, PairsFollowTheLeadingEmptyTextWhenThereIsOne) {
  const std::pair<Items, Pairs> cases[] = {
      {{}, {}},
      {{""}, {}},
      {{"", "a.com", "Safari"}, {{"a.com", "Safari"}}},
      {{"", "a.com", "Safari", "b.com", "Firefox"}, {{"a.com", "Safari"}, {"b.com", "Firefox"}}},
      // Written elsewhere without it: pairs from the start, never a browser as a domain.
      {{"a.com", "Safari"}, {{"a.com", "Safari"}}},
      {{"a.com", "Safari", "b.com", "Firefox"}, {{"a.com", "Safari"}, {"b.com", "Firefox"}}},
      // A domain left last without its browser is no rule.
      {{"", "a.com", "Safari", "b.com"}, {{"a.com", "Safari"}}},
      {{"a.com", "Safari", "b.com"}, {{"a.com", "Safari"}}},
      {{"a.com"}, {}},
      {{"", "a.com"}, {}},
  };
  for (const auto& [items, pairs] : cases) {
    EXPECT_EQ(read(items), pairs) << ::testing::PrintToString(items);
  }
}

}  // namespace
}  // namespace routelle
