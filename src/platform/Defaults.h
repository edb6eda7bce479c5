#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace routelle {

using Bytes = std::vector<std::uint8_t>;

// The value kinds a defaults domain holds for the program.
using DefaultsValue = std::variant<bool, std::int64_t, double, std::string, Bytes>;

// Stored data seen without a copy: the bytes stay valid while `keeper` is held.
struct SharedData {
  std::shared_ptr<const void> keeper;
  std::span<const std::uint8_t> bytes;
};

// One user-defaults domain (the standard domain, or the app-group suite).
class Defaults {
 public:
  virtual ~Defaults() = default;

  // The stored value, or nothing when the key is absent or holds a kind the
  // program never writes (dates, arrays, dictionaries).
  virtual std::optional<DefaultsValue> object(std::string_view key) = 0;
  // The data stored under a key, shared with the domain's own copy where it can
  // be: an archived list of thousands of rules is read whole on every change.
  virtual std::optional<SharedData> data(std::string_view key) {
    auto value = object(key);
    auto* bytes = value ? std::get_if<Bytes>(&*value) : nullptr;
    if (!bytes) return std::nullopt;
    auto kept = std::make_shared<const Bytes>(std::move(*bytes));
    return SharedData{kept, std::span<const std::uint8_t>(*kept)};
  }
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
