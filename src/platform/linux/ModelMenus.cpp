#include "platform/linux/ModelMenus.h"

#include <QWidgetAction>

#include "platform/linux/ModelImages.h"
#include "platform/linux/ShownNames.h"
#include "ui/Actions.h"

namespace routelle::linux_desktop {
namespace {

// "&" marks a mnemonic in Qt's titles: shown as itself here. An application is
// shown by its entry's name.
QString titleOf(const MenuItem& item) {
  const std::string shown = item.action == selectorOf(Action::toggleHiddenBrowser) ? shownApplicationTitle(item.title)
                                                                                   : shownTitle(item.title, item.image);
  return QString::fromStdString(shown).replace("&", "&&");
}

}  // namespace

void ModelMenus::fill(QMenu* target, const Menu& menu) {
  for (const auto& item : menu.items) {
    if (item.separator) {
      target->addSeparator();
      continue;
    }
    if (item.submenu) {
      QMenu* sub = target->addMenu(iconOf(item.image), titleOf(item));
      sub->setEnabled(item.enabled);
      fill(sub, *item.submenu);
      continue;
    }
    if (item.submenuEntries) {
      // Long rule lists are made only when their submenu opens, and anew each time.
      QMenu* sub = target->addMenu(iconOf(item.image), titleOf(item));
      sub->setEnabled(item.enabled);
      QObject::connect(sub, &QMenu::aboutToShow, sub, [this, sub, item] {
        sub->clear();
        fill(sub, *item.openSubmenu());
      });
      continue;
    }
    if (item.view) {
      auto view = std::make_shared<View>(*item.view);
      views_.push_back(view);
      auto renderer = std::make_unique<ModelViews>(
          [this, item](const View& control) {
            MenuItem sender = item;
            sender.view = std::make_shared<View>(control);
            picked_(sender);
          },
          [this](const PopUpEntry& entry) {
            MenuItem sender;
            sender.title = entry.title;
            sender.action = entry.action;
            picked_(sender);
          });
      auto* action = new QWidgetAction(target);
      action->setDefaultWidget(renderer->build(*view, nullptr));
      renderers_.push_back(std::move(renderer));
      target->addAction(action);
      continue;
    }
    QAction* action = target->addAction(iconOf(item.image), titleOf(item));
    action->setEnabled(item.enabled && !item.action.empty());
    QObject::connect(action, &QAction::triggered, [this, item] { picked_(item); });
  }
}

}  // namespace routelle::linux_desktop
