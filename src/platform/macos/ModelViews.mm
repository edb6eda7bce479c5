#include "platform/macos/ModelViews.h"

#include "platform/macos/ModelImages.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

void connect(NSControl* control, const View& view, id target) {
  if (view.action.empty()) return;
  control.target = target;
  control.action = NSSelectorFromString(ns(view.action));
}

NSTextField* textFieldFor(const View& view) {
  NSTextField* field = [[NSTextField alloc] initWithFrame:rectOf(view.frame)];
  field.editable = view.editable;
  field.selectable = view.selectable || !view.links.empty();
  field.bordered = view.bordered;
  field.drawsBackground = view.drawsBackground;
  if (view.maximumNumberOfLines > 0) field.maximumNumberOfLines = view.maximumNumberOfLines;
  NSFont* font = view.fontSize > 0 ? [NSFont systemFontOfSize:view.fontSize] : field.font;
  field.font = font;
  if (view.alignment == "center") field.alignment = NSTextAlignmentCenter;
  if (view.textColor == "white") field.textColor = NSColor.whiteColor;
  if (view.links.empty()) {
    field.stringValue = ns(view.text);
    return field;
  }
  // Links are attributes of the text; the field must allow them to be clicked.
  field.allowsEditingTextAttributes = YES;
  NSString* text = ns(view.text);
  NSMutableAttributedString* styled = [[NSMutableAttributedString alloc] initWithString:text
                                                                             attributes:@{NSFontAttributeName : font}];
  for (const auto& link : view.links) {
    const NSRange range = [text rangeOfString:ns(link.text)];
    NSURL* url = [NSURL URLWithString:ns(link.url)];
    if (range.location != NSNotFound && url) [styled addAttribute:NSLinkAttributeName value:url range:range];
  }
  field.attributedStringValue = styled;
  return field;
}

NSButton* buttonFor(const View& view, id target) {
  NSButton* button = [[NSButton alloc] initWithFrame:rectOf(view.frame)];
  button.title = ns(view.text);
  button.bordered = view.bordered;
  if (view.bezelStyle > 0) button.bezelStyle = static_cast<NSBezelStyle>(view.bezelStyle);
  if (!view.image.empty()) button.image = imageFor(view.image);
  // The key equivalent carries the choice (a browser name) back to the action.
  button.keyEquivalent = ns(view.keyEquivalent);
  connect(button, view, target);
  return button;
}

NSSlider* sliderFor(const View& view, id target) {
  NSSlider* slider = [[NSSlider alloc] initWithFrame:rectOf(view.frame)];
  slider.minValue = view.minValue;
  slider.maxValue = view.maxValue;
  slider.doubleValue = view.value;
  slider.numberOfTickMarks = view.numberOfTickMarks;
  slider.allowsTickMarkValuesOnly = view.allowsTickMarkValuesOnly;
  if (view.altIncrementValue > 0) slider.altIncrementValue = view.altIncrementValue;
  connect(slider, view, target);
  return slider;
}

}  // namespace

NSRect rectOf(const Rect& r) { return NSMakeRect(r.x, r.y, r.width, r.height); }

NSView* viewFor(const View& view, id target) {
  NSView* out = nil;
  switch (view.kind) {
    case View::Kind::textField:
      out = textFieldFor(view);
      break;
    case View::Kind::button:
      out = buttonFor(view, target);
      break;
    case View::Kind::slider:
      out = sliderFor(view, target);
      break;
    case View::Kind::imageView: {
      NSImageView* imageView = [[NSImageView alloc] initWithFrame:rectOf(view.frame)];
      imageView.image = imageFor(view.image);
      out = imageView;
      break;
    }
    case View::Kind::container:
      out = [[NSView alloc] initWithFrame:rectOf(view.frame)];
      break;
  }
  if (view.cornerRadius > 0) {
    out.wantsLayer = YES;
    out.layer.cornerRadius = view.cornerRadius;
  }
  for (const auto& sub : view.subviews) [out addSubview:viewFor(sub, target)];
  return out;
}

NSWindow* windowFor(const WindowModel& model, NSWindow* reuse, id target) {
  const auto style = static_cast<NSWindowStyleMask>(model.styleMask);
  NSWindow* window = reuse;
  if (!window) {
    window = [[NSWindow alloc] initWithContentRect:rectOf(model.frame)
                                         styleMask:style
                                           backing:NSBackingStoreBuffered
                                             defer:NO];
    window.releasedWhenClosed = NO;
  }
  window.styleMask = style;
  window.title = ns(model.title);
  window.movableByWindowBackground = model.movableByBackground;
  window.titlebarAppearsTransparent = model.titlebarTransparent;
  window.titleVisibility = model.hideTitle ? NSWindowTitleHidden : NSWindowTitleVisible;
  for (NSWindowButton kind : {NSWindowCloseButton, NSWindowMiniaturizeButton, NSWindowZoomButton})
    [window standardWindowButton:kind].hidden = model.hideStandardButtons;
  window.opaque = model.opaque;
  if (model.backgroundColor == "black 0.7")
    window.backgroundColor = [NSColor colorWithCalibratedHue:0 saturation:1.0 brightness:0 alpha:0.7];
  window.level = model.floating ? NSFloatingWindowLevel : NSNormalWindowLevel;
  window.contentView = viewFor(model.content, target);
  [window setFrame:[window frameRectForContentRect:rectOf(model.frame)] display:YES];
  return window;
}

}  // namespace routelle::macos
