#pragma once
// The IDNA functions of the system's ICU (libicucore), which exports them
// unprefixed but ships no headers for them: the few declarations the URL
// adapter needs, with ICU's own layouts and values (uidna.h, ICU 4.6 and later).
#include <cstdint>

namespace routelle::macos::idna {

struct UIDNA;  // opaque
// ICU's UIDNAInfo; its UBool fields are one byte.
struct UIDNAInfo {
  std::int16_t size;
  std::int8_t isTransitionalDifferent;
  std::int8_t reservedB3;
  std::uint32_t errors;
  std::int16_t reservedS2;
  std::int16_t reservedS3;
};
using UErrorCode = int;  // ICU's enum; zero and below are no failure

inline constexpr std::uint32_t kCheckBidi = 4;                // UIDNA_CHECK_BIDI
inline constexpr std::uint32_t kCheckContextJ = 8;            // UIDNA_CHECK_CONTEXTJ
inline constexpr std::uint32_t kNontransitionalToAscii = 16;  // UIDNA_NONTRANSITIONAL_TO_ASCII
// UIDNA_ERROR_EMPTY_LABEL, _LABEL_TOO_LONG, _DOMAIN_NAME_TOO_LONG, _LEADING_HYPHEN,
// _TRAILING_HYPHEN and _HYPHEN_3_4: names links still carry.
inline constexpr std::uint32_t kToleratedErrors = 0x1 | 0x2 | 0x4 | 0x8 | 0x10 | 0x20;

extern "C" {
UIDNA* uidna_openUTS46(std::uint32_t options, UErrorCode* pErrorCode);
void uidna_close(UIDNA* idna);
std::int32_t uidna_nameToASCII_UTF8(const UIDNA* idna, const char* name, std::int32_t length, char* dest,
                                    std::int32_t capacity, UIDNAInfo* pInfo, UErrorCode* pErrorCode);
}

}  // namespace routelle::macos::idna
