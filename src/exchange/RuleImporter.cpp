#include "exchange/RuleImporter.h"

#include <algorithm>
#include <exception>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace routelle {
namespace {

// A name holding the separator would be read back split in the wrong place:
// as another application, or another browser, than the file names.
bool holdsSeparator(std::string_view name) { return name.find(kAppRuleSeparator) != std::string_view::npos; }

// An estimate from above of the document's domain elements, itself bounded by
// the shortest such element, so that no text can make it reserve much more
// than the rules it holds.
std::size_t domainElementsAtMost(std::string_view document) {
  constexpr std::string_view kOpening = "<domain";
  constexpr std::size_t kShortestElement = sizeof(R"(<domain site="a.b" browser="b"/>)") - 1;
  std::size_t count = 0;
  for (std::size_t at = document.find(kOpening); at != std::string_view::npos; at = document.find(kOpening, at + 1))
    ++count;
  return std::min(count, document.size() / kShortestElement);
}

}  // namespace

ImportReport RuleImporter::importDocument(std::string document) {
  ImportReport report;
  // Every accepted element, stored together at the end: one write of each list.
  std::vector<DomainRule> domains;
  std::vector<AppRule> apps;
  // Room made once: a list of a quarter million rules grown by doubling would
  // briefly be held twice beside the whole document.
  domains.reserve(domainElementsAtMost(document));
  struct ProfileNote {
    bool domainRule;
    std::string first, browser, profile;
  };
  std::vector<ProfileNote> profiles;
  // A file names few browsers: each is looked up once.
  std::unordered_map<std::string, bool> programItself;
  std::string browserName;
  auto isProgramItself = [&](std::string_view browser) {
    browserName.assign(browser);
    auto [known, added] = programItself.try_emplace(browserName, false);
    if (added) known->second = registry_.isProgramItself(known->first);
    if (known->second) ++report.skipped;
    return known->second;
  };
  const RuleFileHandlers handlers{
      [&](std::string_view site, std::string_view browser) {
        if (!isProgramItself(browser)) domains.push_back({std::string(site), std::string(browser)});
      },
      [&](std::string_view application, std::string_view browser) {
        if (holdsSeparator(application) || holdsSeparator(browser))
          ++report.skipped;
        else if (!isProgramItself(browser))
          apps.push_back({std::string(browser), std::string(application)});
      },
      [&](bool domainRule, std::string_view first, std::string_view browser, std::string_view profile) {
        profiles.push_back({domainRule, std::string(first), std::string(browser), std::string(profile)});
      }};
  try {
    report.outcome = readRuleFile(document, handlers);
  } catch (const std::exception& failure) {
    report.outcome = {RuleFileEnd::unreadable, std::string("the import stopped: ") + failure.what()};
  }
  // The rules read are all the merge needs: the text goes before it runs.
  std::string().swap(document);
  // What was accepted before the end, or before the break.
  const std::size_t accepted = domains.size();
  report.domainRules = rules_.addDomainRules(std::move(domains));
  report.skipped += accepted - report.domainRules;
  report.appRules = rules_.addAppRules(apps);
  // Kept beside the rules as they were stored: only while a rule names that browser does its profile apply.
  RuleProfiles stored = rules_.profiles();
  for (const auto& note : profiles) {
    if (note.domainRule) {
      if (auto host = rules_.normaliseDomain(note.first))
        stored.setProfile(RuleProfiles::domainRule(*host), note.browser, note.profile);
    } else if (!holdsSeparator(note.first) && !registry_.isProgramItself(note.browser)) {
      stored.setProfile(RuleProfiles::appRule(note.first), note.browser, note.profile);
    }
  }
  return report;
}

}  // namespace routelle
