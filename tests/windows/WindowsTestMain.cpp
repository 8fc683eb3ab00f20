#include <gtest/gtest.h>
#include <objbase.h>

#include "FakeCadServer.h"
#include "FakeControl.h"

namespace {

// The fake CAD serves what the tool asks of the CAD; a member the tool asked for by name and
// no fake object served is a call the tests do not cover. The list must stay empty.
class UnservedMembers : public testing::Environment {
public:
    void TearDown() override {
        std::string listed;
        for (const std::string& member : kalvex::fake::FakeCadServer::unservedMembers())
            listed += "\n  " + member;
        EXPECT_TRUE(listed.empty())
            << "members the tool calls that the fake CAD does not serve:" << listed;
    }
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // The tool's user-interface thread is a single-threaded apartment, as a Windows program's.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 2;
    testing::AddGlobalTestEnvironment(new UnservedMembers);
    // A run that ended early may have left the fake's program registered; COM would start it
    // for the tests that expect no CAD.
    kalvex::fake::unregisterLocalServer();
    const int result = RUN_ALL_TESTS();
    CoUninitialize();
    return result;
}
