// The Share extension, run once with what a host application shares.
#include <ostream>

#include "Driver.h"
#include "HostExtension.h"
#include "ProgramRun.h"

namespace routelle::driver {

int runShare(const Invocation& inv, const ShareRequest& request, std::ostream& out) {
  if (request.noItems && !request.attachments.empty())
    throw UsageError("--no-items leaves no item to attach anything to");
  std::vector<HostExtensionContext::Attachment> attachments;
  for (const auto& a : request.attachments) attachments.push_back({a.isURL, a.text});

  Descendants descendants;  // the program the hand-off starts, and the browser it starts
  {
    HostExtension extension(inv.root);
    // The program is installed, as it is on a Mac that has the extension.
    installOwnBundle(extension.world);
    extension.transcript.echo = [&out](const std::string& line) { out << line << "\n" << std::flush; };
    if (!request.noItems) extension.context->items.push_back(attachments);

    auto controller = ShareController::create(extension.services());
    controller->setTraceSink([&out](std::string_view line) { out << "stdout: " << line << "\n" << std::flush; });
    controller->setSheetObserver([&out](const ShareSheet& sheet) {
      out << "sheet: \"" << sheet.title << "\" \"" << sheet.url << "\"\n" << std::flush;
    });
    controller->loadView();
    if (request.cancel) controller->cancel();  // before anything has loaded
    extension.context->deliverLoads();
    extension.runLoop->advance(kShareFallbackCloseSeconds);
  }
  return 0;
}

}  // namespace routelle::driver
