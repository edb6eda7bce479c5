// The Mac's reading of the public suffix list, held against libpsl's reading of
// the same file (the host world's answer), so the two cannot drift apart.
#include "support/PublicSuffixList.h"

#include <gtest/gtest.h>
#include <libpsl.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/HostUrlParser.h"
#include "support/Text.h"

namespace routelle {
namespace {

const std::filesystem::path kShippedList = std::filesystem::path(ROUTELLE_SOURCE_DIR) / "data/public_suffix_list.dat";

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

const HostUrlParser urls;
PublicSuffixList::AsciiForm asciiForm() {
  return [](std::string_view name) { return urls.asciiHost(name); };
}

// The names the list's rules are about, in ASCII: each rule's name without "*." or "!".
std::vector<std::string> ruleNames(const std::string& list) {
  std::vector<std::string> names;
  for (auto line : text::split(list, "\n")) {
    line = line.substr(0, line.find_first_of(" \t\r"));
    if (line.empty() || line.starts_with("//")) continue;
    if (line.starts_with('!')) line.erase(0, 1);
    if (line.starts_with("*.")) line.erase(0, 2);
    if (auto ascii = urls.asciiHost(line)) names.push_back(*ascii);
  }
  return names;
}

TEST(PublicSuffixListTest, AnswersAsLibpslDoesForEveryRuleAndHostsAroundThem) {
  const std::string list = contents(kShippedList);
  ASSERT_GT(list.size(), 100000u) << kShippedList;
  const auto ours = PublicSuffixList::parse(list, asciiForm());
  const std::unique_ptr<psl_ctx_t, decltype(&psl_free)> theirs(psl_load_file(kShippedList.c_str()), &psl_free);
  ASSERT_TRUE(theirs);

  // Every rule's name, names under it and its parent; then hosts built at
  // random from the list's labels and a few of no rule.
  std::set<std::string> hosts;
  std::vector<std::string> labels{"www", "example", "x1", "a-b", "xn--bcher-kva"};
  for (const auto& name : ruleNames(list)) {
    for (const char* under : {"", "a.", "www.", "b.a."}) hosts.insert(under + name);
    if (const auto dot = name.find('.'); dot != std::string::npos) hosts.insert(name.substr(dot + 1));
    for (const auto& label : text::split(name, ".")) labels.push_back(label);
  }
  std::mt19937 random(19);
  std::uniform_int_distribution<std::size_t> pickLabel(0, labels.size() - 1), depth(1, 4);
  for (int i = 0; i < 20000; ++i) {
    std::string host = labels[pickLabel(random)];
    for (std::size_t d = depth(random); d > 1; --d) host = labels[pickLabel(random)] + "." + host;
    hosts.insert(host);
  }

  std::size_t suffixes = 0, mismatches = 0;
  for (const auto& host : hosts) {
    const bool expected = psl_is_public_suffix2(theirs.get(), host.c_str(), PSL_TYPE_ANY | PSL_TYPE_NO_STAR_RULE);
    suffixes += expected;
    if (ours.isPublicSuffix(host) != expected && ++mismatches <= 20)
      ADD_FAILURE() << host << ": libpsl says " << (expected ? "public suffix" : "not one");
  }
  EXPECT_EQ(mismatches, 0u) << "of " << hosts.size() << " hosts";
  RecordProperty("hosts", static_cast<int>(hosts.size()));
  RecordProperty("publicSuffixes", static_cast<int>(suffixes));
  // Both answers occur often, or the comparison says little.
  EXPECT_GT(suffixes, 5000u);
  EXPECT_GT(hosts.size() - suffixes, 20000u);
}

TEST(PublicSuffixListTest, ReadsOnlyWhatIsARule) {
  const auto list = PublicSuffixList::parse(
      "// comment.example\n"
      "   com   trailing words\r\n"
      "*.ck\n!www.ck\n"
      "公司.cn\n"
      "*\n!\n*.\na.*.b\n**.c\n\n\t\n"
      "// ===BEGIN PRIVATE DOMAINS===\n"
      "github.io",
      asciiForm());
  const std::vector<std::pair<std::string, bool>> cases{
      {"com", true},     {"example.com", false}, {"trailing", false},
      {"words", false},  {"ck", true},           {"x.ck", true},
      {"www.ck", false}, {"y.x.ck", false},      {"xn--55qx5d.cn", true},
      {"cn", false},     {"github.io", true},    {"comment.example", false},
      {"b", false},      {"c", false},           {"", false},
      {".", false},
  };
  for (const auto& [host, expected] : cases) EXPECT_EQ(list.isPublicSuffix(host), expected) << host;
}

}  // namespace
}  // namespace routelle
