#include <gtest/gtest.h>

#include <set>

#include "TabsFixture.h"
#include "com/ComApplication.h"
#include "com/Dispatch.h"

namespace kalvex {
namespace {

// After the tabs' operations have run, the program fails when the fake CAD was asked for a
// member it does not serve (WindowsTestMain.cpp). This shows that such a call is caught and
// listed under its interface, so that an empty list means every call was served.
using TabsUnserved = TabsTest;

TEST_F(TabsUnserved, AMemberTheFakeDoesNotServeFailsAndIsListed) {
    com::ComRef<IDispatch> dispatch;
    ASSERT_EQ(CoCreateInstance(com::kApplicationClass, nullptr,
                               CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IDispatch,
                               reinterpret_cast<void**>(dispatch.put())),
              S_OK);
    const com::DispatchObject application(dispatch, com::Interface::Application);
    EXPECT_THROW(application.get("Preferences"), cad::CadError);
    EXPECT_EQ(server.log().unservedMembers(), std::set<std::string>{"Application.Preferences"});
    server.log().forgetUnserved();
}

} // namespace
} // namespace kalvex
