#include "platform/macos/ModelViews.h"

#include "platform/macos/ModelImages.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

void connect(NSControl* control, const View& view, id target, id edits) {
  if (view.action.empty()) {
    if (!edits) return;
    control.target = edits;
    control.action = NSSelectorFromString(@"controlChanged:");
    return;
  }
  control.target = target;
  control.action = NSSelectorFromString(ns(view.action));
}

// The model's font at its size; where the named font is missing, the system font of
// the same size. `standard` when the model names neither.
NSFont* fontFor(const View& view, NSFont* standard) {
  if (view.fontName.empty() && view.fontSize <= 0) return standard;
  const CGFloat size = view.fontSize > 0 ? view.fontSize : standard.pointSize;
  NSFont* named = view.fontName.empty() ? nil : [NSFont fontWithName:ns(view.fontName) size:size];
  return named != nil ? named : [NSFont systemFontOfSize:size];
}

NSTextField* textFieldFor(const View& view, id<NSTextFieldDelegate> edits) {
  NSTextField* field = [[NSTextField alloc] initWithFrame:rectOf(view.frame)];
  field.editable = view.editable;
  if (view.editable && edits) field.delegate = edits;
  field.selectable = view.selectable || !view.links.empty();
  field.bordered = view.bordered;
  field.drawsBackground = view.drawsBackground;
  if (view.maximumNumberOfLines > 0) field.maximumNumberOfLines = view.maximumNumberOfLines;
  NSFont* font = fontFor(view, field.font);
  field.font = font;
  if (view.alignment == "center") field.alignment = NSTextAlignmentCenter;
  if (view.textColor == "white") field.textColor = NSColor.whiteColor;
  if (!view.placeholder.empty()) field.placeholderString = ns(view.placeholder);
  field.allowsEditingTextAttributes = view.allowsEditingTextAttributes;
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

NSButton* buttonFor(const View& view, id target, id edits) {
  NSButton* button = [[NSButton alloc] initWithFrame:rectOf(view.frame)];
  button.title = ns(view.text);
  if (view.buttonType == View::ButtonType::checkbox) {
    // Built by hand: +checkboxWithTitle:target:action: is from macOS 10.12.
    [button setButtonType:NSButtonTypeSwitch];
    button.state = view.checked ? NSControlStateValueOn : NSControlStateValueOff;
  } else {
    button.bordered = view.bordered;
    if (view.bezelStyle > 0) button.bezelStyle = static_cast<NSBezelStyle>(view.bezelStyle);
  }
  if (!view.image.empty()) button.image = imageFor(view.image);
  button.font = fontFor(view, button.font);
  if (view.alignment == "center") button.alignment = NSTextAlignmentCenter;
  if (view.textColor == "white") {
    // A button's title takes a colour only as an attributed title, which then also
    // carries the font and the alignment.
    NSMutableParagraphStyle* paragraph = [NSMutableParagraphStyle new];
    paragraph.alignment = button.alignment;
    button.attributedTitle = [[NSAttributedString alloc] initWithString:ns(view.text)
                                                             attributes:@{
                                                               NSForegroundColorAttributeName : NSColor.whiteColor,
                                                               NSFontAttributeName : button.font,
                                                               NSParagraphStyleAttributeName : paragraph,
                                                             }];
  }
  // The key equivalent carries the choice (a browser name) back to the action.
  button.keyEquivalent = ns(view.keyEquivalent);
  connect(button, view, target, view.buttonType == View::ButtonType::checkbox ? edits : nil);
  return button;
}

NSPopUpButton* popUpButtonFor(const View& view, id target, id edits) {
  NSPopUpButton* popUp = [[NSPopUpButton alloc] initWithFrame:rectOf(view.frame) pullsDown:NO];
  // Entries without an action of their own are choices, never greyed out.
  popUp.autoenablesItems = NO;
  // Entries go into the menu itself: adding them by title would drop all but the
  // last of entries with the same title.
  for (const auto& entry : view.entries) {
    NSMenuItem* item = [[NSMenuItem alloc] initWithTitle:ns(entry.title) action:nil keyEquivalent:@""];
    if (!entry.image.empty()) item.image = imageFor(entry.image);
    if (!entry.action.empty()) {
      item.target = target;
      item.action = NSSelectorFromString(ns(entry.action));
    }
    [popUp.menu addItem:item];
  }
  const bool selects = view.selectedIndex >= 0 && static_cast<std::size_t>(view.selectedIndex) < view.entries.size();
  if (selects)
    [popUp selectItemAtIndex:view.selectedIndex];
  else
    [popUp selectItem:nil];
  connect(popUp, view, target, edits);
  return popUp;
}

NSSlider* sliderFor(const View& view, id target) {
  NSSlider* slider = [[NSSlider alloc] initWithFrame:rectOf(view.frame)];
  slider.minValue = view.minValue;
  slider.maxValue = view.maxValue;
  slider.doubleValue = view.value;
  slider.numberOfTickMarks = view.numberOfTickMarks;
  slider.allowsTickMarkValuesOnly = view.allowsTickMarkValuesOnly;
  if (view.altIncrementValue > 0) slider.altIncrementValue = view.altIncrementValue;
  connect(slider, view, target, nil);
  return slider;
}

}  // namespace

NSRect rectOf(const Rect& r) { return NSMakeRect(r.x, r.y, r.width, r.height); }

NSView* viewFor(const View& view, id target, id<NSTextFieldDelegate> edits) {
  NSView* out = nil;
  switch (view.kind) {
    case View::Kind::textField:
      out = textFieldFor(view, edits);
      break;
    case View::Kind::button:
      out = buttonFor(view, target, edits);
      break;
    case View::Kind::slider:
      out = sliderFor(view, target);
      break;
    case View::Kind::popUpButton:
      out = popUpButtonFor(view, target, edits);
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
  if (!view.identifier.empty()) out.identifier = ns(view.identifier);
  if (view.cornerRadius > 0) {
    out.wantsLayer = YES;
    out.layer.cornerRadius = view.cornerRadius;
  }
  for (const auto& sub : view.subviews) [out addSubview:viewFor(sub, target, edits)];
  return out;
}

void showModelText(NSView* drawn, const View& model) {
  if (!model.identifier.empty() && ![drawn.identifier isEqualToString:ns(model.identifier)]) return;
  // Fields with links keep their attributed text; none of them changes while shown.
  if (model.kind == View::Kind::textField && !model.editable && model.links.empty() &&
      [drawn isKindOfClass:[NSTextField class]])
    ((NSTextField*)drawn).stringValue = ns(model.text);
  NSArray<NSView*>* subviews = drawn.subviews;
  for (std::size_t i = 0; i < model.subviews.size() && i < subviews.count; ++i)
    showModelText(subviews[i], model.subviews[i]);
}

void readUserInput(NSView* drawn, View& model) {
  // A model changed while its views were shown keeps what no longer matches them.
  if (!model.identifier.empty() && ![drawn.identifier isEqualToString:ns(model.identifier)]) return;
  switch (model.kind) {
    case View::Kind::textField:
      if (model.editable && [drawn isKindOfClass:[NSTextField class]])
        model.text = str(((NSTextField*)drawn).stringValue);
      break;
    case View::Kind::popUpButton:
      if ([drawn isKindOfClass:[NSPopUpButton class]])
        model.selectedIndex = static_cast<int>(((NSPopUpButton*)drawn).indexOfSelectedItem);
      break;
    case View::Kind::button:
      if (model.buttonType == View::ButtonType::checkbox && [drawn isKindOfClass:[NSButton class]])
        model.checked = ((NSButton*)drawn).state == NSControlStateValueOn;
      break;
    case View::Kind::container:
    case View::Kind::imageView:
    case View::Kind::slider:
      break;
  }
  // viewFor added the subviews in the model's order.
  NSArray<NSView*>* subviews = drawn.subviews;
  for (std::size_t i = 0; i < model.subviews.size() && i < subviews.count; ++i)
    readUserInput(subviews[i], model.subviews[i]);
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
