#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Defaults.h"
#include "platform/ListArchiver.h"
#include "support/Report.h"

namespace routelle {

enum class Domain { standard, suite };

// How an archived list read back: absent (or not data), a list, or data that
// cannot be unarchived (kept untouched so that no rule is ever lost).
struct StoredList {
  enum class State { absent, list, undecodable } state = State::absent;
  std::vector<std::string> items;
};

// A stored list as its readers share it: texts viewed in the bytes read from
// storage (or in the list last written), which `keeper` keeps alive.
struct StoredListView {
  StoredList::State state = StoredList::State::absent;
  std::span<const std::string_view> items;
  std::shared_ptr<const void> keeper;

  // A list that keeps its own texts (one just written, or made in place).
  static std::shared_ptr<const StoredListView> holding(std::vector<std::string> texts) {
    auto shared = ListArchiver::viewsOf(std::move(texts));
    return std::make_shared<const StoredListView>(
        StoredListView{StoredList::State::list, shared.texts, std::move(shared.keeper)});
  }
};

// How a change that could not be stored is worded to the user, by a script
// command's error and by the alert alike.
std::string preferencesNotSavedMessage(std::string_view cause);

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

  // Each write answers whether it reached storage; a failure is also counted
  // (writeFailures) so that whoever started the change can report it.
  bool setBool(std::string_view key, bool v, Domain d = Domain::standard);
  bool setInteger(std::string_view key, std::int64_t v, Domain d = Domain::standard);
  bool setDouble(std::string_view key, double v, Domain d = Domain::standard);
  bool setString(std::string_view key, std::string_view v, Domain d = Domain::standard);
  bool remove(std::string_view key, Domain d = Domain::standard);

  StoredList getList(std::string_view key, Domain d = Domain::standard) const;
  // The same, for a change that writes the list back whole: copied from the
  // view kept for readers when it is current (not decoded again), which is let go.
  StoredList listToReplace(std::string_view key, Domain d = Domain::standard);
  // The same list, decoded once per stored value: callers on hot paths share it.
  std::shared_ptr<const StoredListView> sharedList(std::string_view key, Domain d = Domain::standard) const;
  std::optional<DefaultsValue> getObject(std::string_view key, Domain d = Domain::standard) const {
    return object(key, d);
  }
  bool setObject(std::string_view key, const DefaultsValue& v, Domain d = Domain::standard) { return write(key, v, d); }
  bool setList(std::string_view key, const std::vector<std::string>& list, Domain d = Domain::standard);
  // The same, keeping the given list as the decoded value rather than a copy of it.
  bool setList(std::string_view key, std::vector<std::string>&& list, Domain d = Domain::standard);

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

  // Writes that did not reach storage so far, and the cause of the latest.
  struct WriteFailures {
    std::uint64_t count = 0;
    std::string lastCause;
  };
  WriteFailures writeFailures() const;

  // Told of every write the user asked for that did not reach storage, with
  // its cause; writes made by ensure-default and inside `unattended` are not
  // told. May be called from any thread that writes.
  void setWriteFailureListener(std::function<void(const std::string& cause)> listener);
  // Writes in the body are the program's own upkeep (the menu's rebuild), or
  // are reported by whoever runs the body (a script command's error).
  void unattended(const std::function<void()>& body);

  // Where stored values that cannot be read are named for the user.
  Report& report() const { return report_; }

 private:
  Defaults* domain(Domain d) const;
  std::optional<DefaultsValue> object(std::string_view key, Domain d) const;
  bool write(std::string_view key, const DefaultsValue& v, Domain d);
  bool flushed(Defaults& defaults);
  StoredList decodedList(const DefaultsValue* value) const;
  StoredListView decodedView(const std::optional<SharedData>& archived) const;
  // The list's value as written, or nothing when the write failed.
  std::shared_ptr<const DefaultsValue> writeList(std::string_view key, const std::vector<std::string>& list, Domain d);
  void cacheWrittenList(std::string_view key, Domain d, const std::shared_ptr<const DefaultsValue>& archived,
                        std::vector<std::string> items);
  // A write of a first-use default: its failure is not the user's change.
  template <typename Body>
  void upkeep(Body body);

  Defaults& standard_;
  Defaults* suite_;
  Defaults* global_;
  const ListArchiver& archiver_;

  struct CachedList {
    Domain domain = Domain::standard;
    std::string key;
    std::uint64_t changeCount = 0;
    std::shared_ptr<const StoredListView> list;
    std::optional<SharedData> archived;  // the bytes it was decoded from; none when absent
  };
  // Under listCacheMutex_. A handful of keys hold lists, and every link reads
  // some of them: looked through in turn, with no key made per read.
  CachedList* cachedList(std::string_view key, Domain d) const;
  CachedList& cachedListToFill(std::string_view key, Domain d) const;
  void forgetCachedList(std::string_view key, Domain d) const;
  mutable std::vector<CachedList> listCache_;
  mutable std::mutex listCacheMutex_;
  // Writes may come from the tab watcher's queue too.
  mutable std::mutex failuresMutex_;
  WriteFailures failures_;
  std::function<void(const std::string&)> failureListener_;
  mutable Report report_;
};

}  // namespace routelle
