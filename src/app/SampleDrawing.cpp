#include "app/SampleDrawing.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace kalvex {

namespace {

const QString kSampleName = QStringLiteral("plant.dxf");

// Beside the program when installed, in the source tree when run from a build folder.
QString bundledSample() {
    const QString programDir = QCoreApplication::applicationDirPath();
    const QStringList candidates = {
        programDir + QStringLiteral("/samples/") + kSampleName,
        programDir + QStringLiteral("/../samples/") + kSampleName,
        QStringLiteral(KALVEX_SAMPLE_DIR "/") + kSampleName,
    };
    for (const QString& candidate : candidates) {
        if (QFile::exists(candidate))
            return candidate;
    }
    return {};
}

} // namespace

QString sampleDrawingCopy() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    const QString copy = folder + QLatin1Char('/') + kSampleName;
    if (QFile::exists(copy))
        return copy;
    const QString sample = bundledSample();
    if (sample.isEmpty() || !QDir().mkpath(folder) || !QFile::copy(sample, copy))
        return {};
    QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                    QFile::ReadOther);
    return copy;
}

} // namespace kalvex
