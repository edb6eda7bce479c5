#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Defaults.h"
#include "platform/ListArchiver.h"

namespace routelle {

enum class Domain { standard, suite };

// How an archived list read back: absent (or not data), a list, or data that
// cannot be unarchived (kept untouched so that no rule is ever lost).
struct StoredList {
  enum class State { absent, list, undecodable } state = State::absent;
  std::vector<std::string> items;
};

// Typed access to the program's defaults domains. Nothing is cached: every read
// asks the domain, every write is flushed.
class SettingsStore {
 public:
  // The suite and the global domain may be missing; suite writes are then skipped.
  SettingsStore(Defaults& standard, Defaults* suite, Defaults* global, const ListArchiver& archiver);

  std::optional<bool> getBool(std::string_view key, Domain d = Domain::standard) const;
  std::optional<std::int64_t> getInteger(std::string_view key, Domain d = Domain::standard) const;
  std::optional<double> getDouble(std::string_view key, Domain d = Domain::standard) const;
  std::optional<std::string> getString(std::string_view key, Domain d = Domain::standard) const;
  bool contains(std::string_view key, Domain d = Domain::standard) const;

  void setBool(std::string_view key, bool v, Domain d = Domain::standard);
  void setInteger(std::string_view key, std::int64_t v, Domain d = Domain::standard);
  void setDouble(std::string_view key, double v, Domain d = Domain::standard);
  void setString(std::string_view key, std::string_view v, Domain d = Domain::standard);
  void remove(std::string_view key, Domain d = Domain::standard);

  StoredList getList(std::string_view key, Domain d = Domain::standard) const;
  // The same list, decoded once per stored value: callers on hot paths share it.
  std::shared_ptr<const StoredList> sharedList(std::string_view key, Domain d = Domain::standard) const;
  std::optional<DefaultsValue> getObject(std::string_view key, Domain d = Domain::standard) const {
    return object(key, d);
  }
  void setObject(std::string_view key, const DefaultsValue& v, Domain d = Domain::standard) { write(key, v, d); }
  void setList(std::string_view key, const std::vector<std::string>& list, Domain d = Domain::standard);

  // Ensure-default: a missing key (or one of another kind) is written first.
  bool ensureBool(std::string_view key, bool def, Domain d = Domain::standard);
  std::int64_t ensureInteger(std::string_view key, std::int64_t def, Domain d = Domain::standard);
  double ensureDouble(std::string_view key, double def, Domain d = Domain::standard);
  std::string ensureString(std::string_view key, std::string_view def, Domain d = Domain::standard);

  // Reads in the body see one state of the domain, as of its start.
  void snapshot(const std::function<void()>& body, Domain d = Domain::standard);
  // A read-modify-write that other writers of the domain cannot interleave with.
  void transaction(const std::function<void()>& body, Domain d = Domain::standard);

  // "AppleInterfaceStyle" of the system-wide domain; nothing when unset.
  std::optional<std::string> interfaceStyle() const;

 private:
  Defaults* domain(Domain d) const;
  std::optional<DefaultsValue> object(std::string_view key, Domain d) const;
  void write(std::string_view key, const DefaultsValue& v, Domain d);

  Defaults& standard_;
  Defaults* suite_;
  Defaults* global_;
  const ListArchiver& archiver_;

  struct CachedList {
    std::uint64_t changeCount = 0;
    std::shared_ptr<const StoredList> list;
  };
  mutable std::map<std::pair<Domain, std::string>, CachedList, std::less<>> listCache_;
  mutable std::mutex listCacheMutex_;
};

}  // namespace routelle
