#include "exchange/XmlInputScreen.h"

#include <algorithm>

namespace routelle {
namespace {

// The only way a document type declaration can start; with the input taken as
// UTF-8 these bytes cannot be spelt any other way.
constexpr std::string_view kDoctypeOpen = "<!DOCTYPE";

}  // namespace

XmlInputScreen::XmlInputScreen(std::size_t maxBytes, int maxAttributesPerTag)
    : maxBytes_(maxBytes), maxAttributesPerTag_(maxAttributesPerTag) {}

std::size_t XmlInputScreen::pass(std::string_view chunk) {
  if (stop_ != Stop::none) return 0;
  for (std::size_t i = 0; i < chunk.size(); ++i) {
    if (++seen_ > maxBytes_) {
      stop_ = Stop::tooLarge;
      return i;
    }
    const char c = chunk[i];
    if (c == '\n') ++line_;
    // An attribute value cannot hold a '<', so each attribute of a tag is one
    // '=' between the tag's '<' and the next: counting them bounds the
    // attributes whatever the quotes, comments or sections around them.
    if (c == '<') {
      equalsSinceTagOpen_ = 0;
    } else if (c == '=' && ++equalsSinceTagOpen_ > maxAttributesPerTag_) {
      stop_ = Stop::tooManyAttributes;
      return i;
    }
    if (c == kDoctypeOpen[doctypeMatched_]) {
      if (++doctypeMatched_ == kDoctypeOpen.size()) {
        stop_ = Stop::documentType;
        // The part of the declaration in earlier chunks went on, but is
        // too short for the parser to act on.
        return i + 1 - std::min(i + 1, kDoctypeOpen.size());
      }
    } else {
      doctypeMatched_ = c == '<' ? 1 : 0;
    }
  }
  return chunk.size();
}

}  // namespace routelle
