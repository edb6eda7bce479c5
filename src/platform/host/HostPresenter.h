#pragma once
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "platform/Presenter.h"
#include "platform/host/Transcript.h"

namespace routelle {

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
  // A button of the shown floating window by its title or key equivalent, pressed.
  std::optional<MenuItem> pressWindowButton(const std::string& titleOrKey);

  // In a run of several events the user may answer a pop-up with the next event: an
  // unanswered menu is then held, neither answered nor dismissed, until one of these.
  bool holdUnansweredMenus = false;
  // The held menu's entry reached by the titles ("A > B"); nothing (still held) when none is.
  std::optional<MenuItem> answerHeldMenu(const std::string& path);
  void dismissHeldMenu();
  bool holdsMenu() const { return heldMenu_.has_value(); }

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
  std::optional<Menu> heldMenu_;
  std::optional<StatusItemModel> statusItem_;
  std::map<std::string, WindowModel> windows_;
};

}  // namespace routelle
