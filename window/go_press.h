#ifndef KELVANE_WINDOW_GO_PRESS_H_
#define KELVANE_WINDOW_GO_PRESS_H_

#include <filesystem>
#include <string>
#include <string_view>

#include "passlines/pass_line_fields.h"

// What became of a press of Go, for the window to show.
struct GoOutcome {
  enum Result {
    kRefused,  // the limit was refused: show `message`, keep the window, focus the limit
    kDone,     // both pass lines were written: end with exit status 0
    kFailed,   // show `message` as an error report, then end with exit status 1
  };
  Result result;
  std::string message;
};

// The run behind Go, the same for every window: reads the limit from `limit_text`, and
// when it is usable runs ComputePassLines in `folder`, or when `folder` is empty in the
// folder of the running program. An error of the run is caught here, written to standard
// error as "kelvane: <report>", and returned as its report: the kind, then the file, line
// and item at fault.
GoOutcome PressGo(PassLineFields& fields, std::string_view limit_text,
                  const std::filesystem::path& folder);

// The exit status a run ends with after `result`.
int ExitStatus(GoOutcome::Result result);

#endif  // KELVANE_WINDOW_GO_PRESS_H_
