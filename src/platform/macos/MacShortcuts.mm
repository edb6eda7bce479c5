#import <AppKit/AppKit.h>
#import <Carbon/Carbon.h>

#include <map>
#include <memory>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

// The system's hot keys take Carbon's modifier bits, not the event flags the core uses.
UInt32 carbonModifiers(std::uint64_t flags) {
  UInt32 out = 0;
  if (flags & modifierFlags::command) out |= cmdKey;
  if (flags & modifierFlags::option) out |= optionKey;
  if (flags & modifierFlags::control) out |= controlKey;
  if (flags & modifierFlags::shift) out |= shiftKey;
  return out;
}

constexpr OSType kSignature = 'RtlH';

// Global shortcuts through the system's hot-key API. A pressed hot key is one
// Carbon event on the application's target; its identifier names the action.
class MacShortcuts final : public Shortcuts {
 public:
  ~MacShortcuts() override {
    unregisterAllShortcuts();
    if (handler_) RemoveEventHandler(handler_);
  }

  void unregisterAllShortcuts() override {
    for (auto& [id, shortcut] : shortcuts_) UnregisterEventHotKey(shortcut.ref);
    shortcuts_.clear();
  }

  void registerShortcut(unsigned keyCode, std::uint64_t flags, std::function<void()> action) override {
    if (!installHandler()) return;
    const UInt32 id = nextId_++;
    EventHotKeyRef ref = nullptr;
    const EventHotKeyID hotKeyID{kSignature, id};
    if (RegisterEventHotKey(keyCode, carbonModifiers(flags), hotKeyID, GetApplicationEventTarget(), 0, &ref) != noErr)
      return;
    shortcuts_[id] = {ref, std::move(action)};
  }

 private:
  struct Shortcut {
    EventHotKeyRef ref;
    std::function<void()> action;
  };

  bool installHandler() {
    if (handler_) return true;
    const EventTypeSpec pressed{kEventClassKeyboard, kEventHotKeyPressed};
    return InstallEventHandler(GetApplicationEventTarget(), &MacShortcuts::hotKeyPressed, 1, &pressed, this,
                               &handler_) == noErr;
  }

  static OSStatus hotKeyPressed(EventHandlerCallRef, EventRef event, void* context) {
    EventHotKeyID hotKeyID{};
    if (GetEventParameter(event, kEventParamDirectObject, typeEventHotKeyID, nullptr, sizeof hotKeyID, nullptr,
                          &hotKeyID) != noErr ||
        hotKeyID.signature != kSignature)
      return eventNotHandledErr;
    auto* self = static_cast<MacShortcuts*>(context);
    auto it = self->shortcuts_.find(hotKeyID.id);
    if (it == self->shortcuts_.end()) return eventNotHandledErr;
    // Run after the event, so that the action may pop up a menu of its own.
    auto action = it->second.action;
    dispatch_async(dispatch_get_main_queue(), ^{
      action();
    });
    return noErr;
  }

  EventHandlerRef handler_ = nullptr;
  UInt32 nextId_ = 1;
  std::map<UInt32, Shortcut> shortcuts_;
};

}  // namespace

std::unique_ptr<Shortcuts> makeShortcuts() { return std::make_unique<MacShortcuts>(); }

}  // namespace routelle::macos
