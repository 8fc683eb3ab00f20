#include "qtplatform/EventLoopWaiter.h"

#include <QEventLoop>
#include <QTimer>

namespace kalvex {

void EventLoopWaiter::wait(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace kalvex
