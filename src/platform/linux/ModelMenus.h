#pragma once
#include <QMenu>
#include <functional>
#include <memory>
#include <vector>

#include "platform/linux/ModelViews.h"
#include "ui/Menu.h"

namespace routelle::linux_desktop {

// Fills a Qt menu from a menu model, submenus and entry views included; picking
// an entry hands a copy of its model to `picked`.
class ModelMenus {
 public:
  using Picked = std::function<void(const MenuItem& item)>;
  explicit ModelMenus(Picked picked) : picked_(std::move(picked)) {}
  void fill(QMenu* target, const Menu& menu);

 private:
  Picked picked_;
  // Views in menus are drawn from copies the menu keeps alive with it.
  std::vector<std::shared_ptr<View>> views_;
  std::vector<std::unique_ptr<ModelViews>> renderers_;
};

}  // namespace routelle::linux_desktop
