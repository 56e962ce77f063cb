#include <gtest/gtest.h>

#include <ostream>

#include "platform/clock/Deadline.h"
#include "platform/clock/VirtualClock.h"

namespace orvale {
namespace {

struct DeadlineCase {
  std::uint32_t startMs;
  std::uint32_t timeoutMs;
  std::uint32_t afterMs;
  bool expired;
  friend void PrintTo(const DeadlineCase& c, std::ostream* out) {
    *out << "start " << c.startMs << ", time-out " << c.timeoutMs << ", after " << c.afterMs;
  }
};

class DeadlineTest : public ::testing::TestWithParam<DeadlineCase> {};

TEST_P(DeadlineTest, ExpiresOnlyOnceMoreThanTheTimeOutPassed) {
  const DeadlineCase& c = GetParam();
  VirtualClock clock(c.startMs);
  clock.SetPollStep(0);
  Deadline deadline(clock, c.timeoutMs);
  clock.Advance(c.afterMs);
  EXPECT_EQ(deadline.ElapsedMs(), c.afterMs);
  EXPECT_EQ(deadline.Expired(), c.expired);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, DeadlineTest,
    ::testing::Values(DeadlineCase{0, 80, 80, false}, DeadlineCase{0, 80, 81, true},
                      DeadlineCase{0xFFFFFFC0u, 80, 80, false},  // wraps inside the span
                      DeadlineCase{0xFFFFFFC0u, 80, 81, true},
                      DeadlineCase{0xFFFFFFFFu, 1, 2, true},
                      DeadlineCase{5, 0, 0, true},  // a zero time-out has passed at once
                      DeadlineCase{0x7FFFFFF0u, 70000, 69999, false},
                      DeadlineCase{0x7FFFFFF0u, 70000, 70001, true}));

TEST(PollUntilTest, ReturnsAsSoonAsReadyAndFailsAfterTheTimeOut) {
  VirtualClock clock;  // each clock read moves 1 ms
  int polls = 0;
  EXPECT_TRUE(PollUntil(clock, 80, [&] { return ++polls == 10; }));
  EXPECT_EQ(polls, 10);

  polls = 0;
  const std::uint64_t before = clock.ElapsedMs();
  EXPECT_FALSE(PollUntil(clock, 80, [&] { return ++polls, false; }));
  EXPECT_EQ(clock.ElapsedMs() - before, 82u);  // the start read, then 81 ms to pass 80
  EXPECT_EQ(polls, 81);
}

TEST(PollUntilTest, ReadsTheClockOncePerRoundAndLooksOnceForAZeroTimeOut) {
  VirtualClock clock;
  int polls = 0;
  EXPECT_FALSE(PollUntil(clock, 4, [&] { return ++polls, false; }, 1000));
  EXPECT_EQ(polls, 5000);

  polls = 0;
  EXPECT_FALSE(PollUntil(clock, 0, [&] { return ++polls, false; }));
  EXPECT_EQ(polls, 1);
  EXPECT_TRUE(PollUntil(clock, 0, [] { return true; }));
}

}  // namespace
}  // namespace orvale
