#pragma once
#include "platform/Accessibility.h"
#include "platform/host/Transcript.h"
#include "platform/host/World.h"

namespace routelle {

// Accessibility trust is world state: the file Library/Accessibility/trusted exists.
class HostAccessibility final : public Accessibility {
 public:
  HostAccessibility(const World& world, Transcript& transcript) : world_(world), transcript_(transcript) {}
  bool isProcessTrusted(bool prompt) override;

 private:
  const World& world_;
  Transcript& transcript_;
};

}  // namespace routelle
