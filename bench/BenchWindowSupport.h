#pragma once

#include <QApplication>
#include <benchmark/benchmark.h>

#include "platform/MessagePort.h"

namespace kalvex::bench {

// Answers every message with OK, as a user clicking through would.
class SilentMessages : public MessagePort {
public:
    MessageAnswer show(const MessageRequest&) override { return MessageAnswer::Ok; }
};

// The main of a benchmark of windows: off screen, with an application object.
inline int runWindowBenchmarks(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}

} // namespace kalvex::bench
