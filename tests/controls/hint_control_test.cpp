// The hint events of a drawn control: a show request once per entry after
// the delay, a hide request at every exit and click, none at all for a
// control without a hint key; and the click made of a left press and
// release over the control. The hint delays run on a manual clock, so a
// show request comes at exactly the moment the delay ends, and "nothing
// happened" means the clock went well past the delay.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "controls/QHintControlU.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/controls/ManualDelayClock.h"

namespace tw::test {
namespace {

// Comfortably longer than the hint delay.
constexpr int WellPastDelayMs = 10 * TQHint::DelayMs;

struct THintLog {
  std::vector<std::string> Events;
  int Count(const std::string& name) const {
    return int(std::count(Events.begin(), Events.end(), name));
  }
};

void Watch(TQHintControl& control, THintLog& log) {
  control.OnShowHint = [&log, &control](TQHintControl& sender) {
    EXPECT_EQ(&sender, &control);
    log.Events.push_back("show");
  };
  control.OnHideHint = [&log, &control](TQHintControl& sender) {
    EXPECT_EQ(&sender, &control);
    log.Events.push_back("hide");
  };
  control.OnClick = [&log](TQHintControl&) { log.Events.push_back("click"); };
}

void LeftClick(QWidget& widget, QPoint at = QPoint(3, 3)) {
  QTest::mousePress(&widget, Qt::LeftButton, {}, at);
  QTest::mouseRelease(&widget, Qt::LeftButton, {}, at);
}

TEST(HintControl, TheEventsAreThoseOfTheHintTimer) {
  TManualDelayClock clock;
  TQHintControl control;
  EXPECT_EQ(&control.HintTimer().Control(), &control);
  EXPECT_FALSE(control.HintTimer().OnShowHint);
  control.OnShowHint = [](TQHintControl&) {};
  EXPECT_TRUE(control.HintTimer().OnShowHint);
  control.HintTimer().OnHideHint = [](TQHintControl&) {};
  EXPECT_TRUE(control.OnHideHint);
  EXPECT_EQ(control.HintTimer().Interval(), 600);
  EXPECT_FALSE(control.HintTimer().Waiting());
}

TEST(HintControl, AControlWithoutAHintKeyRaisesNoHintEvents) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(20, 20);
  THintLog log;
  Watch(control, log);
  SendEnter(control);
  EXPECT_FALSE(control.HintTimer().Waiting());
  clock.Advance(WellPastDelayMs);
  LeftClick(control);
  SendLeave(control);
  clock.Advance(WellPastDelayMs);
  EXPECT_EQ(log.Events, std::vector<std::string>{"click"});
}

TEST(HintControl, TheShowRequestComesOnceAfterTheDelay) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(20, 20);
  control.SetHint("Undo");
  THintLog log;
  Watch(control, log);
  SendEnter(control);
  EXPECT_TRUE(control.HintTimer().Waiting());
  EXPECT_TRUE(log.Events.empty());
  clock.Advance(TQHint::DelayMs - 1);
  EXPECT_TRUE(log.Events.empty()) << "not before the delay";
  EXPECT_TRUE(control.HintTimer().Waiting());
  clock.Advance(1);
  EXPECT_EQ(log.Events, std::vector<std::string>{"show"});
  EXPECT_FALSE(control.HintTimer().Waiting());
  clock.Advance(WellPastDelayMs);
  EXPECT_EQ(log.Events, std::vector<std::string>{"show"});
}

TEST(HintControl, MovingInsideDoesNotPostponeTheShowRequest) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(40, 40);
  control.SetHint("Undo");
  THintLog log;
  Watch(control, log);
  SendEnter(control);
  // Moves far more often than the delay: were each a restart, no show
  // request could come while they go on. It comes when the delay since
  // the entry has passed.
  const int step = TQHint::DelayMs / 6;
  int waited = 0;
  for (int i = 0; i < 30; ++i) {
    QTest::mouseMove(&control, QPoint(5 + i, 5 + i % 7));
    clock.Advance(step);
    waited += step;
    EXPECT_EQ(log.Count("show"), waited >= TQHint::DelayMs ? 1 : 0) << waited << " ms";
  }
  EXPECT_EQ(log.Events, std::vector<std::string>{"show"});
}

TEST(HintControl, LeavingBeforeTheDelayHidesAndNeverShows) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(20, 20);
  control.SetHint("Undo");
  THintLog log;
  Watch(control, log);
  SendEnter(control);
  clock.Advance(TQHint::DelayMs - 1);
  SendLeave(control);
  EXPECT_FALSE(control.HintTimer().Waiting());
  clock.Advance(WellPastDelayMs);
  EXPECT_EQ(log.Events, std::vector<std::string>{"hide"});
}

TEST(HintControl, EveryEntryShowsAgainAndEveryExitHides) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(20, 20);
  control.SetHint("Undo");
  THintLog log;
  Watch(control, log);
  for (int round = 1; round <= 2; ++round) {
    SendEnter(control);
    clock.Advance(TQHint::DelayMs);
    ASSERT_EQ(log.Count("show"), round);
    SendLeave(control);
  }
  // A second exit without a show still hides.
  SendLeave(control);
  EXPECT_EQ(log.Events, (std::vector<std::string>{"show", "hide", "show", "hide", "hide"}));
}

TEST(HintControl, AClickHidesBeforeOnClick) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(20, 20);
  control.SetHint("Undo");
  THintLog log;
  Watch(control, log);
  SendEnter(control);
  clock.Advance(TQHint::DelayMs);
  ASSERT_EQ(log.Count("show"), 1);
  LeftClick(control);
  EXPECT_EQ(log.Events, (std::vector<std::string>{"show", "hide", "click"}));
}

TEST(HintControl, AClickWhileWaitingCancelsTheShowRequest) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(20, 20);
  control.SetHint("Undo");
  THintLog log;
  Watch(control, log);
  SendEnter(control);
  clock.Advance(TQHint::DelayMs / 2);
  LeftClick(control);
  clock.Advance(WellPastDelayMs);
  EXPECT_EQ(log.Events, (std::vector<std::string>{"hide", "click"}));
}

TEST(HintControl, LosingTheHintKeyWhileWaitingCancelsSilently) {
  TManualDelayClock clock;
  TQHintControl control;
  control.resize(20, 20);
  control.SetHint("Undo");
  THintLog log;
  Watch(control, log);
  SendEnter(control);
  clock.Advance(TQHint::DelayMs / 2);
  control.SetHint("");
  EXPECT_FALSE(control.HintTimer().Waiting());
  clock.Advance(WellPastDelayMs);
  SendLeave(control);
  clock.Advance(WellPastDelayMs);
  EXPECT_TRUE(log.Events.empty());
}

TEST(HintControl, TheTimerReportsItsControlAndStopsAfterShowing) {
  TManualDelayClock clock;
  TQHintControl control;
  TQHint& hint = control.HintTimer();
  std::vector<std::string> log;
  hint.OnShowHint = [&](TQHintControl& sender) {
    EXPECT_EQ(&sender, &control);
    log.push_back("show");
  };
  hint.Restart();
  hint.DoShow();
  EXPECT_FALSE(hint.Waiting());
  // Without handlers nothing happens, and hiding an idle timer is harmless.
  hint.OnShowHint = nullptr;
  hint.DoShow();
  hint.Hide();
  EXPECT_EQ(log, std::vector<std::string>{"show"});
}

// The program's own delays are timers of the event loop: pending once
// started, not after a stop, and a delay of no time ends at the loop's
// next pass without any waiting.
TEST(HintControl, TheRealClocksDelaysAreTimersOfTheEventLoop) {
  std::unique_ptr<TQDelay> delay = RealDelayClock().MakeDelay();
  int elapsed = 0;
  delay->OnElapsed = [&elapsed] { ++elapsed; };
  EXPECT_FALSE(delay->Active());
  delay->Start(TQHint::DelayMs);
  EXPECT_TRUE(delay->Active());
  delay->Stop();
  EXPECT_FALSE(delay->Active());
  delay->Start(0);
  EXPECT_EQ(elapsed, 0) << "not inside Start";
  for (int pass = 0; pass < 10 && elapsed == 0; ++pass) QCoreApplication::processEvents();
  EXPECT_EQ(elapsed, 1);
  EXPECT_FALSE(delay->Active()) << "single shot";
  // Without a test clock the controls use this one.
  EXPECT_EQ(&CurrentDelayClock(), &RealDelayClock());
}

TEST(HintControl, OnlyALeftPressAndReleaseOverTheControlClick) {
  TQHintControl control;
  control.resize(20, 20);
  int clicks = 0;
  std::vector<std::string> downs;
  control.OnClick = [&](TQHintControl&) { ++clicks; };
  control.OnMouseDown = [&](TQHintControl&, Qt::MouseButton button, Qt::MouseButtons,
                            Qt::KeyboardModifiers, int x, int y) {
    downs.push_back(std::to_string(int(button)) + "@" + std::to_string(x) + "," +
                    std::to_string(y));
  };
  LeftClick(control, QPoint(4, 6));
  EXPECT_EQ(clicks, 1);
  // Released outside: no click.
  QTest::mousePress(&control, Qt::LeftButton, {}, QPoint(4, 6));
  QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(25, 6));
  EXPECT_EQ(clicks, 1);
  // The right button reports its press but does not click.
  QTest::mousePress(&control, Qt::RightButton, {}, QPoint(7, 8));
  QTest::mouseRelease(&control, Qt::RightButton, {}, QPoint(7, 8));
  EXPECT_EQ(clicks, 1);
  // A release without a press on the control is no click either.
  QTest::mouseRelease(&control, Qt::LeftButton, {}, QPoint(4, 6));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(downs, (std::vector<std::string>{"1@4,6", "1@4,6", "2@7,8"}));
}

}  // namespace
}  // namespace tw::test
