#pragma once

namespace routelle {

// What a component that changed stored rules asks of the status menu, so that it
// shows them.
class StatusMenuRefresh {
 public:
  virtual ~StatusMenuRefresh() = default;
  // The front tab, then the rebuild.
  virtual void refreshMenu() = 0;
  // A rebuild 0.1 seconds from now, so that it also runs while a menu is tracked.
  virtual void scheduleMenuRefresh() = 0;
};

}  // namespace routelle
