#include "platform/host/HostCalendar.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

namespace routelle {
namespace {

std::optional<int> number(std::string_view digits) {
  if (digits.empty() || digits.size() > 4) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

std::optional<CalendarDate> HostCalendar::parseDate(std::string_view text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.remove_suffix(1);
  if (text.size() != 10 || text[4] != '-' || text[7] != '-') return std::nullopt;
  const auto year = number(text.substr(0, 4));
  const auto month = number(text.substr(5, 2));
  const auto day = number(text.substr(8, 2));
  if (!year || !month || !day || *year < 1) return std::nullopt;
  const std::chrono::year_month_day date{std::chrono::year(*year), std::chrono::month(static_cast<unsigned>(*month)),
                                         std::chrono::day(static_cast<unsigned>(*day))};
  if (!date.ok()) return std::nullopt;
  return CalendarDate{*year, *month, *day};
}

std::optional<CalendarDate> HostCalendar::fixedDate(const World& world) {
  std::ifstream in(world.hostPath(kFixedDateFile));
  if (!in) return std::nullopt;
  // A date is a few bytes; whatever else is in the file's place is no date.
  char text[64];
  in.read(text, sizeof text);
  return parseDate(std::string_view(text, static_cast<std::size_t>(in.gcount())));
}

bool HostCalendar::fixDate(const World& world, const CalendarDate& date) {
  const auto file = world.hostPath(kFixedDateFile);
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d\n", date.year, date.month, date.day);
  std::ofstream out(file, std::ios::trunc);
  out << text;
  return static_cast<bool>(out.flush());
}

void HostCalendar::unfixDate(const World& world) {
  std::error_code ec;
  std::filesystem::remove(world.hostPath(kFixedDateFile), ec);
}

CalendarDate HostCalendar::today() {
  if (auto fixed = fixedDate(world_)) return *fixed;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

}  // namespace routelle
