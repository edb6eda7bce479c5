#include "exchange/RuleFileReader.h"

#include "exchange/RuleFileParser.h"

namespace routelle {

RuleFileOutcome readRuleFile(std::string_view document, const RuleFileHandlers& handlers) {
  // Refused whole, as a file of that size is, rather than read up to the limit.
  if (document.size() > kRuleFileMaxBytes) return RuleFileParser::tooLarge();
  RuleFileParser parser(handlers);
  parser.feed(document);
  return parser.finish();
}

}  // namespace routelle
