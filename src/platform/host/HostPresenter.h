#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Presenter.h"
#include "platform/host/DialogAnswer.h"
#include "platform/host/HostRunLoop.h"
#include "platform/host/MainThreadCheck.h"
#include "platform/host/Transcript.h"
#include "ui/Actions.h"

namespace routelle {

// Shows menus and windows as transcript lines; the user's pick is the entry or
// button whose title is `choice` (a button's title is its key equivalent).
// Dialogs with an accessory view are answered from `dialogAnswers`. Like the
// platform's, a modal dialog runs the main queue's work while it is shown, and
// an open panel answers once the current event is over. Like AppKit it belongs
// to the main thread (the one that makes it): a call from another thread ends
// the program (see MainThreadCheck).
class HostPresenter final : public Presenter {
 public:
  // `actions`: where the actions of pop-up entries go while a dialog runs.
  HostPresenter(Transcript& transcript, HostRunLoop& mainQueue, ActionTarget& actions)
      : transcript_(transcript), mainQueue_(mainQueue), actions_(actions) {}

  std::optional<MenuItem> popUpMenu(const Menu& menu, Point location) override;
  void showFloatingWindow(const WindowModel& window, Point origin) override;
  void orderOutFloatingWindow() override;
  bool floatingWindowVisible() override;
  void cancelMenuTracking(const Menu&) override;
  void activate(bool) override;
  void showStatusItem(const StatusItemModel& item, const Menu& menu) override;
  void removeStatusItem() override;
  int runModalAlert(AlertModel& alert) override;
  void pressAlertButton(std::size_t index) override;
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
  // What each menu, alert or window shown while `choice` fitted none of it offered.
  std::vector<std::string> choiceMisses;
  // Answers of the dialogs with an accessory, in the order they show; a dialog
  // without one is cancelled.
  std::deque<DialogAnswer> dialogAnswers;
  // Why an answer could not be given (a title the dialog does not offer, a
  // dialog left open); every dialog and open panel after it is cancelled.
  std::optional<std::string> answerProblem;
  // The path an open panel answers with; nothing: the panel is cancelled.
  std::optional<std::string> openPanelAnswer;
  const std::optional<WindowModel>& window() const { return window_; }
  // The status item as last shown; nothing once removed (or never shown).
  const std::optional<StatusItemModel>& statusItem() const { return statusItem_; }
  const std::map<std::string, WindowModel>& windows() const { return windows_; }

 private:
  // One alert being run modally: how many buttons it has, which was pressed.
  struct ModalSession {
    std::size_t buttons = 0;
    std::optional<std::size_t> pressed;
  };
  int answerDialog(AlertModel& alert);
  void applyStep(AlertModel& alert, const DialogAnswer::Step& step);
  // After an edit: the dialog hears of it, and the texts it then shows differently are printed.
  void reportChange(AlertModel& alert);
  // The modal loop: main-queue work due now, one task at a time, until a button is pressed.
  void runModalLoop(const ModalSession& session);
  void refuseAnswer(std::string problem);

  MainThreadCheck onMainThread_;
  Transcript& transcript_;
  HostRunLoop& mainQueue_;
  ActionTarget& actions_;
  std::vector<ModalSession*> sessions_;
  // Open-panel answers waiting for the modal dialog to end.
  std::vector<std::function<void()>> panelsAfterDialog_;
  std::optional<WindowModel> window_;
  bool windowVisible_ = false;
  std::optional<Menu> heldMenu_;
  std::optional<StatusItemModel> statusItem_;
  // The status item's menu, compared only: its pop-ups are named, not printed
  // again entry by entry ("routelle menu" prints it).
  const Menu* statusMenu_ = nullptr;
  std::map<std::string, WindowModel> windows_;
};

}  // namespace routelle
