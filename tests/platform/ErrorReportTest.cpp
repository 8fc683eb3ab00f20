#include <stdexcept>

#include <QPushButton>
#include <gtest/gtest.h>

#include "cadlink/CadError.h"
#include "platform/ErrorReport.h"
#include "support/FakePorts.h"

namespace kalvex::testing {

namespace {

struct ThrowCase {
    const char* what;
    std::function<void()> handler;
    const char* shownText; // UTF-8
};

} // namespace

TEST(ErrorReportTest, AnErrorLeavingAHandlerIsShownAsAMessageBoxWithItsText) {
    const ThrowCase cases[] = {
        {"CAD error", [] { throw cad::CadError("HandleToObject: 1F4 not found"); },
         "HandleToObject: 1F4 not found"},
        {"standard error", [] { throw std::out_of_range("vector index"); }, "vector index"},
        {"Japanese text", [] { throw cad::CadError("画層がロックされています"); },
         "画層がロックされています"},
        {"anything else", [] { throw 42; }, "不明なエラーが発生しました．"},
    };
    for (const ThrowCase& test : cases) {
        SCOPED_TRACE(test.what);
        FakeMessagePort messages;
        ErrorReport report(messages);
        QPushButton button;
        QObject::connect(&button, &QPushButton::clicked, report.guarded(test.handler));
        button.click();
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].text, QString::fromUtf8(test.shownText));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(messages.shown[0].buttons, MessageButtons::Ok);
    }
}

TEST(ErrorReportTest, AHandlerThatSucceedsShowsNothingAndRunsOnce) {
    FakeMessagePort messages;
    ErrorReport report(messages);
    int runs = 0;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, report.guarded([&runs] { ++runs; }));
    button.click();
    button.click();
    EXPECT_EQ(runs, 2);
    EXPECT_TRUE(messages.shown.empty());
}

} // namespace kalvex::testing
