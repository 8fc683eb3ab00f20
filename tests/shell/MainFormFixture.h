#pragma once

#include <memory>

#include <gtest/gtest.h>

#include "cadlink/CadLink.h"
#include "shell/TOrvikMainForm.h"
#include "support/FakePorts.h"
#include "support/FakeWindowSystem.h"

namespace kalvex::testing {

// A main window built on recording ports and a recording window system.
class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        windows.scalePercent = 125;
        form = std::make_unique<TOrvikMainForm>(fakes.ports, link);
    }

    template <typename T> T* control(const char* name) {
        return form->findChild<T*>(QString::fromLatin1(name));
    }

    FakeWindowSystem windows;
    CadLink link{.windows = windows, .waiter = windows, .createApplication = {}};
    FakePorts fakes;
    std::unique_ptr<TOrvikMainForm> form;
};

} // namespace kalvex::testing
