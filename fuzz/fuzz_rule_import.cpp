// Imports arbitrary bytes as a rule file into a store that already holds rules
// (in memory, so that each input is quick). The import, stored all at once,
// must end exactly as the same elements added one by one through the rule
// store; the stored lists keep their layout; the program itself never becomes
// a rule's browser; and importing the same bytes again changes nothing.
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "exchange/RuleImporter.h"
#include "platform/host/HostListArchiver.h"
#include "platform/host/HostUrlParser.h"
#include "platform/host/MemoryDefaults.h"
#include "settings/Keys.h"

namespace {

using namespace routelle;

// Safari and Firefox, and "Loop": a renamed copy of the program.
class FewApplications final : public Workspace {
 public:
  std::optional<std::string> pathForBundleIdentifier(const std::string&) override { return std::nullopt; }
  std::optional<std::string> fullPathForApplication(const std::string& name) override {
    for (const char* known : {"Safari", "Firefox", "Loop"})
      if (name == known) return "/Applications/" + name + ".app";
    return std::nullopt;
  }
  std::optional<std::string> bundleIdentifier(const std::string& path) override {
    if (path == "/Applications/Loop.app") return std::string(domains::ownBundleIdentifier);
    if (path == "/Applications/Safari.app") return std::string("com.apple.Safari");
    return std::nullopt;
  }
  std::vector<RunningApplication> runningApplications() override { return {}; }
  std::optional<RunningApplication> frontmostApplication() override { return std::nullopt; }
  bool openURL(const std::string&) override { return false; }
  bool fileExists(const std::string&) override { return false; }
  bool activateIgnoringOtherApps(const RunningApplication&) override { return false; }
};

struct Store {
  Store()
      : settings(defaults, nullptr, nullptr, archiver), registry(settings, workspace), rules(settings, registry, urls) {
    settings.setList(keys::domainRules, {"", "kept.example", "Safari", "a.example", "Firefox"});
    settings.setList(keys::appRules, {"", "Safari/*/*/*/*/Mail", "Firefox/*/*/*/*/Notes"});
  }
  std::pair<StoredList, StoredList> lists() const {
    return {settings.getList(keys::domainRules), settings.getList(keys::appRules)};
  }

  MemoryDefaults defaults;
  HostListArchiver archiver;
  HostUrlParser urls;
  FewApplications workspace;
  SettingsStore settings;
  BrowserRegistry registry;
  RuleStore rules;
};

bool same(const std::pair<StoredList, StoredList>& a, const std::pair<StoredList, StoredList>& b) {
  return a.first.state == b.first.state && a.first.items == b.first.items && a.second.state == b.second.state &&
         a.second.items == b.second.items;
}

bool separated(std::string_view name) { return name.find(kAppRuleSeparator) != std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view document(reinterpret_cast<const char*>(data), size);

  Store imported;
  RuleImporter(imported.rules, imported.registry).importDocument(std::string(document));

  Store oneByOne;
  const RuleFileHandlers handlers{
      [&](std::string_view site, std::string_view browser) {
        if (!oneByOne.registry.isProgramItself(std::string(browser))) oneByOne.rules.addDomainRule(site, browser);
      },
      [&](std::string_view app, std::string_view browser) {
        if (!separated(app) && !separated(browser) && !oneByOne.registry.isProgramItself(std::string(browser)))
          oneByOne.rules.addAppRule(app, browser);
      },
      {}};
  readRuleFile(document, handlers);
  const auto stored = imported.lists();
  if (!same(stored, oneByOne.lists())) __builtin_trap();

  const auto& domains = stored.first.items;
  if (domains.empty() || !domains.front().empty() || domains.size() % 2 == 0) __builtin_trap();
  for (std::size_t i = 1; i + 1 < domains.size(); i += 2) {
    if (domains[i].find('.') == std::string::npos) __builtin_trap();
    for (char c : domains[i])
      if (c >= 'A' && c <= 'Z') __builtin_trap();
  }
  for (const auto& rule : imported.rules.domainRules())
    if (imported.registry.isProgramItself(rule.browser)) __builtin_trap();
  for (const auto& rule : imported.rules.appRules())
    if (imported.registry.isProgramItself(rule.browser)) __builtin_trap();

  RuleImporter(imported.rules, imported.registry).importDocument(std::string(document));
  if (!same(stored, imported.lists())) __builtin_trap();
  return 0;
}
