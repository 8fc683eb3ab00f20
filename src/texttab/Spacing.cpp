#include "texttab/Spacing.h"

#include <QLineEdit>
#include <QLocale>
#include <QPalette>

#include "cadlink/CadError.h"

namespace kalvex {

namespace {

QLocale userLocale() {
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

void setTextColor(QLineEdit& edit, const QColor& color) {
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Text, color);
    edit.setPalette(palette);
}

} // namespace

double readSpacing(const QLineEdit& edit) {
    bool ok = false;
    const double value = userLocale().toDouble(edit.text().trimmed(), &ok);
    return ok ? value : 0.0;
}

double readSpacingStrictly(const QLineEdit& edit) {
    bool ok = false;
    const double value = userLocale().toDouble(edit.text().trimmed(), &ok);
    if (!ok)
        throw cad::CadError("'" + edit.text().toStdString() +
                            "' is not a valid floating point value.");
    return value;
}

QString formatSpacing(double value) {
    return userLocale().toString(value, 'f', 2);
}

bool proposeSpacing(const std::vector<Orvik>& records, QLineEdit& dX, QLineEdit& dY) {
    double x = 0.0;
    double y = 0.0;
    if (records.size() >= 2) {
        const cad::CadPoint& last = records[records.size() - 1].insPt;
        const cad::CadPoint& before = records[records.size() - 2].insPt;
        x = last.x() - before.x();
        y = last.y() - before.y();
    }
    dX.setText(formatSpacing(x));
    dY.setText(formatSpacing(y));
    const bool zero = readSpacing(dX) == 0.0 && readSpacing(dY) == 0.0;
    const QColor color = zero ? QColor(255, 0, 0) : QColor(0, 0, 0);
    setTextColor(dX, color);
    setTextColor(dY, color);
    return zero;
}

} // namespace kalvex
