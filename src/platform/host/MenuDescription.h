#pragma once
#include <functional>
#include <string>
#include <vector>

#include "ui/Menu.h"

namespace routelle {

// A menu as readable lines: two blanks per level, "---" for a separator, and
// after a tab the action, [key equivalent], (disabled) and <image ...>.
void describeMenu(const Menu& menu, int level, const std::function<void(const std::string&)>& line);
// One entry and whatever its submenu holds.
void describeEntry(const MenuItem& item, int level, const std::function<void(const std::string&)>& line);

// One line of a described menu, with the titles of the entries it is under
// ("Preferences... > Rules"; empty at the top level) and its own path (the
// `under` of the entries of its submenu).
struct MenuLine {
  std::string text;
  std::string under;
  std::string path;
  bool operator==(const MenuLine&) const = default;
};
std::vector<MenuLine> menuLines(const Menu& menu);

// What changed between two descriptions of a menu, so that a reader sees what an
// action did without reading the whole menu: "menu unchanged", or groups of
// removed ("-") and added ("+") lines, each headed by where it is.
std::vector<std::string> describeMenuChanges(const std::vector<MenuLine>& before, const std::vector<MenuLine>& after);

// A number as the driver prints it ("20", "0.5").
std::string describeNumber(double v);

}  // namespace routelle
