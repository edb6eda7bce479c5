#pragma once
#include <functional>
#include <string>

#include "ui/Menu.h"

namespace routelle {

// A menu as readable lines: two blanks per level, "---" for a separator, and
// after a tab the action, [key equivalent], (disabled) and <image ...>.
void describeMenu(const Menu& menu, int level, const std::function<void(const std::string&)>& line);
// One entry and whatever its submenu holds.
void describeEntry(const MenuItem& item, int level, const std::function<void(const std::string&)>& line);

// A number as the driver prints it ("20", "0.5").
std::string describeNumber(double v);

}  // namespace routelle
