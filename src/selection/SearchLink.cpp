#include "selection/SearchLink.h"

namespace routelle {
namespace {

bool keptInQueryValue(unsigned char c) {
  if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
  return std::string_view("-._~/?:@!$'()*,").find(static_cast<char>(c)) != std::string_view::npos;
}

}  // namespace

std::string searchLink(std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string link(kSearchPrefix);
  link.reserve(link.size() + text.size() * 3);
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (keptInQueryValue(byte)) {
      link += c;
    } else {
      link += '%';
      link += kHex[byte >> 4];
      link += kHex[byte & 15];
    }
  }
  return link;
}

}  // namespace routelle
