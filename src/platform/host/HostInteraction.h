#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/AppleEvents.h"
#include "platform/Events.h"
#include "platform/Pasteboard.h"
#include "platform/Presenter.h"
#include "platform/host/Transcript.h"

namespace routelle {

// The Apple-event manager of the host world: the driver delivers events to the
// handlers the program registered, and events nobody handles are dropped.
class HostAppleEvents final : public AppleEvents {
 public:
  void setEventHandler(std::uint32_t eventClass, std::uint32_t eventID, Handler handler) override {
    handlers_[{eventClass, eventID}] = std::move(handler);
  }
  bool deliver(std::uint32_t eventClass, std::uint32_t eventID, const std::optional<std::string>& directParameter) {
    auto it = handlers_.find({eventClass, eventID});
    if (it == handlers_.end()) return false;
    it->second(directParameter);
    return true;
  }

 private:
  std::map<std::pair<std::uint32_t, std::uint32_t>, Handler> handlers_;
};

// Keyboard and pointer of the host world, as the driver sets them.
class HostEvents final : public Events {
 public:
  std::uint64_t modifierFlags() override { return flags; }
  Point mouseLocation() override { return pointer; }
  std::uint64_t flags = 0;
  Point pointer{400, 300};
};

class HostPasteboard final : public Pasteboard {
 public:
  std::optional<std::string> string() override { return contents; }
  void setString(const std::string& text) override { contents = text; }
  std::optional<std::string> contents;
};

class HostSystemInfo final : public SystemInfo {
 public:
  bool isAtLeast(int wantedMajor, int wantedMinor) override {
    return major != wantedMajor ? major > wantedMajor : minor >= wantedMinor;
  }
  int major = 10;
  int minor = 15;
};

// Shows menus and windows as transcript lines; the user's pick is the entry or
// button whose title is `choice` (a button's title is its key equivalent).
class HostPresenter final : public Presenter {
 public:
  explicit HostPresenter(Transcript& transcript) : transcript_(transcript) {}

  std::optional<MenuItem> popUpMenu(const Menu& menu, Point location) override;
  void showFloatingWindow(const WindowModel& window, Point origin) override;
  void orderOutFloatingWindow() override;
  bool floatingWindowVisible() override { return windowVisible_; }
  void cancelMenuTracking(const Menu&) override {}
  void activate(bool) override {}
  void showStatusItem(const StatusItemModel& item, const Menu& menu) override;
  void removeStatusItem() override;
  int runModalAlert(const AlertModel& alert) override;
  void beginOpenPanel(const OpenPanelModel& panel, std::function<void(std::optional<std::string>)> done) override;
  void showWindow(const std::string& name, const WindowModel& window) override;
  void orderOutWindow(const std::string& name) override;

  // The button of the shown floating window that `choice` names, taken once.
  std::optional<MenuItem> takeWindowChoice();

  std::optional<std::string> choice;
  // The path an open panel answers with; nothing: the panel is cancelled.
  std::optional<std::string> openPanelAnswer;
  const std::optional<WindowModel>& window() const { return window_; }
  // The status item as last shown; nothing once removed (or never shown).
  const std::optional<StatusItemModel>& statusItem() const { return statusItem_; }
  const std::map<std::string, WindowModel>& windows() const { return windows_; }

 private:
  Transcript& transcript_;
  std::optional<WindowModel> window_;
  bool windowVisible_ = false;
  std::optional<StatusItemModel> statusItem_;
  std::map<std::string, WindowModel> windows_;
};

// Prints a menu as the driver shows one: two blanks per level, "---" for a separator.
void describeMenu(const Menu& menu, int level, const std::function<void(const std::string&)>& line);

}  // namespace routelle
