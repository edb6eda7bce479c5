#import <CoreServices/CoreServices.h>
#import <Foundation/Foundation.h>

#include "platform/macos/MacExtensionContext.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

NSString* urlType() { return (__bridge NSString*)kUTTypeURL; }

// The URL an attachment loaded as, in the shape the core takes it.
using LoadCompletion = void (^)(id<NSSecureCoding> item, NSError* error);

class MacExtensionContext final : public ExtensionContext {
 public:
  explicit MacExtensionContext(NSExtensionContext* context) : context_(context) {}

  std::vector<ExtensionItem> inputItems() override {
    std::vector<ExtensionItem> out;
    for (id item in context_.inputItems) {
      ExtensionItem converted;
      if ([item isKindOfClass:[NSExtensionItem class]])
        for (id provider in ((NSExtensionItem*)item).attachments)
          if ([provider isKindOfClass:[NSItemProvider class]])
            converted.attachments.push_back({static_cast<bool>([provider hasItemConformingToTypeIdentifier:urlType()]),
                                             str([provider description])});
      out.push_back(std::move(converted));
    }
    return out;
  }

  void loadUrl(std::size_t item, std::size_t attachment,
               std::function<void(std::optional<std::string>)> done) override {
    NSItemProvider* provider = providerAt(item, attachment);
    if (!provider) {
      done(std::nullopt);
      return;
    }
    auto completion = std::make_shared<std::function<void(std::optional<std::string>)>>(std::move(done));
    LoadCompletion loaded = ^(id<NSSecureCoding> value, NSError* error) {
      id object = value;
      if (error || ![object isKindOfClass:[NSURL class]]) {
        (*completion)(std::nullopt);
        return;
      }
      (*completion)(str(((NSURL*)object).absoluteString));
    };
    // The same block type in Apple's SDK; the cast only bridges older declarations of it.
    [provider loadItemForTypeIdentifier:urlType()
                                options:nil
                      completionHandler:(NSItemProviderCompletionHandler)loaded];
  }

  void completeRequest() override { [context_ completeRequestReturningItems:nil completionHandler:nil]; }

  void cancelRequest(const ExtensionError& error) override {
    [context_ cancelRequestWithError:[NSError errorWithDomain:ns(error.domain) code:error.code userInfo:nil]];
  }

 private:
  NSItemProvider* providerAt(std::size_t item, std::size_t attachment) {
    NSArray* items = context_.inputItems;
    if (item >= items.count || ![items[item] isKindOfClass:[NSExtensionItem class]]) return nil;
    NSArray* attachments = ((NSExtensionItem*)items[item]).attachments;
    if (attachment >= attachments.count || ![attachments[attachment] isKindOfClass:[NSItemProvider class]]) return nil;
    return attachments[attachment];
  }

  __strong NSExtensionContext* context_;
};

}  // namespace

std::unique_ptr<ExtensionContext> makeExtensionContext(NSExtensionContext* context) {
  return std::make_unique<MacExtensionContext>(context);
}

}  // namespace routelle::macos
