#include "exchange/RuleFileName.h"

namespace routelle {
namespace {

std::string padded(int value, std::size_t width) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return value < 0 ? "-" + digits : digits;
}

}  // namespace

std::string ruleFileName(const CalendarDate& date) {
  return "routelle-" + padded(date.month, 2) + "-" + padded(date.day, 2) + "-" + padded(date.year, 4) + ".xml";
}

}  // namespace routelle
