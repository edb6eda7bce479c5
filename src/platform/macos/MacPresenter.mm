#include "platform/macos/MacPresenter.h"

#include <map>
#include <vector>

#include "platform/macos/ModelImages.h"
#include "platform/macos/ModelMenus.h"
#include "platform/macos/ModelViews.h"
#include "platform/macos/Strings.h"

// Records the entry the user picks in a pop-up menu; the core performs its action.
@interface RTLMenuPick : NSObject
@property(nonatomic, strong) NSMenuItem* picked;
- (void)pick:(NSMenuItem*)sender;
@end

@implementation RTLMenuPick
- (void)pick:(NSMenuItem*)sender {
  self.picked = sender;
}
@end

// Hears the user's edits in an alert's accessory, as they happen.
@interface RTLAccessoryEdits : NSObject <NSTextFieldDelegate>
- (instancetype)initWithHandler:(void (^)(void))handler;
- (void)controlChanged:(id)sender;
@end

@implementation RTLAccessoryEdits {
  void (^_handler)(void);
}
- (instancetype)initWithHandler:(void (^)(void))handler {
  if (!(self = [super init])) return nil;
  _handler = handler;
  return self;
}
- (void)controlTextDidChange:(NSNotification*)notification {
  _handler();
}
- (void)controlChanged:(id)sender {
  _handler();
}
@end

namespace routelle::macos {
namespace {

NSAlertStyle alertStyleOf(const std::string& style) {
  if (style == "critical") return NSAlertStyleCritical;
  if (style == "informational") return NSAlertStyleInformational;
  return NSAlertStyleWarning;
}

class MacPresenter final : public Presenter {
 public:
  MacPresenter(id actionTarget, id<NSMenuDelegate> menuDelegate)
      : actionTarget_(actionTarget), menuDelegate_(menuDelegate) {}

  std::optional<MenuItem> popUpMenu(const Menu& model, Point location) override {
    RTLMenuPick* pick = [RTLMenuPick new];
    RTLModelMenu* menu = menuFor(model, { pick, @selector(pick:), actionTarget_, menuDelegate_ });
    popUps_[&model] = menu;
    // Returns once the user has picked an entry or dismissed the menu.
    [menu popUpMenuPositioningItem:nil atLocation:NSMakePoint(location.x, location.y) inView:nil];
    popUps_.erase(&model);
    if (!pick.picked) return std::nullopt;
    return modelEntryOf(pick.picked);
  }

  void cancelMenuTracking(const Menu& model) override {
    if (&model == statusModel_) [statusMenu_ cancelTracking];
    auto popUp = popUps_.find(&model);
    if (popUp != popUps_.end()) [popUp->second cancelTracking];
  }

  void showFloatingWindow(const WindowModel& model, Point origin) override {
    floating_ = windowFor(model, floating_, actionTarget_);
    [floating_ setFrameOrigin:NSMakePoint(origin.x, origin.y)];
    [floating_ makeKeyAndOrderFront:nil];
  }
  void orderOutFloatingWindow() override { [floating_ orderOut:nil]; }
  bool floatingWindowVisible() override { return [floating_ isVisible]; }
  void activate(bool ignoringOtherApps) override { [NSApp activateIgnoringOtherApps:ignoringOtherApps]; }

  void showStatusItem(const StatusItemModel& model, const Menu& menu) override {
    if (!statusItem_) statusItem_ = [[NSStatusBar systemStatusBar] statusItemWithLength:NSVariableStatusItemLength];
    NSStatusBarButton* button = statusItem_.button;
    button.image = imageFor(model.image);
    button.title = ns(model.title);
    button.target = actionTarget_;
    button.action = model.action.empty() ? nullptr : NSSelectorFromString(ns(model.action));
    // One menu object for the whole run: refilled in place, even while it is open.
    if (!statusMenu_) statusMenu_ = [[RTLModelMenu alloc] initWithTitle:@""];
    fillMenu(statusMenu_, menu, {actionTarget_, nullptr, actionTarget_, menuDelegate_});
    statusModel_ = &menu;
    statusItem_.menu = statusMenu_;
  }
  void removeStatusItem() override {
    if (statusItem_) [[NSStatusBar systemStatusBar] removeStatusItem:statusItem_];
    statusItem_ = nil;
  }

  int runModalAlert(AlertModel& model) override {
    NSAlert* alert = [NSAlert new];
    alert.messageText = ns(model.messageText);
    alert.informativeText = ns(model.informativeText);
    alert.alertStyle = alertStyleOf(model.style);
    for (const auto& title : model.buttons) [alert addButtonWithTitle:ns(title)];
    // Pop-up entries with an action of their own send it to the action target while the alert runs.
    __block NSView* accessory = nil;
    // Edits are told on the main thread, inside the modal run, while `model` is alive.
    RTLAccessoryEdits* edits = nil;
    if (model.accessory && model.fieldChanged) {
      AlertModel* shown = &model;
      edits = [[RTLAccessoryEdits alloc] initWithHandler:^{
        if (!accessory || !shown->accessory) return;
        readUserInput(accessory, *shown->accessory);
        shown->fieldChanged(*shown);
        if (shown->accessory) showModelText(accessory, *shown->accessory);
      }];
    }
    if (model.accessory) accessory = viewFor(*model.accessory, actionTarget_, edits);
    if (accessory) alert.accessoryView = accessory;
    runningAlerts_.push_back(alert);
    const NSModalResponse response = [alert runModal];
    runningAlerts_.pop_back();
    // An action sent meanwhile may have taken the accessory away.
    if (accessory && model.accessory) readUserInput(accessory, *model.accessory);
    return static_cast<int>(response - NSAlertFirstButtonReturn);
  }

  void pressAlertButton(std::size_t index) override {
    if (runningAlerts_.empty()) return;
    NSArray<NSButton*>* buttons = runningAlerts_.back().buttons;
    if (index >= buttons.count) return;
    [buttons[index] performClick:nil];
  }

  void beginOpenPanel(const OpenPanelModel& model, std::function<void(std::optional<std::string>)> done) override {
    NSOpenPanel* panel = [NSOpenPanel openPanel];
    panel.allowsMultipleSelection = model.allowsMultipleSelection;
    panel.canChooseDirectories = model.canChooseDirectories;
    panel.canCreateDirectories = model.canCreateDirectories;
    panel.canChooseFiles = model.canChooseFiles;
    if (!model.allowedFileTypes.empty()) {
      NSMutableArray<NSString*>* types = [NSMutableArray array];
      for (const auto& type : model.allowedFileTypes) [types addObject:ns(type)];
      panel.allowedFileTypes = types;
    }
    if (!model.prompt.empty()) panel.prompt = ns(model.prompt);
    if (!model.directory.empty()) panel.directoryURL = [NSURL fileURLWithPath:ns(model.directory)];
    auto completion = std::make_shared<std::function<void(std::optional<std::string>)>>(std::move(done));
    __weak NSOpenPanel* weakPanel = panel;
    [panel beginWithCompletionHandler:^(NSModalResponse result) {
      NSURL* chosen = weakPanel.URL;
      if (result == NSModalResponseOK && chosen)
        (*completion)(str(chosen.path));
      else
        (*completion)(std::nullopt);
    }];
  }

  void showWindow(const std::string& name, const WindowModel& model) override {
    NSWindow* window = windowFor(model, windows_[name], actionTarget_);
    windows_[name] = window;
    [window makeKeyAndOrderFront:nil];
  }
  void orderOutWindow(const std::string& name) override {
    auto it = windows_.find(name);
    if (it != windows_.end()) [it->second orderOut:nil];
  }

 private:
  __strong id actionTarget_;
  __weak id<NSMenuDelegate> menuDelegate_;
  __strong NSStatusItem* statusItem_ = nil;
  __strong RTLModelMenu* statusMenu_ = nil;
  const Menu* statusModel_ = nullptr;
  std::map<const Menu*, __strong RTLModelMenu*> popUps_;  // being tracked now
  __strong NSWindow* floating_ = nil;                     // "newWindow"
  std::map<std::string, __strong NSWindow*> windows_;
  std::vector<__strong NSAlert*> runningAlerts_;  // innermost last
};

}  // namespace

std::unique_ptr<Presenter> makePresenter(id actionTarget, id<NSMenuDelegate> menuDelegate) {
  return std::make_unique<MacPresenter>(actionTarget, menuDelegate);
}

}  // namespace routelle::macos
