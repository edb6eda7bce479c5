#include "selection/SearchLink.h"

namespace routelle {

std::string searchLink(std::string_view text) {
  std::string link(kSearchPrefix);
  link.reserve(link.size() + text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        link += "%26";
        break;
      case '#':
        link += "%23";
        break;
      case '+':
        link += "%2B";
        break;
      case '%':
        link += "%25";
        break;
      default:
        link += c;
    }
  }
  return link;
}

}  // namespace routelle
