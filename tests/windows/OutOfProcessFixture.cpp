#include "OutOfProcessFixture.h"

namespace kalvex {

void OutOfProcessTest::SetUp() {
    ASSERT_EQ(server.startError(), "") << "the fake CAD's process could not start";
    ToolTest::SetUp();
    server.setToolWindow(tool);
}

void OutOfProcessTest::TearDown() {
    ToolTest::TearDown();
    if (!server.startError().empty() || !server.running())
        return;
    // The releases of the proxies reach the fake's process as calls of their own.
    waitFor([this] { return server.log().liveObjects() == 0; });
    EXPECT_EQ(server.log().liveObjects(), 0) << "objects of the CAD the backend did not release";
    fake::FakeCadServer::noteUnserved(server.log().unservedMembers());
}

} // namespace kalvex
