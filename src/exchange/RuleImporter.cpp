#include "exchange/RuleImporter.h"

#include <exception>
#include <string>
#include <unordered_map>
#include <vector>

namespace routelle {
namespace {

// The accepted elements not stored yet.
class Batch {
 public:
  Batch(RuleStore& rules, ImportReport& report, std::size_t size) : rules_(rules), report_(report), size_(size) {}

  void domain(std::string_view site, std::string_view browser) {
    domains_.push_back({std::string(site), std::string(browser)});
    if (full()) store();
  }
  void app(std::string_view application, std::string_view browser) {
    apps_.push_back({std::string(browser), std::string(application)});
    if (full()) store();
  }

  void store() {
    const std::size_t domains = rules_.addDomainRules(domains_);
    report_.domainRules += domains;
    report_.skipped += domains_.size() - domains;
    report_.appRules += rules_.addAppRules(apps_);
    domains_.clear();
    apps_.clear();
  }

 private:
  bool full() const { return domains_.size() + apps_.size() >= size_; }

  RuleStore& rules_;
  ImportReport& report_;
  const std::size_t size_;
  std::vector<DomainRule> domains_;
  std::vector<AppRule> apps_;
};

// A name holding the separator would be read back split in the wrong place:
// as another application, or another browser, than the file names.
bool holdsSeparator(std::string_view name) { return name.find(kAppRuleSeparator) != std::string_view::npos; }

}  // namespace

ImportReport RuleImporter::importDocument(std::string_view document) {
  ImportReport report;
  Batch batch(rules_, report, batchSize_);
  // A file names few browsers: each is looked up once.
  std::unordered_map<std::string, bool> programItself;
  auto isProgramItself = [&](std::string_view browser) {
    auto [known, added] = programItself.try_emplace(std::string(browser), false);
    if (added) known->second = registry_.isProgramItself(known->first);
    if (known->second) ++report.skipped;
    return known->second;
  };
  const RuleFileHandlers handlers{[&](std::string_view site, std::string_view browser) {
                                    if (!isProgramItself(browser)) batch.domain(site, browser);
                                  },
                                  [&](std::string_view application, std::string_view browser) {
                                    if (holdsSeparator(application) || holdsSeparator(browser))
                                      ++report.skipped;
                                    else if (!isProgramItself(browser))
                                      batch.app(application, browser);
                                  }};
  try {
    report.outcome = readRuleFile(document, handlers);
  } catch (const std::exception& failure) {
    report.outcome = {RuleFileEnd::unreadable, std::string("the import stopped: ") + failure.what()};
  }
  // What was accepted before the end, or before the break.
  batch.store();
  return report;
}

}  // namespace routelle
