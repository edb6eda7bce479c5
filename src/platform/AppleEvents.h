#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace routelle {

// Four-character codes of the get-URL event: class and identifier 'GURL'.
inline constexpr std::uint32_t kInternetEventClass = 0x4755524C;
inline constexpr std::uint32_t kGetURLEventID = 0x4755524C;

// The Apple-event manager: handlers by event class and identifier. A handler
// receives the direct parameter's text, or nothing when the event has none.
class AppleEvents {
 public:
  using Handler = std::function<void(const std::optional<std::string>& directParameter)>;
  virtual ~AppleEvents() = default;
  virtual void setEventHandler(std::uint32_t eventClass, std::uint32_t eventID, Handler handler) = 0;
};

}  // namespace routelle
