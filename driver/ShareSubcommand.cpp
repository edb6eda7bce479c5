// The Share extension, run once with what a host application shares.
#include <ostream>

#include "Driver.h"
#include "HostExtension.h"
#include "ProgramRun.h"

namespace routelle::driver {

int runShare(const Invocation& inv, std::ostream& out) {
  std::vector<HostExtensionContext::Attachment> attachments;
  bool noItems = false;
  bool cancel = false;
  for (size_t i = 1; i < inv.args.size(); ++i) {
    const std::string& a = inv.args[i];
    if (a == "--url" || a == "--text") {
      if (i + 1 >= inv.args.size()) throw UsageError(a + " needs a value");
      attachments.push_back({a == "--url", inv.args[++i]});
    } else if (a == "--no-items") {
      noItems = true;
    } else if (a == "--cancel") {
      cancel = true;
    } else {
      throw UsageError("unknown argument \"" + a + "\" for share");
    }
  }
  if (noItems && !attachments.empty()) throw UsageError("--no-items leaves no item to attach anything to");

  Descendants descendants;  // the program the hand-off starts, and the browser it starts
  {
    HostExtension extension(inv.root);
    // The program is installed, as it is on a Mac that has the extension.
    installOwnBundle(extension.world);
    extension.transcript.echo = [&out](const std::string& line) { out << line << "\n" << std::flush; };
    if (!noItems) extension.context->items.push_back(attachments);

    auto controller = ShareController::create(extension.services());
    controller->setTraceSink([&out](std::string_view line) { out << "stdout: " << line << "\n" << std::flush; });
    controller->setSheetObserver([&out](const ShareSheet& sheet) {
      out << "sheet: \"" << sheet.title << "\" \"" << sheet.url << "\"\n" << std::flush;
    });
    controller->loadView();
    if (cancel) controller->cancel();  // before anything has loaded
    extension.context->deliverLoads();
    extension.runLoop->advance(kShareFallbackCloseSeconds);
  }
  return 0;
}

}  // namespace routelle::driver
