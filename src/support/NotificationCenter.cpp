#include "support/NotificationCenter.h"

#include <algorithm>

namespace routelle {

int NotificationCenter::addObserver(std::string name, Observer observer) {
  observers_.push_back({nextToken_, std::move(name), std::move(observer)});
  return nextToken_++;
}

void NotificationCenter::removeObserver(int token) {
  std::erase_if(observers_, [token](const Entry& e) { return e.token == token; });
}

void NotificationCenter::post(const std::string& name, const UserInfo& info) {
  // A copy, so that observers may add or remove observers while being called.
  const auto current = observers_;
  for (const auto& entry : current)
    if (entry.name.empty() || entry.name == name) entry.observer(name, info);
}

}  // namespace routelle
