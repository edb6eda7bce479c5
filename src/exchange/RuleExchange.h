#pragma once
#include <string>

#include "exchange/RuleImporter.h"
#include "platform/Calendar.h"
#include "platform/FileManager.h"
#include "platform/Presenter.h"
#include "platform/Workspace.h"
#include "settings/BrowserRegistry.h"
#include "settings/RuleStore.h"
#include "support/NotificationCenter.h"
#include "support/Trace.h"
#include "ui/StatusMenuRefresh.h"

namespace routelle {

inline constexpr const char* kExchangePathKey = "path";

// Export of the domain and per-application rules to a rule file, and import
// of such a file into the stored rules; from the status menu and, through the
// "export" and "import" notifications, from scripts.
class RuleExchange {
 public:
  // The services and components it acts through.
  struct Dependencies {
    RuleStore& rules;
    const BrowserRegistry& registry;
    Workspace& workspace;
    FileManager& files;
    Calendar& calendar;
    Presenter& presenter;
    StatusMenuRefresh& statusMenu;
    const Trace& trace;
  };
  explicit RuleExchange(const Dependencies& deps);

  // "exportRules": "routelle-MM-dd-yyyy.xml" in the folder, then shown in the
  // file browser; false when nothing was written (no Downloads folder known,
  // the file could not be written, or it would be larger than an import reads:
  // that one the user is told about).
  bool exportRules(const std::string& directory);
  // "importRules": merges the rules of the file; the status menu is rebuilt
  // when the document was read to its end, and an alert tells the user why
  // when it was not.
  ImportReport importRules(const std::string& path);

  // The menu actions: a panel for the folder / the file, then the above.
  void saveExport();
  void importList();

  // The observers of "export" and "import" ("notiExportListWithNotification:",
  // "notiImportListWithNotification:"): "path" from the user info, if any.
  void exportListWithNotification(const UserInfo& info);
  void importListWithNotification(const UserInfo& info);

 private:
  RuleStore& rules_;
  const BrowserRegistry& registry_;
  Workspace& workspace_;
  FileManager& files_;
  Calendar& calendar_;
  Presenter& presenter_;
  StatusMenuRefresh& statusMenu_;
  const Trace& trace_;
};

}  // namespace routelle
