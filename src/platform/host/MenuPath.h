#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Menu.h"

namespace routelle {

// The entry a path of titles ("A > B") reaches, as the user's pointer reaches
// into submenus, or why none is reached (a usage error's text: what the level
// offers, or which entries a loose title could mean).
struct MenuPathMatch {
  const MenuItem* item = nullptr;
  std::string problem;
  // The submenus made on the way, which `item` may point into.
  std::vector<std::shared_ptr<const Menu>> opened;
};

struct MenuPathRules {
  // An entry without a title (the icon-size slider) goes by its action.
  bool untitledByAction = false;
  // The path must end at an entry without a submenu.
  bool leafOnly = false;
};

// A title matches exactly, or else once both sides are bare (see bareMenuTitle);
// an exact match wins over a loose one, and two loose matches are ambiguous.
MenuPathMatch findMenuEntry(const Menu& menu, std::string_view path, MenuPathRules rules);

// A title without its state mark (a leading "✓" or the blanks that stand for
// "off", a trailing "✓" of a selected entry) and the blanks around it.
std::string bareMenuTitle(std::string_view title);

}  // namespace routelle
