#import <Foundation/Foundation.h>

#include "platform/macos/MacPlatform.h"
#include "platform/macos/Strings.h"

namespace routelle::macos {
namespace {

// Today in the user's own calendar and time zone.
class MacCalendar final : public Calendar {
 public:
  CalendarDate today() override {
    NSDateComponents* parts =
        [[NSCalendar currentCalendar] components:NSCalendarUnitYear | NSCalendarUnitMonth | NSCalendarUnitDay
                                        fromDate:[NSDate date]];
    return {static_cast<int>(parts.year), static_cast<int>(parts.month), static_cast<int>(parts.day)};
  }
};

}  // namespace

std::unique_ptr<Calendar> makeCalendar() { return std::make_unique<MacCalendar>(); }

}  // namespace routelle::macos
