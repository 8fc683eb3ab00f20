#include "drawingwindow/WatchedFile.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

namespace kalvex::drawing {

namespace {

bool sameFile(const std::optional<FileStamp>& a, const std::optional<FileStamp>& b) {
    if (!a || !b)
        return a.has_value() == b.has_value();
    return a->size == b->size && a->hash == b->hash;
}

} // namespace

// The stamp tells a change from no change, it guards against no one: a quick hash of the
// content, chained block by block, keeps opening a large drawing from reading it at the
// speed of a cryptographic hash.
std::optional<FileStamp> FileStamp::of(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    constexpr qint64 kBlock = 1 << 20;
    QByteArray block(kBlock, Qt::Uninitialized);
    std::size_t hash = 0;
    for (qint64 read; (read = file.read(block.data(), kBlock)) > 0;)
        hash = qHash(QByteArrayView(block.constData(), read), hash);
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    const QFileInfo info(path);
    return FileStamp{info.size(), info.lastModified(),
                     QByteArray(reinterpret_cast<const char*>(&hash), sizeof hash)};
}

// How long the file must stay quiet after an event before its content is looked at.
constexpr int kSettleMilliseconds = 150;

WatchedFile::WatchedFile() {
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMilliseconds);
    QObject::connect(&m_settle, &QTimer::timeout, this, &WatchedFile::settled);
}

void WatchedFile::track(const QString& path) {
    m_settle.stop();
    if (!m_watcher.files().isEmpty())
        m_watcher.removePaths(m_watcher.files());
    m_path = path;
    m_stamp = FileStamp::of(path);
    m_lastTold.reset();
    if (!path.isEmpty())
        m_watcher.addPath(path);
    QObject::connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &WatchedFile::fileEvent,
                     Qt::UniqueConnection);
}

// The content decides: file times tick coarsely (a few milliseconds), so a rewrite of the
// same size can keep the time; a new time alone (the file was touched, or written with the
// same bytes) is no change.
bool WatchedFile::changedOnDisk() const {
    return !m_path.isEmpty() && !sameFile(FileStamp::of(m_path), m_stamp);
}

// A program that saves by renaming a new file over the old one ends the watch on that path:
// it is watched again under the same name.
void WatchedFile::fileEvent() {
    if (QFileInfo::exists(m_path) && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    m_settle.start();
}

void WatchedFile::settled() {
    if (m_path.isEmpty())
        return;
    if (QFileInfo::exists(m_path) && !m_watcher.files().contains(m_path))
        m_watcher.addPath(m_path);
    const std::optional<FileStamp> now = FileStamp::of(m_path);
    if (sameFile(now, m_stamp) || (m_lastTold && sameFile(now, m_lastTold)))
        return;
    m_lastTold = now;
    emit changedByOthers();
}

} // namespace kalvex::drawing
