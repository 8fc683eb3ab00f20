#include <gtest/gtest.h>

#include "BackendFixture.h"
#include "cadlink/HandOff.h"
#include "cadlink/MessageFilter.h"
#include "cadlink/Selection.h"
#include "cadlink/Text.h"
#include "com/ComMessageFilter.h"

namespace kalvex {
namespace {

using ConnectionCad = BackendTest;

TEST_F(ConnectionCad, ConnectsThroughTheClassRegistrationWhileTheWindowExists) {
    cad::ApplicationPtr app;
    ASSERT_TRUE(ConnectCad(link, app));
    EXPECT_EQ(server.log().applicationsCreated, 1);
    EXPECT_EQ(app->Hwnd(), reinterpret_cast<WindowHandle>(server.mainWindow()));
    app.reset();
    EXPECT_EQ(server.log().liveObjects, 0) << "the reference goes with the operation";
}

TEST_F(ConnectionCad, ClosedCadWindowMeansNoCadAndNoCall) {
    server.closeMainWindow();
    cad::ApplicationPtr app;
    EXPECT_FALSE(ConnectCad(link, app));
    EXPECT_EQ(app, nullptr);

    ShowWindow(tool, SW_MINIMIZE);
    CadSession session(link, CadOperation::Fetch);
    EXPECT_FALSE(session.connected());
    session.finish();
    EXPECT_FALSE(IsIconic(tool)) << "the tool comes back whether or not a CAD was there";
    expectToolInFront();
    EXPECT_EQ(server.log().applicationsCreated, 0);
    EXPECT_TRUE(server.log().calls().empty());
}

TEST_F(ConnectionCad, FetchRestoresTheCadHandsItTheForegroundAndTakesItBack) {
    ShowWindow(server.mainWindow(), SW_MINIMIZE);
    server.drawing().queuePick({server.drawing().addText("TB-01", {0, 0, 0})});
    {
        CadSession session(link, CadOperation::Fetch);
        ASSERT_TRUE(session.connected());
        EXPECT_FALSE(IsIconic(server.mainWindow()));
        EXPECT_EQ(GetForegroundWindow(), server.mainWindow());
        EXPECT_TRUE(waitFor([this] { return server.cad().escapes > 0; }))
            << "the CAD in front got Escape to end its command";
        auto picked = PickOnScreen(*session.document(), TextPickFilter(), waiter);
        ASSERT_NE(picked, nullptr);
        EXPECT_EQ(picked->set().Count(), 1);
        picked.reset();
        session.finish();
    }
    EXPECT_TRUE(server.cad().toolMinimisedWhilePicking);
    EXPECT_TRUE(server.cad().cadInFrontWhilePicking);
    EXPECT_FALSE(IsIconic(tool));
    expectToolInFront();
}

// Stands for a reference an earlier operation left in the out parameter.
class EarlierApplication : public cad::Application {
public:
    WindowHandle Hwnd() override { return 0; }
    cad::DocumentPtr ActiveDocument() override { return nullptr; }
    void ZoomWindow(const cad::CadPoint&, const cad::CadPoint&) override {}
};

TEST(ConnectionWithoutServer, AWindowWithoutTheCadsClassGivesNoConnection) {
    HWND window = CreateWindowExW(0, L"STATIC", L"nanoCAD 5", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    Win32WindowSystem windows;
    SleepWaiter waiter;
    CadLink link{windows, waiter, com::createApplication};
    cad::ApplicationPtr app = std::make_shared<EarlierApplication>();
    EXPECT_FALSE(ConnectCad(link, app));
    EXPECT_EQ(app, nullptr) << "a failed creation clears the reference";
    DestroyWindow(window);
}

// Counts what COM and the backend ask the filter, answering as the tool's filter does.
class CountingFilter : public TMessageFilter {
public:
    std::int32_t RetryRejectedCall(std::uint32_t tickCount, std::uint32_t rejectType) override {
        ++asked;
        return TMessageFilter::RetryRejectedCall(tickCount, rejectType);
    }
    int asked = 0;
};

::IMessageFilter* registeredWithCom() {
    ::IMessageFilter* current = nullptr;
    CoRegisterMessageFilter(nullptr, &current);
    CoRegisterMessageFilter(current, nullptr);
    if (current)
        current->Release();
    return current;
}

TEST(ConnectionMessageFilter, IsRegisteredWithComAndAnswersAsTheToolDoes) {
    com::ComMessageFilterRegistration registration;
    TMessageFilter filter;
    filter.RegisterFilter();
    ::IMessageFilter* registered = registeredWithCom();
    ASSERT_NE(registered, nullptr);
    EXPECT_EQ(registered->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr),
              DWORD(SERVERCALL_ISHANDLED));
    EXPECT_EQ(registered->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 1000u);
    EXPECT_EQ(registered->RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED), DWORD(-1));
    EXPECT_EQ(registered->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL),
              DWORD(PENDINGMSG_WAITNOPROCESS));
    filter.RevokeFilter();
    EXPECT_EQ(registeredWithCom(), nullptr);
}

// A TEXT on the fake CAD and the backend's object for it.
class ConnectionRetry : public BackendTest {
protected:
    void SetUp() override {
        BackendTest::SetUp();
        handle = server.drawing().addText("TB-01", {0, 0, 0});
        text = cad::entityAs<cad::Text>(connect()->ActiveDocument()->HandleToObject(handle));
    }
    void TearDown() override {
        text.reset();
        BackendTest::TearDown();
    }
    const std::string& textOnTheCad() { return server.drawing().at(handle).text; }

    std::string handle;
    std::shared_ptr<cad::Text> text;
};

// The same with the tool's filter registered, as the main window registers it.
class ConnectionRetryWithFilter : public ConnectionRetry {
protected:
    void SetUp() override {
        ConnectionRetry::SetUp();
        filter.RegisterFilter();
    }
    void TearDown() override {
        filter.RevokeFilter();
        ConnectionRetry::TearDown();
    }

    com::ComMessageFilterRegistration registration;
    CountingFilter filter;
};

TEST_F(ConnectionRetryWithFilter, ACallABusyCadTurnsAwayIsRetriedUntilItIsTaken) {
    server.log().busyCalls = 2;
    text->SetTextString("TB-02");
    EXPECT_EQ(server.log().rejections, 2);
    EXPECT_EQ(filter.asked, 2);
    EXPECT_EQ(textOnTheCad(), "TB-02");
}

TEST_F(ConnectionRetryWithFilter, ARejectedCallIsNotRetriedAndFails) {
    server.log().refusedCalls = 1;
    EXPECT_THROW(text->SetTextString("TB-02"), cad::CadError);
    EXPECT_EQ(filter.asked, 1);
    EXPECT_EQ(textOnTheCad(), "TB-01");
}

TEST_F(ConnectionRetry, WithoutAFilterABusyCadsAnswerFailsTheCall) {
    server.log().busyCalls = 1;
    EXPECT_THROW(text->TextString(), cad::CadError);
    EXPECT_EQ(text->TextString(), "TB-01") << "the next call goes through";
}

} // namespace
} // namespace kalvex
