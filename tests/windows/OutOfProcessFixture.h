#pragma once

#include "BackendFixture.h"
#include "RemoteCad.h"

namespace kalvex {

// The fake CAD in a process of its own, as the real CAD is: the tool's calls cross processes
// through COM's proxies, and the tests read and set the fake's drawing through its control
// channel. A fresh fake runs for every test; after it the fake must hold no object the backend
// asked for.
class OutOfProcessTest : public ToolTest {
protected:
    void SetUp() override;
    void TearDown() override;
    void expectToolInFront() const { ToolTest::expectToolInFront(server.mainWindow()); }

    fake::RemoteCad server;
};

} // namespace kalvex
