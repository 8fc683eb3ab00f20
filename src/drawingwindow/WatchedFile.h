#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>
#include <optional>

namespace kalvex::drawing {

// What a file on disk looked like: enough to tell whether another program wrote it since.
struct FileStamp {
    qint64 size = 0;
    QDateTime modified;
    QByteArray hash; // of the content

    // Nothing when the file cannot be read.
    static std::optional<FileStamp> of(const QString& path);
};

// The file a drawing was loaded from, with what it looked like when the drawing was last
// loaded from it or saved to it. A watcher reports when another program changes it.
class WatchedFile : public QObject {
    Q_OBJECT
public:
    WatchedFile();

    QString path() const { return m_path; }
    // The drawing was just loaded from or saved to `path`: its look now is the drawing's.
    void track(const QString& path);
    // The file is no longer what the drawing was loaded from or saved to: another program
    // wrote, replaced or removed it.
    bool changedOnDisk() const;

signals:
    // Another program changed the file; told once for each change, when the file has been
    // quiet for a moment (a program writes a file in several steps, each one an event).
    void changedByOthers();

private:
    void fileEvent();
    void settled();

    QString m_path;
    std::optional<FileStamp> m_stamp;
    std::optional<FileStamp> m_lastTold;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
};

} // namespace kalvex::drawing
