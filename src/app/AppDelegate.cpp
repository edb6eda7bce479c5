#include "app/AppDelegate.h"

#include <unordered_map>

namespace routelle {

AppDelegate::AppDelegate(AppServices services) : s_(services) {}

void AppDelegate::awakeFromNib() {
  s_.appleEvents.setEventHandler(kInternetEventClass, kGetURLEventID,
                                 [this](const std::optional<std::string>& link) { handleGetURLEvent(link); });
}

bool AppDelegate::perform(const std::string& action, const MenuItem& sender) {
  using Action = void (AppDelegate::*)(const MenuItem&);
  static const std::unordered_map<std::string, Action> actions{
      {"openx:", &AppDelegate::openx},
      {"xNada", &AppDelegate::xNada},
      {"nada", &AppDelegate::nada},
      {"reset", &AppDelegate::nada},
      {"openy:", &AppDelegate::setDefaultChoice},
      {"linkUrl:", &AppDelegate::linkUrl},
      {"exit", &AppDelegate::exit},
      {"printQuote1:", &AppDelegate::printQuote1},
      {"openBack", &AppDelegate::openBack},
      {"only", &AppDelegate::only},
      {"hideAllOnly", &AppDelegate::hideAllOnly},
      {"onlyx", &AppDelegate::onlyx},
      {"showEdit", &AppDelegate::showEdit},
      {"changeHexit", &AppDelegate::changeHexit},
      {"changesUrl", &AppDelegate::changesUrl},
      {"changeIcon", &AppDelegate::changeIcon},
      {"slideMove:", &AppDelegate::slideMove},
      {"expActive", &AppDelegate::expActive},
      {"expiActive", &AppDelegate::expiActive},
      {"changePriority:", &AppDelegate::changePriority},
      {"changeBehavior", &AppDelegate::changeBehavior},
      {"openBrowserExtensionsPageWithSender:", &AppDelegate::openBrowserExtensionsPageWithSender},
      {"hideBrowsersWithSender:", &AppDelegate::hideBrowsersWithSender},
      {"setBrowserDefault", &AppDelegate::setBrowserDefault},
      {"setMailDefault", &AppDelegate::setMailDefault},
      {"checkNow", &AppDelegate::checkNow},
      {"checkWeek", &AppDelegate::checkWeek},
      {"dialogOKCancel2", &AppDelegate::dialogOKCancel2},
      {"cancelBt", &AppDelegate::cancelBt},
      {"saveBte", &AppDelegate::saveBte},
      {"saveBte2", &AppDelegate::saveBte2},
      {"readme", &AppDelegate::readme},
      {"maisApps", &AppDelegate::maisApps},
      {"openNew", &AppDelegate::openNew},
  };
  auto it = actions.find(action);
  if (it == actions.end()) return false;
  (this->*(it->second))(sender);
  return true;
}

}  // namespace routelle
