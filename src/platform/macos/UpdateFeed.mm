#include "platform/macos/UpdateFeed.h"

#include "platform/macos/Strings.h"

// Collects the items of a feed and keeps the newest.
@interface RTLFeedReader : NSObject <NSXMLParserDelegate>
- (const std::optional<routelle::macos::FeedUpdate>&)newest;
@end

@implementation RTLFeedReader {
  std::optional<routelle::macos::FeedUpdate> _newest;
  std::optional<routelle::macos::FeedUpdate> _item;
  NSMutableString* _text;
}

- (const std::optional<routelle::macos::FeedUpdate>&)newest {
  return _newest;
}

- (void)parser:(NSXMLParser*)parser
    didStartElement:(NSString*)name
       namespaceURI:(NSString*)namespaceURI
      qualifiedName:(NSString*)qualifiedName
         attributes:(NSDictionary<NSString*, NSString*>*)attributes {
  _text = [NSMutableString string];
  if ([name isEqualToString:@"item"]) _item.emplace();
  if (!_item || ![name isEqualToString:@"enclosure"]) return;
  if (NSString* url = attributes[@"url"]) _item->url = routelle::macos::str(url);
  if (NSString* version = attributes[@"sparkle:version"]) _item->version = routelle::macos::str(version);
  if (NSString* shown = attributes[@"sparkle:shortVersionString"]) _item->displayVersion = routelle::macos::str(shown);
}

- (void)parser:(NSXMLParser*)parser foundCharacters:(NSString*)characters {
  [_text appendString:characters];
}

- (void)parser:(NSXMLParser*)parser
    didEndElement:(NSString*)name
     namespaceURI:(NSString*)namespaceURI
    qualifiedName:(NSString*)qualifiedName {
  if (!_item) return;
  const std::string text =
      routelle::macos::str([_text stringByTrimmingCharactersInSet:NSCharacterSet.whitespaceAndNewlineCharacterSet]);
  if ([name isEqualToString:@"sparkle:version"])
    _item->version = text;
  else if ([name isEqualToString:@"sparkle:shortVersionString"])
    _item->displayVersion = text;
  else if ([name isEqualToString:@"link"] && _item->url.empty())
    _item->url = text;
  else if ([name isEqualToString:@"item"])
    [self finishItem];
}

- (void)finishItem {
  auto item = std::move(*_item);
  _item.reset();
  if (item.version.empty()) return;
  if (item.displayVersion.empty()) item.displayVersion = item.version;
  if (!_newest || routelle::macos::isNewerVersion(item.version, _newest->version)) _newest = std::move(item);
}

@end

namespace routelle::macos {

std::optional<FeedUpdate> newestUpdate(NSData* feed) {
  if (!feed) return std::nullopt;
  NSXMLParser* parser = [[NSXMLParser alloc] initWithData:feed];
  parser.shouldResolveExternalEntities = NO;
  RTLFeedReader* reader = [RTLFeedReader new];
  parser.delegate = reader;
  if (![parser parse]) return std::nullopt;
  return [reader newest];
}

bool isNewerVersion(const std::string& candidate, const std::string& current) {
  return [ns(candidate) compare:ns(current) options:NSNumericSearch] == NSOrderedDescending;
}

}  // namespace routelle::macos
