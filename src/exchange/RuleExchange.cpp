#include "exchange/RuleExchange.h"

#include <exception>
#include <utility>

#include "exchange/ExchangeAlerts.h"
#include "exchange/RuleExporter.h"
#include "exchange/RuleFileName.h"
#include "exchange/RuleFileWriter.h"

namespace routelle {
namespace {

constexpr std::string_view kCatchNotification = "Catch notification";
constexpr const char* kPanelLocation = "/Downloads/";

std::optional<std::string> pathFrom(const UserInfo& info) {
  auto path = info.find(kExchangePathKey);
  if (path == info.end()) return std::nullopt;
  return path->second;
}

}  // namespace

RuleExchange::RuleExchange(const Dependencies& deps)
    : rules_(deps.rules),
      registry_(deps.registry),
      workspace_(deps.workspace),
      files_(deps.files),
      calendar_(deps.calendar),
      presenter_(deps.presenter),
      statusMenu_(deps.statusMenu),
      trace_(deps.trace) {}

bool RuleExchange::exportRules(const std::string& directory) {
  const std::string name = ruleFileName(calendar_.today());
  // Only a precondition: the file goes where it was asked to go.
  if (!files_.downloadsDirectory() || directory.empty()) return false;
  const std::string target = directory + (directory.back() == '/' ? "" : "/") + name;
  try {
    const ExportableRules exportable = exportableRules(rules_, registry_, workspace_);
    const RuleProfiles profiles = rules_.profiles();
    const auto text = writeRuleFile(
        exportable.domains, exportable.apps,
        [&](bool domainRule, const std::string& first, const std::string& browser) {
          return profiles
              .profileFor(domainRule ? RuleProfiles::domainRule(first) : RuleProfiles::appRule(first), browser)
              .value_or("");
        });
    if (!text) return false;
    // A file the import would refuse is no copy of the rules.
    if (text->document.size() > kRuleFileMaxBytes) {
      trace_("export: " + std::to_string(text->document.size()) + " bytes, more than an import reads");
      AlertModel alert = exportTooLargeAlert(text->document.size());
      presenter_.runModalAlert(alert);
      return false;
    }
    if (!files_.writeFile(target, text->document)) return false;
  } catch (const std::exception& failure) {
    trace_(std::string("export: ") + failure.what());
    return false;
  }
  files_.revealInFileBrowser(target);
  return true;
}

ImportReport RuleExchange::importRules(const std::string& path) {
  ImportReport report;
  try {
    FileContents file = files_.readFile(path, kRuleFileMaxBytes);
    if (file.status != FileContents::Status::read) {
      report.outcome = {file.status == FileContents::Status::tooLarge ? RuleFileEnd::tooLarge : RuleFileEnd::unreadable,
                        file.error};
    } else {
      report = RuleImporter(rules_, registry_).importDocument(std::move(file.bytes));
    }
  } catch (const std::exception& failure) {
    report.outcome = {RuleFileEnd::unreadable, failure.what()};
  }
  if (report.outcome.end == RuleFileEnd::complete) {
    statusMenu_.scheduleMenuRefresh();
    return report;
  }
  trace_(path + ": " + report.outcome.message);
  AlertModel alert = importNotCompletedAlert(path, report);
  presenter_.runModalAlert(alert);
  return report;
}

void RuleExchange::saveExport() {
  OpenPanelModel panel;
  panel.allowsMultipleSelection = false;
  panel.canChooseDirectories = true;
  panel.canCreateDirectories = true;
  panel.canChooseFiles = false;
  panel.prompt = "Save";
  panel.directory = kPanelLocation;
  presenter_.beginOpenPanel(panel, [this](const std::optional<std::string>& folder) {
    if (folder) exportRules(*folder);
  });
}

void RuleExchange::importList() {
  OpenPanelModel panel;
  panel.allowsMultipleSelection = false;
  panel.canChooseDirectories = false;
  panel.canCreateDirectories = false;
  panel.canChooseFiles = true;
  panel.allowedFileTypes = {"xml"};
  panel.directory = kPanelLocation;
  presenter_.beginOpenPanel(panel, [this](const std::optional<std::string>& file) {
    if (file) importRules(*file);
  });
}

void RuleExchange::exportListWithNotification(const UserInfo& info) {
  trace_(kCatchNotification);
  if (auto path = pathFrom(info)) exportRules(*path);
}

void RuleExchange::importListWithNotification(const UserInfo& info) {
  trace_(kCatchNotification);
  if (auto path = pathFrom(info)) importRules(*path);
}

}  // namespace routelle
