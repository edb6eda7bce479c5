#pragma once
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "platform/Presenter.h"
#include "platform/linux/ModelMenus.h"
#include "platform/linux/ModelViews.h"
#include "ui/Actions.h"

class QDialog;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QWidget;

namespace routelle {

// Draws the core's models with Qt Widgets: the status item is a tray icon
// (StatusNotifierItem or XEmbed, as the desktop offers) whose click shows the
// status menu; alerts are dialogs with the accessory view drawn by ModelViews.
// Everything here runs on the main thread.
class LinuxPresenter final : public Presenter {
 public:
  LinuxPresenter();
  ~LinuxPresenter() override;
  LinuxPresenter(const LinuxPresenter&) = delete;
  LinuxPresenter& operator=(const LinuxPresenter&) = delete;

  // Where entries, buttons and controls send their actions, and who hears that a
  // menu is about to open.
  void setActionTarget(ActionTarget& target) { actions_ = &target; }
  void setMenuWillOpen(std::function<void(const Menu&)> willOpen) { menuWillOpen_ = std::move(willOpen); }
  // For script commands run from a terminal, where nobody could answer a window:
  // alerts are told on standard error and left unanswered, no button pressed.
  void tellAlertsOnStandardError() { alertsOnStandardError_ = true; }

  std::optional<MenuItem> popUpMenu(const Menu& menu, Point location) override;
  void showFloatingWindow(const WindowModel& window, Point origin) override;
  void orderOutFloatingWindow() override;
  bool floatingWindowVisible() override;
  void cancelMenuTracking(const Menu& menu) override;
  void activate(bool) override {}
  void showStatusItem(const StatusItemModel& item, const Menu& menu) override;
  void removeStatusItem() override;
  int runModalAlert(AlertModel& alert) override;
  void pressAlertButton(std::size_t index) override;
  void beginOpenPanel(const OpenPanelModel& panel, std::function<void(std::optional<std::string>)> done) override;
  void showWindow(const std::string& name, const WindowModel& window) override;
  void orderOutWindow(const std::string& name) override;

  // The status menu at the pointer, as a click on the tray icon shows it.
  void showStatusMenu();

 private:
  struct Shown {
    WindowModel model;
    std::unique_ptr<linux_desktop::ModelViews> views;
    QPointer<QWidget> widget;
  };
  void perform(const MenuItem& sender);
  QWidget* showModel(Shown& shown, const WindowModel& window, bool floating);

  ActionTarget* actions_ = nullptr;
  std::function<void(const Menu&)> menuWillOpen_;
  QSystemTrayIcon* tray_ = nullptr;
  const Menu* statusMenu_ = nullptr;
  QPointer<QMenu> trackedMenu_;
  Shown floating_;
  std::map<std::string, Shown> windows_;
  std::vector<QPointer<QDialog>> alerts_;
  std::vector<QPushButton*> alertButtons_;
  bool alertsOnStandardError_ = false;
};

}  // namespace routelle
