#import <AppKit/AppKit.h>

#include <map>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

// Records which entry of a tracked menu the user picked.
@interface RTLMenuPick : NSObject
@property(nonatomic) NSInteger picked;
- (void)pick:(NSMenuItem*)sender;
@end

@implementation RTLMenuPick
- (void)pick:(NSMenuItem*)sender {
  self.picked = sender.tag;
}
@end

// Forwards actions of status-menu entries and window controls to the core.
@interface RTLActionTarget : NSObject
@property(nonatomic, copy) void (^perform)(id sender);
- (void)act:(id)sender;
@end

@implementation RTLActionTarget
- (void)act:(id)sender {
  if (self.perform) self.perform(sender);
}
@end

namespace routelle::macos {
namespace {

NSImage* image(const ImageRef& ref) {
  NSImage* out = nil;
  if (ref.kind == ImageRef::Kind::bundleImage)
    out = [NSImage imageNamed:ns(ref.name)];
  else if (ref.kind == ImageRef::Kind::fileIcon)
    out = [[NSWorkspace sharedWorkspace] iconForFile:ns(ref.name)];
  if (!out || ref.size.width <= 0) return out;
  // Redrawn at the requested size with high interpolation.
  NSImage* resized = [[NSImage alloc] initWithSize:NSMakeSize(ref.size.width, ref.size.height)];
  [resized lockFocus];
  [NSGraphicsContext currentContext].imageInterpolation = NSImageInterpolationHigh;
  [out drawInRect:NSMakeRect(0, 0, ref.size.width, ref.size.height)
         fromRect:NSZeroRect
        operation:NSCompositingOperationCopy
         fraction:1.0];
  [resized unlockFocus];
  return resized;
}

NSRect rect(const Rect& r) { return NSMakeRect(r.x, r.y, r.width, r.height); }

NSView* buildView(const View& view, RTLActionTarget* target) {
  NSView* out = nil;
  switch (view.kind) {
    case View::Kind::textField: {
      NSTextField* field = [[NSTextField alloc] initWithFrame:rect(view.frame)];
      field.stringValue = ns(view.text);
      field.editable = view.editable;
      field.bordered = view.bordered;
      field.drawsBackground = view.drawsBackground;
      if (view.maximumNumberOfLines > 0) field.maximumNumberOfLines = view.maximumNumberOfLines;
      if (view.fontSize > 0) field.font = [NSFont systemFontOfSize:view.fontSize];
      if (view.alignment == "center") field.alignment = NSTextAlignmentCenter;
      if (view.textColor == "white") field.textColor = NSColor.whiteColor;
      out = field;
      break;
    }
    case View::Kind::button: {
      NSButton* button = [[NSButton alloc] initWithFrame:rect(view.frame)];
      button.title = ns(view.text);
      button.bordered = view.bordered;
      if (!view.image.empty()) button.image = image(view.image);
      button.keyEquivalent = ns(view.keyEquivalent);
      button.identifier = ns(view.action);
      button.target = target;
      button.action = @selector(act:);
      out = button;
      break;
    }
    case View::Kind::imageView: {
      NSImageView* imageView = [[NSImageView alloc] initWithFrame:rect(view.frame)];
      imageView.image = image(view.image);
      out = imageView;
      break;
    }
    case View::Kind::slider: {
      NSSlider* slider = [[NSSlider alloc] initWithFrame:rect(view.frame)];
      slider.minValue = view.minValue;
      slider.maxValue = view.maxValue;
      slider.doubleValue = view.value;
      slider.identifier = ns(view.action);
      slider.target = target;
      slider.action = @selector(act:);
      out = slider;
      break;
    }
    case View::Kind::container:
      out = [[NSView alloc] initWithFrame:rect(view.frame)];
      break;
  }
  if (view.cornerRadius > 0) {
    out.wantsLayer = YES;
    out.layer.cornerRadius = view.cornerRadius;
  }
  for (const auto& sub : view.subviews) [out addSubview:buildView(sub, target)];
  return out;
}

// Entries carry their position as tag and their selector text as represented object.
NSMenu* buildMenu(const Menu& menu, id target, SEL action, RTLActionTarget* viewTarget) {
  NSMenu* out = [[NSMenu alloc] initWithTitle:ns(menu.title)];
  out.autoenablesItems = NO;
  NSInteger index = 0;
  for (const auto& item : menu.items) {
    NSMenuItem* entry = item.separator ? [NSMenuItem separatorItem] : [[NSMenuItem alloc] init];
    if (!item.separator) {
      entry.title = ns(item.title);
      entry.keyEquivalent = ns(item.keyEquivalent);
      entry.representedObject = ns(item.action);
      entry.enabled = item.enabled;
      if (!item.image.empty()) entry.image = image(item.image);
      if (!item.action.empty()) {
        entry.target = target;
        entry.action = action;
      }
      if (item.view) entry.view = buildView(*item.view, viewTarget);
      if (item.submenu) entry.submenu = buildMenu(*item.submenu, target, action, viewTarget);
    }
    entry.tag = index++;
    [out addItem:entry];
  }
  return out;
}

class MacPresenter final : public Presenter {
 public:
  explicit MacPresenter(std::function<void(const std::string& action, const MenuItem& sender)> perform)
      : perform_(std::move(perform)), target_([RTLActionTarget new]) {
    auto* self = this;
    // The core reads its sender's title, key equivalent or value: pass them on.
    target_.perform = ^(id control) {
      MenuItem sender;
      if ([control isKindOfClass:[NSMenuItem class]]) {
        NSMenuItem* entry = control;
        sender.title = str(entry.title);
        sender.keyEquivalent = str(entry.keyEquivalent);
        sender.action = str(entry.representedObject);
      } else if ([control isKindOfClass:[NSControl class]]) {
        NSControl* view = control;
        sender.action = str(view.identifier);
        if ([control isKindOfClass:[NSButton class]]) {
          sender.title = str(((NSButton*)control).title);
          sender.keyEquivalent = str(((NSButton*)control).keyEquivalent);
        }
        sender.view = std::make_shared<View>();
        if ([control isKindOfClass:[NSSlider class]]) {
          NSSlider* slider = control;
          sender.view->kind = View::Kind::slider;
          sender.view->minValue = slider.minValue;
          sender.view->maxValue = slider.maxValue;
        }
        sender.view->value = view.doubleValue;
      }
      self->perform_(sender.action, sender);
    };
  }

  std::optional<MenuItem> popUpMenu(const Menu& menu, Point location) override {
    RTLMenuPick* pick = [RTLMenuPick new];
    pick.picked = -1;
    NSMenu* shown = buildMenu(menu, pick, @selector(pick:), target_);
    tracked_ = shown;
    [shown popUpMenuPositioningItem:nil atLocation:NSMakePoint(location.x, location.y) inView:nil];
    tracked_ = nil;
    if (pick.picked < 0 || static_cast<size_t>(pick.picked) >= menu.items.size()) return std::nullopt;
    return menu.items[static_cast<size_t>(pick.picked)];
  }

  void showFloatingWindow(const WindowModel& model, Point origin) override {
    floating_ = buildWindow(model, floating_);
    [floating_ setFrameOrigin:NSMakePoint(origin.x, origin.y)];
  }
  void orderOutFloatingWindow() override { [floating_ orderOut:nil]; }
  bool floatingWindowVisible() override { return floating_.visible; }
  void cancelMenuTracking(const Menu&) override { [tracked_ cancelTracking]; }
  void activate(bool ignoring) override { [NSApp activateIgnoringOtherApps:ignoring]; }

  void showStatusItem(const StatusItemModel& model, const Menu& menu) override {
    if (!statusItem_) statusItem_ = [[NSStatusBar systemStatusBar] statusItemWithLength:NSVariableStatusItemLength];
    statusItem_.button.image = image(model.image);
    statusItem_.button.title = ns(model.title);
    statusItem_.menu = buildMenu(menu, target_, @selector(act:), target_);
  }
  void removeStatusItem() override {
    if (statusItem_) [[NSStatusBar systemStatusBar] removeStatusItem:statusItem_];
    statusItem_ = nil;
  }

  int runModalAlert(const AlertModel& model) override {
    NSAlert* alert = [NSAlert new];
    alert.messageText = ns(model.messageText);
    alert.informativeText = ns(model.informativeText);
    alert.alertStyle = model.style == "critical"        ? NSAlertStyleCritical
                       : model.style == "informational" ? NSAlertStyleInformational
                                                        : NSAlertStyleWarning;
    for (const auto& title : model.buttons) [alert addButtonWithTitle:ns(title)];
    if (model.accessory) alert.accessoryView = buildView(*model.accessory, target_);
    return static_cast<int>([alert runModal] - NSAlertFirstButtonReturn);
  }

  void beginOpenPanel(const OpenPanelModel& model, std::function<void(std::optional<std::string>)> done) override {
    NSOpenPanel* panel = [NSOpenPanel openPanel];
    panel.allowsMultipleSelection = model.allowsMultipleSelection;
    panel.canChooseDirectories = model.canChooseDirectories;
    panel.canCreateDirectories = model.canCreateDirectories;
    panel.canChooseFiles = model.canChooseFiles;
    NSMutableArray<NSString*>* types = [NSMutableArray array];
    for (const auto& t : model.allowedFileTypes) [types addObject:ns(t)];
    panel.allowedFileTypes = types;
    panel.directoryURL = [NSURL fileURLWithPath:ns(model.directory)];
    auto completion = std::make_shared<std::function<void(std::optional<std::string>)>>(std::move(done));
    [panel beginWithCompletionHandler:^(NSModalResponse result) {
      if (result == NSModalResponseOK && panel.URL)
        (*completion)(str(panel.URL.path));
      else
        (*completion)(std::nullopt);
    }];
  }

  void showWindow(const std::string& name, const WindowModel& model) override {
    windows_[name] = buildWindow(model, windows_[name]);
  }
  void orderOutWindow(const std::string& name) override { [windows_[name] orderOut:nil]; }

 private:
  // Windows are reused, never released when closed.
  NSWindow* buildWindow(const WindowModel& model, NSWindow* window) {
    if (!window) {
      window = [[NSWindow alloc] initWithContentRect:rect(model.frame)
                                           styleMask:static_cast<NSWindowStyleMask>(model.styleMask)
                                             backing:NSBackingStoreBuffered
                                               defer:NO];
      window.releasedWhenClosed = NO;
    }
    window.styleMask = static_cast<NSWindowStyleMask>(model.styleMask);
    window.title = ns(model.title);
    window.movableByWindowBackground = model.movableByBackground;
    window.titlebarAppearsTransparent = model.titlebarTransparent;
    window.titleVisibility = model.hideTitle ? NSWindowTitleHidden : NSWindowTitleVisible;
    if (model.hideStandardButtons)
      for (NSWindowButton b :
           {NSWindowFullScreenButton, NSWindowMiniaturizeButton, NSWindowCloseButton, NSWindowZoomButton})
        [window standardWindowButton:b].hidden = YES;
    window.opaque = model.opaque;
    if (model.backgroundColor == "black 0.7")
      window.backgroundColor = [NSColor colorWithCalibratedHue:0 saturation:1.0 brightness:0 alpha:0.7];
    for (NSView* sub in [window.contentView.subviews copy]) [sub removeFromSuperview];
    [window.contentView addSubview:buildView(model.content, target_)];
    [window setFrame:[window frameRectForContentRect:rect(model.frame)] display:YES];
    if (model.floating) window.level = NSFloatingWindowLevel;
    [window makeKeyAndOrderFront:nil];
    return window;
  }

  std::function<void(const std::string&, const MenuItem&)> perform_;
  __strong RTLActionTarget* target_;
  __strong NSStatusItem* statusItem_ = nil;
  __strong NSMenu* tracked_ = nil;
  __strong NSWindow* floating_ = nil;
  std::map<std::string, __strong NSWindow*> windows_;
};

}  // namespace

std::unique_ptr<Presenter> makePresenter(std::function<void(const std::string&, const MenuItem&)> perform) {
  return std::make_unique<MacPresenter>(std::move(perform));
}

}  // namespace routelle::macos
