#include "platform/host/HostTextServices.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <memory>

namespace routelle {
namespace {

icu::UnicodeString fromUtf8(std::string_view s) {
  return icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), static_cast<int32_t>(s.size())));
}

std::string toUtf8(const icu::UnicodeString& u) {
  std::string out;
  u.toUTF8String(out);
  return out;
}

bool isWordSeparator(UChar32 c) { return u_isWhitespace(c) || c == '\n' || c == '\r' || c == '\t'; }

}  // namespace

std::string HostTextServices::lowercased(std::string_view text) const {
  icu::UnicodeString u = fromUtf8(text);
  u.toLower(icu::Locale::getRoot());
  return toUtf8(u);
}

std::string HostTextServices::capitalized(std::string_view text) const {
  const icu::UnicodeString u = fromUtf8(text);
  icu::UnicodeString out;
  int32_t i = 0;
  while (i < u.length()) {
    int32_t start = i;
    while (i < u.length() && isWordSeparator(u.char32At(i))) i = u.moveIndex32(i, 1);
    out.append(u, start, i - start);
    if (i >= u.length()) break;
    int32_t firstEnd = u.moveIndex32(i, 1);
    icu::UnicodeString first(u, i, firstEnd - i);
    first.toUpper(icu::Locale::getRoot());
    out.append(first);
    int32_t restStart = firstEnd;
    i = firstEnd;
    while (i < u.length() && !isWordSeparator(u.char32At(i))) i = u.moveIndex32(i, 1);
    icu::UnicodeString rest(u, restStart, i - restStart);
    rest.toLower(icu::Locale::getRoot());
    out.append(rest);
  }
  return toUtf8(out);
}

bool HostTextServices::equalsIgnoringCase(std::string_view a, std::string_view b) const {
  return fromUtf8(a).caseCompare(fromUtf8(b), U_FOLD_CASE_DEFAULT) == 0;
}

std::string HostTextServices::composedCharacterPrefix(std::string_view text, std::size_t count) const {
  const auto u = fromUtf8(text);
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::BreakIterator> characters(
      icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
  if (U_FAILURE(status)) return std::string(text);
  characters->setText(u);
  int32_t end = characters->first();
  for (std::size_t counted = 0; counted < count && end != icu::BreakIterator::DONE; ++counted) end = characters->next();
  if (end == icu::BreakIterator::DONE || end >= u.length()) return std::string(text);
  return toUtf8(u.tempSubString(0, end));
}

const HostTextServices& HostTextServices::shared() {
  static const HostTextServices services;
  return services;
}

}  // namespace routelle
