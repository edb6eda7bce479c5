#pragma once
#include <cstddef>
#include <string>

#include "exchange/RuleFileReader.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"

namespace routelle {

struct ImportReport {
  RuleFileOutcome outcome;
  std::size_t domainRules = 0;  // elements stored
  std::size_t appRules = 0;
  std::size_t skipped = 0;  // elements that store nothing (see RuleImporter)
};

// Merges a rule file into the stored rules, each rule as the rule store adds
// one. Rules naming the program itself as the browser are skipped (a link sent
// there would come straight back), and so are per-application rules whose
// names hold the separator "/*/*/*/*/" (stored, they would read back as
// another rule, and the next import could not replace them).
//
// Accepted elements are stored together once the reading ends, in the file's
// order: whatever was accepted before the document ends or breaks off (or the
// reading fails) is stored before this returns. That is one write of each list,
// replacing the stored file whole, so an interrupted import leaves the rules as
// they were before it, never damaged.
class RuleImporter {
 public:
  RuleImporter(RuleStore& rules, const BrowserRegistry& registry) : rules_(rules), registry_(registry) {}

  // Takes the document, and lets it go once it is read.
  ImportReport importDocument(std::string document);

 private:
  RuleStore& rules_;
  const BrowserRegistry& registry_;
};

}  // namespace routelle
