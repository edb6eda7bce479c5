#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Defaults.h"

namespace routelle {

// A preferences domain held in memory only, as the platform's defaults serve
// reads: for measuring and fuzzing the program without the world's files.
class MemoryDefaults final : public Defaults {
 public:
  std::optional<DefaultsValue> object(std::string_view key) override {
    auto it = values_.find(key);
    return it == values_.end() ? std::nullopt : std::optional(it->second);
  }
  void set(std::string_view key, const DefaultsValue& value) override {
    values_.insert_or_assign(std::string(key), value);
    ++changes_;
  }
  void remove(std::string_view key) override {
    if (auto it = values_.find(key); it != values_.end()) values_.erase(it);
    ++changes_;
  }
  bool synchronize() override { return true; }
  std::uint64_t changeCount() override { return changes_; }

 private:
  std::map<std::string, DefaultsValue, std::less<>> values_;
  std::uint64_t changes_ = 0;
};

}  // namespace routelle
