#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace kalvex::testing {

namespace {

constexpr int kRunTimeout = 30000;

// Plays scripts with the real program on a copy of the sample drawing, headless.
class PlayTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    QString drawing;

    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        drawing = home.filePath(QStringLiteral("plant.dxf"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(KALVEX_SOURCE_DIR "/samples/plant.dxf"), drawing));
        QFile::setPermissions(drawing, QFile::ReadOwner | QFile::WriteOwner);
    }

    struct Run {
        int status = -1;
        QString output;
    };

    Run play(const QByteArray& script) {
        const QString path = home.filePath(QStringLiteral("s.play"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.insert(QStringLiteral("HOME"), home.path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(home.path());
        process.start(QStringLiteral(KALVEX_PROGRAM),
                      {QStringLiteral("--drawing"), drawing, QStringLiteral("--play"), path});
        EXPECT_TRUE(process.waitForFinished(kRunTimeout));
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput())};
    }
};

} // namespace

TEST_F(PlayTest, ExpectationsThatHoldExitWithZero) {
    const Run run = play("expect-count TEXT 60\n"
                         "expect-entity 171 text \"TB-01\"\n"
                         "expect-entity 172 point 262 170\n"
                         "expect-checked CheckBox1 yes\n"
                         "tab 2\n"
                         "settext Edit3 \"TB\"\n"
                         "expect Edit3 \"TB\"\n"
                         "lock 端子\n"
                         "unlock 端子\n"
                         "save copy.dxf\n");
    EXPECT_EQ(run.status, 0) << run.output.toStdString();
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("copy.dxf"))));
}

TEST_F(PlayTest, AFailedExpectationIsReportedAndExitsWithThree) {
    const Run run = play("expect-entity 171 text \"TB-99\"\n"
                         "expect-count INSERT 1\n"
                         "expect-entity 1AA deleted\n");
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(run.output.contains(QStringLiteral("s.play:1: expected \"TB-99\", got \"TB-01\"")))
        << run.output.toStdString();
    EXPECT_TRUE(run.output.contains(QStringLiteral("s.play:3: expected deleted, got present")));
}

TEST_F(PlayTest, AScriptErrorNamesTheLineAndExitsWithTwo) {
    const Run run = play("expect-count TEXT 60\nclick NoSuchButton\nexpect-count TEXT 0\n");
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.output.contains(QStringLiteral("s.play:2: unknown control NoSuchButton")))
        << run.output.toStdString();
}

TEST_F(PlayTest, ClosingTheDrawingWindowLeavesTheToolWithoutCad) {
    const Run run = play("cad closed\n"
                         "pick 171\n"
                         "click SpeedButton1\n"
                         "expect SynEdit1 \"\"\n"
                         "expect-no-message\n");
    EXPECT_EQ(run.status, 0) << run.output.toStdString();
}

} // namespace kalvex::testing
