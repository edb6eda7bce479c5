// The Share extension's view controller, loaded from ShareViewController.xib: the
// platform's side of the core's ShareController.
#if !__has_feature(objc_arc)
#error "Build with -fobjc-arc"
#endif
#import <AppKit/AppKit.h>

#include <cstdio>
#include <memory>

#include "platform/macos/MacExtensionContext.h"
#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"
#include "share/ShareController.h"

@interface ShareViewController : NSViewController
@property(weak) IBOutlet NSTextField* titleText;
@property(weak) IBOutlet NSTextField* urlTextField;
- (void)closeShareWindow;
- (IBAction)cancel:(id)sender;
@end

@implementation ShareViewController {
  std::shared_ptr<routelle::ShareController> _controller;
}

- (NSString*)nibName {
  return @"ShareViewController";
}

- (void)loadView {
  [super loadView];
  using namespace routelle;
  ShareServices services{.context = macos::makeExtensionContext(self.extensionContext),
                         .workspace = macos::makeWorkspace(),
                         .runLoop = macos::makeMainRunLoop(),
                         .urls = macos::makeUrlParser()};
  _controller = ShareController::create(std::move(services));
  _controller->setTraceSink([](std::string_view line) {
    std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
    std::fflush(stdout);
  });
  // Loads finish on the platform's threads; the sheet changes on the main thread.
  __weak ShareViewController* weakSelf = self;
  _controller->setSheetObserver([weakSelf](const ShareSheet& sheet) {
    NSString* title = macos::ns(sheet.title);
    NSString* url = macos::ns(sheet.url);
    dispatch_block_t show = ^{
      ShareViewController* strongSelf = weakSelf;
      strongSelf.titleText.stringValue = title;
      strongSelf.urlTextField.stringValue = url;
    };
    if ([NSThread isMainThread])
      show();
    else
      dispatch_async(dispatch_get_main_queue(), show);
  });
  _controller->loadView();
}

- (void)closeShareWindow {
  if (_controller) _controller->closeShareWindow();
}

- (IBAction)cancel:(id)sender {
  if (_controller) _controller->cancel();
}

@end
