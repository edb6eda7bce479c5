#include "exchange/ExchangeAlerts.h"

namespace routelle {
namespace {

constexpr const char* kOk = "OK";

std::string rulesCount(std::size_t count) { return std::to_string(count) + (count == 1 ? " rule" : " rules"); }

}  // namespace

AlertModel importNotCompletedAlert(const std::string& path, const ImportReport& report) {
  const std::size_t stored = report.domainRules + report.appRules;
  std::string detail = path + ": " + report.outcome.message + ".";
  if (stored == 0) {
    detail += " No rule was changed.";
    return {"The rules could not be imported.", detail, "warning", {kOk}, std::nullopt};
  }
  detail += " The " + rulesCount(stored) + " read before that point were imported.";
  return {"Only part of the rules could be imported.", detail, "warning", {kOk}, std::nullopt};
}

AlertModel exportTooLargeAlert(std::size_t bytes) {
  const std::string detail = "The rule file would hold " + std::to_string(bytes >> 20) + " MiB, more than the " +
                             std::to_string(kRuleFileMaxBytes >> 20) +
                             " MiB an import reads. Remove rules you no longer need, then export again.";
  return {"The rules could not be exported.", detail, "warning", {kOk}, std::nullopt};
}

}  // namespace routelle
