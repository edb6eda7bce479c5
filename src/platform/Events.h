#pragma once
#include <cstdint>
#include <functional>
#include <optional>

namespace routelle {

struct Point {
  double x = 0;
  double y = 0;
};

// Modifier flag bits as the platform reports them.
namespace modifierFlags {
inline constexpr std::uint64_t capsLock = 0x10000;
inline constexpr std::uint64_t shift = 0x20000;
inline constexpr std::uint64_t control = 0x40000;
inline constexpr std::uint64_t option = 0x80000;
inline constexpr std::uint64_t command = 0x100000;
inline constexpr std::uint64_t function = 0x800000;
}  // namespace modifierFlags

// Event kinds by the platform's raw event-type numbers; a mask has bit (1 << type) set per kind.
enum class EventType : unsigned {
  leftMouseDown = 1,
  leftMouseUp = 2,
  rightMouseDown = 3,
  leftMouseDragged = 6,
  keyDown = 10,
  keyUp = 11,
  flagsChanged = 12,
};
using EventMask = std::uint64_t;
constexpr EventMask maskOf(EventType type) { return EventMask{1} << static_cast<unsigned>(type); }

// An event sent to another application, as a global monitor sees it.
struct GlobalEvent {
  EventType type = EventType::leftMouseDown;
  Point location;  // the pointer, screen coordinates
};

// The keyboard and pointer state at this moment, and what happens in other applications.
class Events {
 public:
  using MonitorToken = std::uint64_t;
  using GlobalEventHandler = std::function<void(const std::optional<GlobalEvent>& event)>;

  virtual ~Events() = default;
  virtual std::uint64_t modifierFlags() = 0;
  // Screen coordinates, origin at the lower left.
  virtual Point mouseLocation() = 0;
  // Calls the handler on the main queue for every event of the mask's kinds that is
  // sent to another application. Nothing when the system refuses the monitor.
  virtual std::optional<MonitorToken> addGlobalMonitor(EventMask mask, GlobalEventHandler handler) = 0;
  // The monitor delivers nothing more, not even an event already being handed out.
  virtual void removeMonitor(MonitorToken token) = 0;
};

}  // namespace routelle
