#pragma once
// Images of the view models. Objective-C++ only.
#import <AppKit/AppKit.h>

#include "ui/ImageRef.h"

namespace routelle::macos {

// The bundle image or file icon, redrawn at the model's size when it has one; nil
// when there is nothing to draw.
NSImage* imageFor(const ImageRef& ref);

}  // namespace routelle::macos
