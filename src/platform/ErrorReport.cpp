#include "platform/ErrorReport.h"

#include <QString>

namespace kalvex {

void ErrorReport::report(const std::exception& error) {
    m_messages.show({QString::fromUtf8(error.what()), MessageIcon::Error, MessageButtons::Ok});
}

void ErrorReport::reportUnknown() {
    m_messages.show(
        {QStringLiteral("不明なエラーが発生しました．"), MessageIcon::Error, MessageButtons::Ok});
}

void ErrorReport::run(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& error) {
        report(error);
    } catch (...) {
        reportUnknown();
    }
}

} // namespace kalvex
