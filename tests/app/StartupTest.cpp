#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace kalvex::testing {

namespace {

constexpr int kStartTimeout = 15000;

// Runs the program as a user would, headless, with a home and runtime directory of its own.
class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        QDir(home.path()).mkdir(QStringLiteral("run"));
        QFile::setPermissions(runtimeDir(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                QFileDevice::ExeOwner);
    }

    QString runtimeDir() const { return home.filePath(QStringLiteral("run")); }

    void prepare(QProcess& process) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir());
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(KALVEX_PROGRAM));
    }

    QTemporaryDir home;
};

} // namespace

TEST_F(ProgramTest, VersionIsPrintedWithoutStartingTheWindow) {
    QProcess process;
    prepare(process);
    process.setArguments({QStringLiteral("--version")});
    process.start();
    ASSERT_TRUE(process.waitForFinished(kStartTimeout));
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(process.readAllStandardOutput(), QByteArray("Kalvex 2.3b 2025.06.04\n"));
}

// --render needs no display and no window: the picture has the size asked for and shows the
// sample drawing; an unreadable drawing ends with 2 and writes nothing.
TEST_F(ProgramTest, RenderWritesThePictureOfADrawing) {
    const QString file = home.filePath(QStringLiteral("plant.png"));
    QProcess process;
    prepare(process);
    QProcessEnvironment environment = process.processEnvironment();
    environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
    environment.remove(QStringLiteral("DISPLAY"));
    process.setProcessEnvironment(environment);
    process.setArguments({QStringLiteral("--render"),
                          QStringLiteral(KALVEX_SOURCE_DIR "/samples/plant.dxf"), file,
                          QStringLiteral("--size"), QStringLiteral("320x200")});
    process.start();
    ASSERT_TRUE(process.waitForFinished(kStartTimeout));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QImage picture(file);
    ASSERT_EQ(picture.size(), QSize(320, 200));
    int ink = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            ink += picture.pixel(x, y) != picture.pixel(0, 0) ? 1 : 0;
    EXPECT_GT(ink, 500);

    const QString missing = home.filePath(QStringLiteral("missing.png"));
    process.setArguments(
        {QStringLiteral("--render"), home.filePath(QStringLiteral("none.dxf")), missing});
    process.start();
    ASSERT_TRUE(process.waitForFinished(kStartTimeout));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

TEST_F(ProgramTest, ScreenshotShowsTheMainWindow) {
    const QString file = home.filePath(QStringLiteral("shot.png"));
    QProcess process;
    prepare(process);
    process.setArguments({QStringLiteral("--screenshot"), file});
    process.start();
    ASSERT_TRUE(process.waitForFinished(kStartTimeout));
    EXPECT_EQ(process.exitCode(), 0);
    const QImage picture(file);
    ASSERT_FALSE(picture.isNull());
    // The 330 x 320 window under its title strip.
    EXPECT_GE(picture.width(), 330);
    EXPECT_GE(picture.height(), 320);
    EXPECT_LT(picture.width(), 2000);
    EXPECT_GT(QFileInfo(file).size(), 2000);
}

TEST_F(ProgramTest, ScreenshotToAnUnwritablePlaceFails) {
    QProcess process;
    prepare(process);
    process.setArguments(
        {QStringLiteral("--screenshot"), home.filePath(QStringLiteral("missing/dir/shot.png"))});
    process.start();
    ASSERT_TRUE(process.waitForFinished(kStartTimeout));
    EXPECT_NE(process.exitCode(), 0);
}

TEST_F(ProgramTest, UnknownArgumentsAreRefused) {
    QProcess process;
    prepare(process);
    process.setArguments({QStringLiteral("--no-such-option")});
    process.start();
    ASSERT_TRUE(process.waitForFinished(kStartTimeout));
    EXPECT_EQ(process.exitCode(), 2);
}

// A second start while the first runs ends at once and silently, since it never opens a
// window; a screenshot is a run of its own and writes its picture beside the first. Once the
// first has ended, a plain start succeeds again (and holds the lock itself).
TEST_F(ProgramTest, SecondStartWhileOneRunsEndsAtOnceButAScreenshotRunsBesideIt) {
    QProcess first;
    prepare(first);
    first.start();
    ASSERT_TRUE(first.waitForStarted(kStartTimeout));
    QElapsedTimer lockWait;
    lockWait.start();
    while (QDir(runtimeDir()).entryList(QDir::Files).isEmpty() &&
           lockWait.elapsed() < kStartTimeout)
        QTest::qWait(20);

    QProcess second;
    prepare(second);
    second.start();
    const bool secondEnded = second.waitForFinished(kStartTimeout);

    const QString file = home.filePath(QStringLiteral("beside.png"));
    QProcess shot;
    prepare(shot);
    shot.setArguments({QStringLiteral("--screenshot"), file});
    shot.start();
    const bool shotEnded = shot.waitForFinished(kStartTimeout);
    const bool firstStillRuns = first.state() == QProcess::Running;
    first.kill();
    first.waitForFinished(kStartTimeout);
    ASSERT_TRUE(secondEnded);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
    ASSERT_TRUE(shotEnded);
    EXPECT_EQ(shot.exitCode(), 0);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(firstStillRuns);

    QProcess third;
    prepare(third);
    third.start();
    ASSERT_TRUE(third.waitForStarted(kStartTimeout));
    // Holding the lock again, it keeps running until it is ended.
    EXPECT_FALSE(third.waitForFinished(1500));
    third.kill();
    third.waitForFinished(kStartTimeout);
}

} // namespace kalvex::testing
