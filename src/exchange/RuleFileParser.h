#pragma once
#include <memory>
#include <string_view>

#include "exchange/RuleFileReader.h"

namespace routelle {

// One rule file read incrementally: bytes go in as they arrive, rules come out
// through the handlers as soon as their element has been parsed.
class RuleFileParser {
 public:
  explicit RuleFileParser(RuleFileHandlers handlers);
  ~RuleFileParser();
  RuleFileParser(const RuleFileParser&) = delete;
  RuleFileParser& operator=(const RuleFileParser&) = delete;

  // False once the reading has ended early; further bytes are then ignored.
  // An exception from a handler ends the reading and is passed on.
  bool feed(std::string_view bytes);
  // Ends the document and says how it ended.
  RuleFileOutcome finish();

  // How a document over the size limit ends.
  static RuleFileOutcome tooLarge();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace routelle
