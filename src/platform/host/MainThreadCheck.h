#pragma once
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace routelle {

// The thread an adapter of the main thread's was made on, and the check that a
// call comes from it. Their platform counterparts (AppKit's menus and windows,
// the main run loop's timers) may be used there alone: a call from another
// thread ends the program at once, naming the call, instead of racing quietly
// where only a Mac would show it.
class MainThreadCheck {
 public:
  MainThreadCheck() : owner_(std::this_thread::get_id()) {}

  void operator()(const char* call) const {
    if (std::this_thread::get_id() == owner_) return;
    std::fprintf(stderr, "routelle: %s called off the main thread\n", call);
    std::fflush(stderr);
    std::abort();
  }

 private:
  std::thread::id owner_;
};

}  // namespace routelle
