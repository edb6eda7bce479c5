#pragma once
// The presenter draws with the application's own objects. Objective-C++ only.
#import <AppKit/AppKit.h>

#include <memory>

#include "platform/Presenter.h"

namespace routelle::macos {

// Controls, status-menu entries and the status button send their actions to
// `actionTarget` under the model's selector texts; every menu shown gets
// `menuDelegate`, which tells the core which menu opens.
std::unique_ptr<Presenter> makePresenter(id actionTarget, id<NSMenuDelegate> menuDelegate);

}  // namespace routelle::macos
