#pragma once
#include <string>

#include "platform/Calendar.h"

namespace routelle {

// "routelle-MM-dd-yyyy.xml": month first, each part zero-padded.
std::string ruleFileName(const CalendarDate& date);

}  // namespace routelle
