// Each request to end that arrives as a signal reaches the event loop as Received.
#include "app/TerminationSignals.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

namespace {

class TerminationSignals : public testing::TestWithParam<int> {};

TEST_P(TerminationSignals, ArriveOnTheEventLoop) {
  TTerminationSignals watcher;
  QSignalSpy received(&watcher, &TTerminationSignals::Received);
  ASSERT_EQ(raise(GetParam()), 0);
  ASSERT_TRUE(received.count() > 0 || received.wait(10000));
  EXPECT_EQ(received.at(0).at(0).toInt(), GetParam());
}

INSTANTIATE_TEST_SUITE_P(Signals, TerminationSignals, testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST(TerminationSignalsLifetime, RestoresThePreviousHandlers) {
  struct sigaction before {};
  sigaction(SIGTERM, nullptr, &before);
  { TTerminationSignals watcher; }
  struct sigaction after {};
  sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
  TTerminationSignals again;  // a second watcher may follow the first
}

}  // namespace
