#include "platform/macos/ModelImages.h"

#include "platform/macos/Strings.h"

namespace routelle::macos {

NSImage* imageFor(const ImageRef& ref) {
  NSImage* source = nil;
  if (ref.kind == ImageRef::Kind::bundleImage)
    source = [NSImage imageNamed:ns(ref.name)];
  else if (ref.kind == ImageRef::Kind::fileIcon)
    source = [[NSWorkspace sharedWorkspace] iconForFile:ns(ref.name)];
  if (!source || ref.size.width <= 0 || ref.size.height <= 0) return source;
  // Redrawn rather than scaled, so that menus and buttons get a sharp icon of their size.
  const NSSize size = NSMakeSize(ref.size.width, ref.size.height);
  NSImage* resized = [[NSImage alloc] initWithSize:size];
  [resized lockFocus];
  [NSGraphicsContext currentContext].imageInterpolation = NSImageInterpolationHigh;
  [source drawInRect:NSMakeRect(0, 0, size.width, size.height)
            fromRect:NSZeroRect
           operation:NSCompositingOperationCopy
            fraction:1.0];
  [resized unlockFocus];
  // Template images (the status icon) keep following the menu bar's appearance.
  [resized setTemplate:[source isTemplate]];
  return resized;
}

}  // namespace routelle::macos
