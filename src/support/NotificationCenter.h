#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace routelle {

using UserInfo = std::map<std::string, std::string>;

// The workspace's notification centre as the program uses it: named
// notifications with an optional text user info, delivered synchronously.
class NotificationCenter {
 public:
  using Observer = std::function<void(const std::string& name, const UserInfo& info)>;

  // An empty name observes every notification.
  int addObserver(std::string name, Observer observer);
  void removeObserver(int token);
  void post(const std::string& name, const UserInfo& info = {});

 private:
  struct Entry {
    int token;
    std::string name;
    Observer observer;
  };
  std::vector<Entry> observers_;
  int nextToken_ = 1;
};

}  // namespace routelle
