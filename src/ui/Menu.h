#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ui/ImageRef.h"
#include "ui/View.h"

namespace routelle {

struct Menu;
struct MenuItem;

// Produces a submenu's entries one at a time, when the submenu opens: a list of
// ten thousand rules holds nothing while nobody looks at it, and whoever shows
// it keeps only what it draws.
using MenuEntrySink = std::function<void(MenuItem&&)>;
using MenuEntrySource = std::function<void(const MenuEntrySink&)>;

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
  // A submenu made when it opens, in place of `submenu`.
  MenuEntrySource submenuEntries;
  std::shared_ptr<View> view;

  static MenuItem separatorItem() {
    MenuItem item;
    item.separator = true;
    return item;
  }

  bool hasSubmenu() const { return submenu || submenuEntries; }
  // Each entry of the submenu as it is now, built or made for this call.
  void forEachSubmenuEntry(const std::function<void(const MenuItem&)>& each) const;
  // The submenu as it is now: the built one, or one made for the caller to keep.
  std::shared_ptr<const Menu> openSubmenu() const;
};

struct Menu {
  std::string title;
  std::vector<MenuItem> items;

  // The entry of that exact title, searched depth-first through the submenus
  // that are built (not those made when they open).
  const MenuItem* find(const std::string& title) const;
};

}  // namespace routelle
