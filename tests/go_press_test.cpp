#include "app/go_press.h"

#include <gtest/gtest.h>

namespace kelvane {

namespace {

// What each outcome of Go does to a window, whichever toolkit shows it.
TEST(GoPressTest, EachOutcomeHasOneReaction) {
  using Message = GoReaction::Message;
  const struct {
    GoResult result;
    Message message;
    bool focus_limit, ends;
    int exit_status;
  } cases[] = {{GoResult::kRefused, Message::kWarning, true, false, 0},
               {GoResult::kBusy, Message::kWarning, false, false, 0},
               {GoResult::kFailed, Message::kError, false, true, 1},
               {GoResult::kDone, Message::kNone, false, true, 0}};
  for (const auto& c : cases) {
    const GoReaction reaction = ReactionTo(c.result);
    EXPECT_EQ(reaction.message, c.message);
    EXPECT_EQ(reaction.focus_limit, c.focus_limit);
    EXPECT_EQ(reaction.ends, c.ends);
    EXPECT_EQ(reaction.exit_status, c.exit_status);
  }
}

}  // namespace
}  // namespace kelvane
