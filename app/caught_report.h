#ifndef KELVANE_APP_CAUGHT_REPORT_H_
#define KELVANE_APP_CAUGHT_REPORT_H_

#include <string>

namespace kelvane {

// What the exception being handled tells a user.
struct CaughtReport {
  std::string text;   // a RunError's report, or "run-time error: <what>" for any other
  bool busy = false;  // another run held the files (ErrorKind::kBusy)
};

// The report of the exception being handled; call it only inside a catch block.
CaughtReport ReportCaught();

}  // namespace kelvane

#endif  // KELVANE_APP_CAUGHT_REPORT_H_
