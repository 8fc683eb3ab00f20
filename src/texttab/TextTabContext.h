#pragma once

#include "cadlink/CadLink.h"
#include "platform/MessagePort.h"
#include "workstate/WorkState.h"

class QLabel;

namespace kalvex {

class TextTabPage;

// What the TEXT tab's operations work on: the page's controls, the shared work state, the way
// to the CAD, the message boxes and the two panels of the window's status bar.
struct TextTabContext {
    TextTabPage& page;
    WorkState& work;
    CadLink& link;
    MessagePort& messages;
    QLabel* statusPanel0;
    QLabel* statusPanel1;

    std::vector<Orvik>& records() { return work.records.textRecords; }
};

} // namespace kalvex
