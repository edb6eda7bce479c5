#import <AppKit/AppKit.h>

#include <map>
#include <memory>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

struct KindOnPlatform {
  EventType kind;
  NSEventType type;
  bool pointer;  // a mouse event: its location is where it happened
};

constexpr KindOnPlatform kKinds[] = {
    {EventType::leftMouseDown, NSEventTypeLeftMouseDown, true},
    {EventType::leftMouseUp, NSEventTypeLeftMouseUp, true},
    {EventType::rightMouseDown, NSEventTypeRightMouseDown, true},
    {EventType::leftMouseDragged, NSEventTypeLeftMouseDragged, true},
    {EventType::keyDown, NSEventTypeKeyDown, false},
    {EventType::keyUp, NSEventTypeKeyUp, false},
    {EventType::flagsChanged, NSEventTypeFlagsChanged, false},
};

// Bits of kinds the table does not know are dropped: the system is never asked for
// events the core could not be told about.
NSEventMask platformMask(EventMask mask) {
  NSEventMask out = 0;
  for (const auto& k : kKinds)
    if ((mask & maskOf(k.kind)) != 0) out |= NSEventMaskFromType(k.type);
  return out;
}

const KindOnPlatform* kindOf(NSEventType type) {
  for (const auto& k : kKinds)
    if (k.type == type) return &k;
  return nullptr;
}

// One monitor's handler; touched on the main thread only.
struct MonitorState {
  Events::GlobalEventHandler handler;
  bool removed = false;
};

void deliverOnMainThread(const std::shared_ptr<MonitorState>& state, const std::optional<GlobalEvent>& event) {
  auto call = [state, event] {
    if (state->removed) return;
    // The handler may remove its own monitor, which lets go of the stored handler.
    Events::GlobalEventHandler handler = state->handler;
    handler(event);
  };
  if ([NSThread isMainThread])
    call();
  else
    dispatch_async(dispatch_get_main_queue(), ^{
      call();
    });
}

void handOut(const std::shared_ptr<MonitorState>& state, NSEvent* event) {
  if (!event) {
    deliverOnMainThread(state, std::nullopt);
    return;
  }
  const KindOnPlatform* kind = kindOf(event.type);
  if (!kind) return;
  // Another application's events carry no window of ours: a mouse event's location
  // is on the screen already.
  const NSPoint at = kind->pointer ? event.locationInWindow : NSEvent.mouseLocation;
  deliverOnMainThread(state, GlobalEvent{kind->kind, {at.x, at.y}});
}

class MacEvents final : public Events {
 public:
  MacEvents() = default;
  MacEvents(const MacEvents&) = delete;
  MacEvents& operator=(const MacEvents&) = delete;
  ~MacEvents() override {
    while (!monitors_.empty()) removeMonitor(monitors_.begin()->first);
  }

  std::uint64_t modifierFlags() override { return NSEvent.modifierFlags; }
  Point mouseLocation() override {
    NSPoint p = NSEvent.mouseLocation;
    return {p.x, p.y};
  }

  std::optional<MonitorToken> addGlobalMonitor(EventMask mask, GlobalEventHandler handler) override {
    if (!handler) return std::nullopt;
    auto state = std::make_shared<MonitorState>();
    state->handler = std::move(handler);
    id monitor = [NSEvent addGlobalMonitorForEventsMatchingMask:platformMask(mask)
                                                        handler:^(NSEvent* event) {
                                                          handOut(state, event);
                                                        }];
    if (!monitor) return std::nullopt;
    const MonitorToken token = nextToken_++;
    monitors_[token] = {monitor, state};
    return token;
  }

  void removeMonitor(MonitorToken token) override {
    auto it = monitors_.find(token);
    if (it == monitors_.end()) return;
    // Events already on their way to the main thread find the monitor removed.
    it->second.state->removed = true;
    it->second.state->handler = nullptr;
    [NSEvent removeMonitor:it->second.platform];
    monitors_.erase(it);
  }

 private:
  struct Monitor {
    __strong id platform;
    std::shared_ptr<MonitorState> state;
  };
  std::map<MonitorToken, Monitor> monitors_;
  MonitorToken nextToken_ = 1;
};

}  // namespace

std::unique_ptr<Events> makeEvents() { return std::make_unique<MacEvents>(); }

}  // namespace routelle::macos
