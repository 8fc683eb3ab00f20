#include "shell/Screenshot.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace kalvex {

namespace {

constexpr int kTitleHeight = 22;
constexpr int kGap = 8;
constexpr int kPollMilliseconds = 50;
constexpr int kPollLimit = 100;
constexpr int kSettleMilliseconds = 300;

QList<QWidget*> visibleWindows() {
    QList<QWidget*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && !widget->inherits("QMenu"))
            windows.append(widget);
    }
    std::sort(windows.begin(), windows.end(),
              [](QWidget* a, QWidget* b) { return a->x() < b->x(); });
    return windows;
}

bool allExposed(const QList<QWidget*>& windows) {
    for (QWidget* window : windows) {
        if (!window->windowHandle() || !window->windowHandle()->isExposed())
            return false;
    }
    return !windows.isEmpty();
}

QImage framed(QWidget* window) {
    const QImage content = window->grab().toImage();
    QImage image(content.width(), content.height() + kTitleHeight, QImage::Format_ARGB32);
    image.fill(QColor(0x2b, 0x57, 0x9a));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.setFont(window->font());
    painter.drawText(QRect(6, 0, image.width() - 12, kTitleHeight),
                     Qt::AlignVCenter | Qt::AlignLeft, window->windowTitle());
    painter.drawImage(0, kTitleHeight, content);
    return image;
}

void saveAndQuit(const QString& file) {
    const QImage picture = pictureOfWindows();
    const bool saved = !picture.isNull() && picture.save(file, "PNG");
    if (!saved)
        std::fprintf(stderr, "kalvex: cannot write the screenshot %s\n", qPrintable(file));
    QCoreApplication::exit(saved ? 0 : 1);
}

} // namespace

QImage pictureOfWindows() {
    QList<QImage> pictures;
    int width = 0;
    int height = 0;
    for (QWidget* window : visibleWindows()) {
        pictures.append(framed(window));
        width += pictures.last().width() + (pictures.size() > 1 ? kGap : 0);
        height = std::max(height, pictures.last().height());
    }
    if (pictures.isEmpty())
        return {};
    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    int left = 0;
    for (const QImage& picture : pictures) {
        painter.drawImage(left, 0, picture);
        left += picture.width() + kGap;
    }
    return sheet;
}

void takeScreenshotWhenPainted(const QString& file) {
    auto* poll = new QTimer(qApp);
    poll->setInterval(kPollMilliseconds);
    QObject::connect(poll, &QTimer::timeout, qApp, [poll, file, polls = 0]() mutable {
        if (!allExposed(visibleWindows()) && ++polls < kPollLimit)
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(kSettleMilliseconds, qApp, [file] { saveAndQuit(file); });
    });
    poll->start();
}

} // namespace kalvex
