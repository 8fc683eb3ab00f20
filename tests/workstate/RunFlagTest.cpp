#include <stdexcept>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

#include "workstate/RunFlag.h"

namespace kalvex::testing {

namespace {

// A long operation over `count` items, as the tabs run them. `duringItem` runs inside item i.
struct Operation {
    bool& runFlag;
    QPushButton& abortButton;
    std::vector<int> done;
    bool abortButtonEnabledWhileRunning = false;

    void run(int count, const std::function<void(int)>& duringItem) {
        RunFlagScope scope(runFlag, &abortButton);
        abortButtonEnabledWhileRunning = abortButton.isEnabled();
        for (int item = 0; item < count; ++item) {
            duringItem(item);
            done.push_back(item);
            if (!scope.proceed())
                break;
        }
    }
};

// An item that lasts longer than the interval between rounds of the event loop, so that every
// check after it lets pending events run.
void slowItem() {
    std::this_thread::sleep_for(RunFlagScope::kEventInterval + std::chrono::milliseconds(1));
}

} // namespace

class RunFlagTest : public ::testing::Test {
protected:
    void SetUp() override {
        abortButton.setEnabled(false);
        QObject::connect(&abortButton, &QPushButton::clicked, [this] { abortRun(runFlag); });
    }

    bool runFlag = false;
    QPushButton abortButton;
    Operation operation{runFlag, abortButton};
};

TEST_F(RunFlagTest, AClickOnTheAbortButtonStopsTheOperationAfterTheCurrentItem) {
    operation.run(10, [this](int item) {
        slowItem();
        if (item == 3) // the user's click arrives as an event while item 3 is handled
            QTimer::singleShot(0, &abortButton, &QPushButton::click);
    });
    EXPECT_EQ(operation.done, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(operation.abortButtonEnabledWhileRunning);
    EXPECT_FALSE(runFlag);
    EXPECT_FALSE(abortButton.isEnabled());
}

TEST_F(RunFlagTest, AnOperationLeftAloneHandlesEveryItem) {
    operation.run(5, [](int) {});
    EXPECT_EQ(operation.done.size(), 5u);
    EXPECT_FALSE(runFlag);
    EXPECT_FALSE(abortButton.isEnabled());
}

TEST_F(RunFlagTest, AnErrorInsideTheOperationStillEndsTheRun) {
    EXPECT_THROW(operation.run(5,
                               [](int item) {
                                   if (item == 2)
                                       throw std::runtime_error("CAD call failed");
                               }),
                 std::runtime_error);
    EXPECT_EQ(operation.done, (std::vector<int>{0, 1}));
    EXPECT_FALSE(runFlag);
    EXPECT_FALSE(abortButton.isEnabled());
}

TEST_F(RunFlagTest, AnOperationWithoutAbortButtonStillFollowsTheFlag) {
    int handled = 0;
    {
        RunFlagScope scope(runFlag, nullptr);
        EXPECT_TRUE(runFlag);
        for (int item = 0; item < 5; ++item) {
            ++handled;
            slowItem();
            if (item == 1)
                QTimer::singleShot(0, [this] { abortRun(runFlag); });
            if (!scope.proceed())
                break;
        }
    }
    EXPECT_EQ(handled, 2);
    EXPECT_FALSE(runFlag);
}

// A click posted before a run is seen at its first item, however quick.
TEST_F(RunFlagTest, AnAbortWaitingWhenTheRunStartsStopsItAfterTheFirstItem) {
    QTimer::singleShot(0, &abortButton, &QPushButton::click);
    operation.run(1000, [](int) {});
    EXPECT_EQ(operation.done, (std::vector<int>{0}));
}

// Quick items share rounds of the event loop: a timer that fires on every round fires about
// once per interval, not once per item, and still fires while the run goes on.
TEST_F(RunFlagTest, QuickItemsLetEventsRunAboutOncePerInterval) {
    int rounds = 0;
    QTimer everyRound;
    everyRound.setInterval(0);
    QObject::connect(&everyRound, &QTimer::timeout, [&] { ++rounds; });
    everyRound.start();
    QElapsedTimer clock;
    clock.start();
    const int items = 200000;
    operation.run(items, [](int item) {
        if (item % 1000 == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    });
    const qint64 elapsed = clock.elapsed();
    EXPECT_EQ(operation.done.size(), static_cast<std::size_t>(items));
    EXPECT_GE(rounds, 2);
    EXPECT_LE(rounds, elapsed / RunFlagScope::kEventInterval.count() + 2);
}

} // namespace kalvex::testing
