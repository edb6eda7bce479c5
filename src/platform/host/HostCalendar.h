#pragma once
#include <filesystem>
#include <optional>
#include <string_view>

#include "platform/Calendar.h"
#include "platform/host/World.h"

namespace routelle {

// The host's own date in its local time zone, unless the world fixes one:
// /Library/Clock/today holding "YYYY-MM-DD".
class HostCalendar final : public Calendar {
 public:
  explicit HostCalendar(const World& world) : world_(world) {}
  static constexpr const char* kFixedDateFile = "/Library/Clock/today";

  CalendarDate today() override;

  // The date the world's file holds, when it holds a valid one.
  static std::optional<CalendarDate> fixedDate(const World& world);
  // Writes the world's file; nothing fixes the date any more.
  static bool fixDate(const World& world, const CalendarDate& date);
  static void unfixDate(const World& world);
  static std::optional<CalendarDate> parseDate(std::string_view text);

 private:
  const World& world_;
};

}  // namespace routelle
