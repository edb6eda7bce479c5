#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace routelle {

using Bytes = std::vector<std::uint8_t>;

// The value kinds a defaults domain holds for the program.
using DefaultsValue = std::variant<bool, std::int64_t, double, std::string, Bytes>;

// One user-defaults domain (the standard domain, or the app-group suite).
class Defaults {
 public:
  virtual ~Defaults() = default;

  // The stored value, or nothing when the key is absent or holds a kind the
  // program never writes (dates, arrays, dictionaries).
  virtual std::optional<DefaultsValue> object(std::string_view key) = 0;
  virtual void set(std::string_view key, const DefaultsValue& value) = 0;
  virtual void remove(std::string_view key) = 0;
  // Writes reach storage at once; this reports whether the last write did.
  virtual bool synchronize() = 0;
  // Why the last write did not reach storage, for the user to read.
  virtual std::string lastWriteError() { return "the defaults system reported a failure"; }
  // Changes whenever any stored value may have changed (here or in another
  // process), so that what was decoded from the domain can be kept until then.
  virtual std::uint64_t changeCount() = 0;
  // Reads in the body see one consistent state of the domain (one event's view);
  // writes still go through at once.
  virtual void snapshot(const std::function<void()>& body) { body(); }
  // Runs a read-modify-write as one unit against other writers of the domain.
  virtual void transaction(const std::function<void()>& body) { body(); }
};

}  // namespace routelle
