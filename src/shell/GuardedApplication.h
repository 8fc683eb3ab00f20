#pragma once

#include <QApplication>

namespace kalvex {

class ErrorReport;

// The application object. An exception that escapes an event handler not connected through
// the error report is still caught here and shown by it, instead of ending the program.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    void setErrorReport(ErrorReport* report) { m_report = report; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReport* m_report = nullptr;
};

} // namespace kalvex
