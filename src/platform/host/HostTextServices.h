#pragma once
#include "support/TextServices.h"

namespace routelle {

// Unicode through ICU, as the platform's string class does it.
class HostTextServices final : public TextServices {
 public:
  std::string lowercased(std::string_view text) const override;
  std::string capitalized(std::string_view text) const override;
  bool equalsIgnoringCase(std::string_view a, std::string_view b) const override;
  std::string composedCharacterPrefix(std::string_view text, std::size_t count) const override;

  // The one the host world's composition roots install.
  static const HostTextServices& shared();
};

}  // namespace routelle
