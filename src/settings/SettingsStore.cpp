#include "settings/SettingsStore.h"

#include <algorithm>
#include <type_traits>

#include "settings/Keys.h"
#include "support/Variants.h"

namespace routelle {
namespace {

// Per thread: the tab watcher's writes are not the user's menu action.
thread_local int unattendedDepth = 0;

struct Unattended {
  Unattended() { ++unattendedDepth; }
  ~Unattended() { --unattendedDepth; }
  Unattended(const Unattended&) = delete;
  Unattended& operator=(const Unattended&) = delete;
};

}  // namespace

std::string preferencesNotSavedMessage(std::string_view cause) {
  return "The preferences could not be saved: " + std::string(cause);
}

SettingsStore::SettingsStore(Defaults& standard, Defaults* suite, Defaults* global, const ListArchiver& archiver)
    : standard_(standard), suite_(suite), global_(global), archiver_(archiver) {}

Defaults* SettingsStore::domain(Domain d) const { return d == Domain::standard ? &standard_ : suite_; }

std::optional<DefaultsValue> SettingsStore::object(std::string_view key, Domain d) const {
  Defaults* defaults = domain(d);
  return defaults ? defaults->object(key) : std::nullopt;
}

// A domain that is missing (the suite could not be opened) skips writes by
// design; that is no failure.
bool SettingsStore::write(std::string_view key, const DefaultsValue& v, Domain d) {
  Defaults* defaults = domain(d);
  if (!defaults) return true;
  defaults->set(key, v);
  return flushed(*defaults);
}

bool SettingsStore::flushed(Defaults& defaults) {
  if (defaults.synchronize()) return true;
  std::string cause = defaults.lastWriteError();
  std::function<void(const std::string&)> listener;
  {
    std::lock_guard guard(failuresMutex_);
    ++failures_.count;
    failures_.lastCause = cause;
    if (unattendedDepth == 0) listener = failureListener_;
  }
  if (listener) listener(cause);
  return false;
}

void SettingsStore::setWriteFailureListener(std::function<void(const std::string& cause)> listener) {
  std::lock_guard guard(failuresMutex_);
  failureListener_ = std::move(listener);
}

void SettingsStore::unattended(const std::function<void()>& body) {
  const Unattended scope;
  body();
}

template <typename Body>
void SettingsStore::upkeep(Body body) {
  const Unattended scope;
  body();
}

SettingsStore::WriteFailures SettingsStore::writeFailures() const {
  std::lock_guard guard(failuresMutex_);
  return failures_;
}

// Numbers read as the platform's number objects do: a Bool, an Integer and a
// Double all answer each of the three questions.
namespace {
template <typename T>
std::optional<T> asNumber(const std::optional<DefaultsValue>& v) {
  if (!v) return std::nullopt;
  return visitVariant(
      [](const auto& x) -> std::optional<T> {
        using X = std::decay_t<decltype(x)>;
        if constexpr (std::is_same_v<X, bool>)
          return static_cast<T>(x ? 1 : 0);
        else if constexpr (std::is_same_v<X, std::int64_t>)
          return static_cast<T>(x);
        else if constexpr (std::is_same_v<X, double>) {
          if constexpr (std::is_same_v<T, bool>)
            return x != 0.0;
          else if constexpr (std::is_same_v<T, std::int64_t>) {
            if (!(x > -9.2e18 && x < 9.2e18)) return std::nullopt;  // NaN or out of range
            return static_cast<std::int64_t>(x);
          } else
            return x;
        } else
          return std::nullopt;
      },
      *v);
}
}  // namespace

std::optional<bool> SettingsStore::getBool(std::string_view key, Domain d) const {
  return asNumber<bool>(object(key, d));
}
std::optional<std::int64_t> SettingsStore::getInteger(std::string_view key, Domain d) const {
  return asNumber<std::int64_t>(object(key, d));
}
std::optional<double> SettingsStore::getDouble(std::string_view key, Domain d) const {
  return asNumber<double>(object(key, d));
}
std::optional<std::string> SettingsStore::getString(std::string_view key, Domain d) const {
  auto v = object(key, d);
  if (auto* text = v ? std::get_if<std::string>(&*v) : nullptr) return std::move(*text);
  return std::nullopt;
}
bool SettingsStore::contains(std::string_view key, Domain d) const { return object(key, d).has_value(); }

bool SettingsStore::setBool(std::string_view key, bool v, Domain d) { return write(key, v, d); }
bool SettingsStore::setInteger(std::string_view key, std::int64_t v, Domain d) { return write(key, v, d); }
bool SettingsStore::setDouble(std::string_view key, double v, Domain d) { return write(key, v, d); }
bool SettingsStore::setString(std::string_view key, std::string_view v, Domain d) {
  return write(key, std::string(v), d);
}
bool SettingsStore::remove(std::string_view key, Domain d) {
  Defaults* defaults = domain(d);
  if (!defaults) return true;
  defaults->remove(key);
  return flushed(*defaults);
}

StoredList SettingsStore::getList(std::string_view key, Domain d) const {
  auto v = object(key, d);
  return decodedList(v ? &*v : nullptr);
}

StoredList SettingsStore::decodedList(const DefaultsValue* value) const {
  const auto* bytes = value ? std::get_if<Bytes>(value) : nullptr;
  if (!bytes) return {};
  auto list = archiver_.unarchive(*bytes);
  if (!list) return {StoredList::State::undecodable, {}};
  return {StoredList::State::list, std::move(*list)};
}

StoredListView SettingsStore::decodedView(const std::optional<SharedData>& archived) const {
  if (!archived) return {};
  auto texts = archiver_.unarchiveShared(*archived);
  if (!texts) return {StoredList::State::undecodable, {}, nullptr};
  return {StoredList::State::list, texts->texts, std::move(texts->keeper)};
}

SettingsStore::CachedList* SettingsStore::cachedList(std::string_view key, Domain d) const {
  for (auto& cached : listCache_)
    if (cached.domain == d && cached.key == key) return &cached;
  return nullptr;
}

SettingsStore::CachedList& SettingsStore::cachedListToFill(std::string_view key, Domain d) const {
  if (auto* cached = cachedList(key, d)) return *cached;
  return listCache_.emplace_back(CachedList{d, std::string(key), 0, nullptr, std::nullopt});
}

void SettingsStore::forgetCachedList(std::string_view key, Domain d) const {
  if (auto* cached = cachedList(key, d)) {
    std::swap(*cached, listCache_.back());
    listCache_.pop_back();
  }
}

namespace {

bool sameBytes(const SharedData& a, const SharedData& b) {
  return a.bytes.size() == b.bytes.size() &&
         (a.bytes.data() == b.bytes.data() || std::equal(a.bytes.begin(), a.bytes.end(), b.bytes.begin()));
}

}  // namespace

std::shared_ptr<const StoredListView> SettingsStore::sharedList(std::string_view key, Domain d) const {
  Defaults* defaults = domain(d);
  if (!defaults) return std::make_shared<const StoredListView>();
  // The domain's change count names the stored data: same count, same list.
  const std::uint64_t changeCount = defaults->changeCount();
  // The tab watcher reads the rules from its own thread. The cache's lock is never
  // held while the domain is read: the domain has a lock of its own, which a
  // snapshot holds while it reads lists.
  std::optional<SharedData> archivedBefore;
  {
    std::lock_guard lock(listCacheMutex_);
    if (const auto* cached = cachedList(key, d)) {
      if (cached->list && cached->changeCount == changeCount) return cached->list;
      archivedBefore = cached->archived;
    }
  }
  // Another key's change leaves this list's bytes as they were: the list decoded
  // from them stays, and so do the indexes built on it.
  std::optional<SharedData> archived = defaults->data(key);
  if (archivedBefore && archived && sameBytes(*archivedBefore, *archived)) {
    std::lock_guard lock(listCacheMutex_);
    auto& cached = cachedListToFill(key, d);
    if (cached.archived && cached.archived->keeper == archivedBefore->keeper) {
      cached.changeCount = changeCount;
      return cached.list;
    }
  }
  auto decoded = std::make_shared<const StoredListView>(decodedView(archived));
  // Once per stored value: read as empty, but never without a word.
  if (decoded->state == StoredList::State::undecodable)
    report_("the stored \"" + std::string(key) +
            "\" could not be read (not an archived list of texts); it is left as it is");
  std::lock_guard lock(listCacheMutex_);
  auto& cached = cachedListToFill(key, d);
  cached.changeCount = changeCount;
  cached.list = decoded;
  cached.archived = std::move(archived);
  return decoded;
}

StoredList SettingsStore::listToReplace(std::string_view key, Domain d) {
  Defaults* defaults = domain(d);
  if (!defaults) return {};
  const std::uint64_t changeCount = defaults->changeCount();
  std::shared_ptr<const StoredListView> cached;
  {
    std::lock_guard lock(listCacheMutex_);
    auto* entry = cachedList(key, d);
    if (!entry) return getList(key, d);
    if (entry->changeCount == changeCount) cached = std::move(entry->list);
    // Let go before the list is written back, so that it is not held twice.
    forgetCachedList(key, d);
  }
  if (cached && cached->state == StoredList::State::list)
    return {StoredList::State::list, std::vector<std::string>(cached->items.begin(), cached->items.end())};
  cached.reset();
  return getList(key, d);
}

std::shared_ptr<const DefaultsValue> SettingsStore::writeList(std::string_view key,
                                                              const std::vector<std::string>& list, Domain d) {
  // The list decoded from the value being replaced goes first (unless a reader
  // still holds it), so that a large list is not held twice while its new value
  // is encoded and written.
  {
    std::lock_guard lock(listCacheMutex_);
    forgetCachedList(key, d);
  }
  // Encoded straight into the value written, which the cache then keeps: no copy of the bytes.
  auto archived = std::make_shared<const DefaultsValue>(archiver_.archive(list));
  if (!write(key, *archived, d)) return nullptr;
  return archived;
}

void SettingsStore::cacheWrittenList(std::string_view key, Domain d,
                                     const std::shared_ptr<const DefaultsValue>& archived,
                                     std::vector<std::string> items) {
  // The list just written is what the next read would decode: readers after a
  // change of rules do not pay for decoding it again.
  Defaults* defaults = domain(d);
  if (!defaults) return;
  auto decoded = StoredListView::holding(std::move(items));
  const std::uint64_t changeCount = defaults->changeCount();
  // get_if rather than get: the Mac build's oldest system has no std::get.
  const auto* bytes = std::get_if<Bytes>(archived.get());
  std::lock_guard lock(listCacheMutex_);
  auto& cached = cachedListToFill(key, d);
  cached.changeCount = changeCount;
  cached.list = std::move(decoded);
  cached.archived = SharedData{archived, std::span<const std::uint8_t>(*bytes)};
}

bool SettingsStore::setList(std::string_view key, const std::vector<std::string>& list, Domain d) {
  auto archived = writeList(key, list, d);
  if (!archived) return false;
  if (domain(d)) cacheWrittenList(key, d, archived, list);
  return true;
}

bool SettingsStore::setList(std::string_view key, std::vector<std::string>&& list, Domain d) {
  auto archived = writeList(key, list, d);
  if (!archived) return false;
  cacheWrittenList(key, d, archived, std::move(list));
  return true;
}

bool SettingsStore::ensureBool(std::string_view key, bool def, Domain d) {
  if (auto v = getBool(key, d)) return *v;
  upkeep([&] { setBool(key, def, d); });
  return def;
}
std::int64_t SettingsStore::ensureInteger(std::string_view key, std::int64_t def, Domain d) {
  if (auto v = getInteger(key, d)) return *v;
  upkeep([&] { setInteger(key, def, d); });
  return def;
}
double SettingsStore::ensureDouble(std::string_view key, double def, Domain d) {
  if (auto v = getDouble(key, d)) return *v;
  upkeep([&] { setDouble(key, def, d); });
  return def;
}
std::string SettingsStore::ensureString(std::string_view key, std::string_view def, Domain d) {
  if (auto v = getString(key, d)) return *v;
  upkeep([&] { setString(key, def, d); });
  return std::string(def);
}

void SettingsStore::snapshot(const std::function<void()>& body, Domain d) {
  if (Defaults* defaults = domain(d))
    defaults->snapshot(body);
  else
    body();
}

void SettingsStore::transaction(const std::function<void()>& body, Domain d) {
  if (Defaults* defaults = domain(d))
    defaults->transaction(body);
  else
    body();
}

std::optional<std::string> SettingsStore::interfaceStyle() const {
  if (!global_) return std::nullopt;
  auto v = global_->object(keys::appleInterfaceStyle);
  if (auto* text = v ? std::get_if<std::string>(&*v) : nullptr) return std::move(*text);
  return std::nullopt;
}

}  // namespace routelle
