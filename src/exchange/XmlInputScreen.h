#pragma once
#include <cstddef>
#include <string_view>

namespace routelle {

// Looks at a UTF-8 XML document's bytes before the parser does, and stops the
// input where it holds what the parser would take too long over or should
// never see. Works on a stream: chunks may split the document anywhere.
class XmlInputScreen {
 public:
  enum class Stop { none, tooLarge, tooManyAttributes, documentType };

  XmlInputScreen(std::size_t maxBytes, int maxAttributesPerTag);

  // How many leading bytes of the chunk may go to the parser; fewer than all
  // once the screen has stopped, and none after that.
  std::size_t pass(std::string_view chunk);

  Stop stop() const { return stop_; }
  long line() const { return line_; }  // where the screen stopped or has got to

 private:
  std::size_t maxBytes_;
  int maxAttributesPerTag_;
  std::size_t seen_ = 0;
  int equalsSinceTagOpen_ = 0;
  std::size_t doctypeMatched_ = 0;
  long line_ = 1;
  Stop stop_ = Stop::none;
};

}  // namespace routelle
