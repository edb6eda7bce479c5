#pragma once
// The Share extension's request. Objective-C++ only.
#import <Foundation/Foundation.h>

#include <memory>

#include "platform/ExtensionContext.h"

namespace routelle::macos {

std::unique_ptr<ExtensionContext> makeExtensionContext(NSExtensionContext* context);

}  // namespace routelle::macos
