#pragma once

namespace routelle {

// Accessibility trust of the process.
class Accessibility {
 public:
  virtual ~Accessibility() = default;
  // With prompt, the system asks the user to grant trust when it is missing.
  virtual bool isProcessTrusted(bool prompt) = 0;
};

}  // namespace routelle
