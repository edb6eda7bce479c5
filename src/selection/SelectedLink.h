#pragma once
#include <string>
#include <string_view>

namespace routelle {

// What a link found in selected text stands for.
struct SelectedLink {
  enum class Kind { web, mail } kind = Kind::web;
  std::string link;

  bool operator==(const SelectedLink&) const = default;
};

// A link that names its scheme ("https:", "ftp:", "mailto:", in any case) is kept as
// written, a mail link going to the mail applications; a bare e-mail address becomes
// a "mailto:" link; anything else is a host and gets "http://" in front.
SelectedLink selectedLink(std::string_view found);

}  // namespace routelle
