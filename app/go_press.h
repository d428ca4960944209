#ifndef KELVANE_APP_GO_PRESS_H_
#define KELVANE_APP_GO_PRESS_H_

#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>

#include "app/held_folder.h"

namespace kelvane {

// What became of a press of Go.
enum class GoResult {
  kRefused,   // the limit was refused: show the message, keep the window, focus the limit
  kDone,      // both pass lines were written: end with exit status 0
  kFailed,    // show the message as an error report, then end with exit status 1
  kBusy,      // another run held the pass lines: show the message, keep the window
  kNoFolder,  // no folder is chosen yet: show the message, keep the window
};

struct GoOutcome {
  GoResult result;
  std::string message;
};

// The run behind Go, the same for every window: reads the limit from `limit_text` and,
// when it is usable, stores it in `max_separation` and runs ComputePassLines in `folder`
// (kNoFolder, with kNoFolderReport, where none is chosen).
// An error of the run is caught here, written to standard error as "kelvane: <report>",
// and returned as its report: the kind, then the file, line and item at fault. While
// another run holds the pass lines, this is said at once on standard error and to
// `on_wait`, before the run waits for it.
GoOutcome PressGo(std::string_view limit_text, const HeldFolder& folder, float& max_separation,
                  const std::function<void(std::string_view)>& on_wait = {});

// The job in each of `folders` in turn, without a window, with the limit read from
// `limit_text` as PressGo reads it (the caller has made sure it is usable): a failure is
// written to standard error as "kelvane: <folder>: <report>", the report naming the files in
// the folder by name alone, and the next folder still runs.
// Returns the exit status: 0 when every folder succeeded, 1 when any failed.
int RunInEach(std::span<const std::filesystem::path> folders, std::string_view limit_text);

// What a window does after Go, whatever its toolkit.
struct GoReaction {
  enum class Message { kNone, kWarning, kError };
  Message message;   // the outcome's message shown, with a warning's or an error's icon
  bool focus_limit;  // once the message is dismissed, the limit's text is focused, selected
  bool ends;         // once the message is dismissed, the window closes and the run ends
  int exit_status;   // the run's exit status when it ends
};

// The reaction to `result`: a refused limit is a warning and the limit is focused to be
// corrected; another run holding the files, or no folder chosen, is a warning; these keep
// the window. A failure
// is an error that ends the run with status 1; success ends it at once with status 0.
GoReaction ReactionTo(GoResult result);

}  // namespace kelvane

#endif  // KELVANE_APP_GO_PRESS_H_
