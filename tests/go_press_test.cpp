#include "app/go_press.h"

#include <gtest/gtest.h>

#include <tuple>

namespace kelvane {

namespace {

// What each outcome of Go does to a window, whichever toolkit shows it.
TEST(GoPressTest, EachOutcomeHasOneReaction) {
  using enum GoReaction::Message;
  const auto reaction = [](GoResult result) {
    const GoReaction r = ReactionTo(result);
    return std::tuple{r.message, r.focus_limit, r.ends, r.exit_status};
  };
  EXPECT_EQ(reaction(GoResult::kRefused), std::tuple(kWarning, true, false, 0));
  EXPECT_EQ(reaction(GoResult::kBusy), std::tuple(kWarning, false, false, 0));
  EXPECT_EQ(reaction(GoResult::kNoFolder), std::tuple(kWarning, false, false, 0));
  EXPECT_EQ(reaction(GoResult::kFailed), std::tuple(kError, false, true, 1));
  EXPECT_EQ(reaction(GoResult::kDone), std::tuple(kNone, false, true, 0));
}

}  // namespace
}  // namespace kelvane
