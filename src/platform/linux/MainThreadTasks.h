#pragma once
#include <functional>

namespace routelle::linux_desktop {

// Runs the task on the main thread's event loop once it gets there (after the
// current event); callable from any thread once the application object exists.
void postToMainThread(std::function<void()> task);

}  // namespace routelle::linux_desktop
