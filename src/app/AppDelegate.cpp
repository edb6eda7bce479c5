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
      {"xNada:", &AppDelegate::xNada},
      {"nada", &AppDelegate::nada},
      {"nada:", &AppDelegate::nada},
      {"openy:", &AppDelegate::setDefaultChoice},
      {"linkUrl:", &AppDelegate::linkUrl},
  };
  auto it = actions.find(action);
  if (it == actions.end()) return false;
  (this->*(it->second))(sender);
  return true;
}

}  // namespace routelle
