#include "app/caught_report.h"

#include <exception>

#include "base/run_error.h"

namespace kelvane {

CaughtReport ReportCaught() {
  try {
    throw;
  } catch (const RunError& error) {
    return {error.Report(), error.kind() == ErrorKind::kBusy};
  } catch (const std::exception& error) {
    return {std::string("run-time error: ") + error.what()};
  }
}

}  // namespace kelvane
