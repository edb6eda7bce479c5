#pragma once
#include "support/LineSink.h"

namespace routelle {

// What the user should read of what went wrong without a dialog (a stored
// value that cannot be read, a browser that could not be started): lines the
// front end shows on standard error. Dropped unless a sink is set; the core
// never writes to standard error itself. Lines may come from any thread.
class Report final : public LineSink {};

}  // namespace routelle
