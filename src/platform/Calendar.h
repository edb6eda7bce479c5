#pragma once

namespace routelle {

struct CalendarDate {
  int year = 0;
  int month = 0;  // 1 to 12
  int day = 0;    // 1 to 31
};

// The user's calendar.
class Calendar {
 public:
  virtual ~Calendar() = default;
  // Today in the user's calendar and time zone.
  virtual CalendarDate today() = 0;
};

}  // namespace routelle
