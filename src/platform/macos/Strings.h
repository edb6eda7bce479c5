#pragma once
// std::string <-> NSString, the one place the two meet.
#if !__has_feature(objc_arc)
#error "Build with -fobjc-arc"
#endif
#import <Foundation/Foundation.h>

#include <string>

namespace routelle::macos {

inline NSString* ns(const std::string& s) {
  NSString* out = [[NSString alloc] initWithBytes:s.data() length:s.size() encoding:NSUTF8StringEncoding];
  return out != nil ? out : @"";
}

inline std::string str(NSString* s) {
  if (!s) return {};
  const char* utf8 = s.UTF8String;
  return utf8 ? std::string(utf8) : std::string();
}

}  // namespace routelle::macos
