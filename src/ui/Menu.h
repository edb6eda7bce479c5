#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/ImageRef.h"
#include "ui/View.h"

namespace routelle {

struct Menu;

// A menu entry as data. Actions read the entry's title or key equivalent, which
// is why the key equivalent may carry a browser name rather than a shortcut.
struct MenuItem {
  std::string title;
  std::string action;  // selector text, e.g. "openx:"; empty for none
  std::string keyEquivalent;
  ImageRef image;
  bool enabled = true;
  bool separator = false;
  std::shared_ptr<Menu> submenu;
  std::shared_ptr<View> view;

  static MenuItem separatorItem() {
    MenuItem item;
    item.separator = true;
    return item;
  }
};

struct Menu {
  std::string title;
  std::vector<MenuItem> items;

  // The entry of that exact title, searched depth-first through submenus.
  const MenuItem* find(const std::string& title) const;
};

}  // namespace routelle
