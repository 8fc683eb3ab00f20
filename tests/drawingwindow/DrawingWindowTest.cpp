#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPaintEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "cadlink/Connection.h"
#include "cadlink/FollowView.h"
#include "cadlink/Text.h"
#include "drawingwindow/DrawingWindow.h"
#include "drawingwindow/PromptLine.h"
#include "kit/DrawingBuilder.h"
#include "qtplatform/EventLoopWaiter.h"
#include "support/FakePorts.h"

namespace kalvex::drawing {
namespace {

using cad::SelectionFilter;

// Records what the drawing area is asked to paint.
class PaintRecorder : public QObject {
public:
    explicit PaintRecorder(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            painted += static_cast<QPaintEvent*>(event)->region();
            ++paints;
        }
        return false;
    }
    QRegion painted;
    int paints = 0;
};

// A drawing window on a small drawing: three TEXTs in a row, one on a locked layer, and a
// block reference with one attribute further right.
class DrawingWindowTest : public ::testing::Test {
protected:
    testing::FakeMessagePort messages;
    DrawingWindow window{messages, QString::fromStdString(kCadWindowTitle)};
    std::string left, middle, lockedText, insert;
    QtWindowSystem windows;
    EventLoopWaiter waiter;
    CadLink link{windows, waiter, [this] { return window.connect(); }, 0};

    void SetUp() override {
        DrawingBuilder b;
        b.layer("OLD", LayerState::Locked);
        b.block("TAG", {{"NAME", "Name?", ""}});
        left = b.text({.text = "TB-01", .insertion = {0, 0, 0}, .height = 5});
        middle = b.text({.text = "TB-02", .insertion = {40, 0, 0}, .height = 5});
        lockedText =
            b.text({.text = "旧端子", .insertion = {80, 0, 0}, .layer = "OLD", .height = 5});
        insert = b.insert(
            {.block = "TAG",
             .insertion = {120, 0, 0},
             .attributes = {{.tag = "NAME", .text = "P-101", .insertion = {120, 0, 0}}}})[0];
        window.showDrawing(b.drawing(), QString());
        window.resize(900, 500);
        window.show();
        QCoreApplication::processEvents();
        window.canvas()->zoomExtents();
    }

    // Paints what is pending, so that what follows starts from a kept picture.
    void settle() {
        window.canvas()->repaint();
        QCoreApplication::processEvents();
    }

    std::shared_ptr<cad::Text> textOf(const cad::ApplicationPtr& app, const std::string& handle) {
        return cad::entityAs<cad::Text>(app->ActiveDocument()->HandleToObject(handle));
    }

    QPoint screenOf(double x, double y) {
        return window.canvas()->transform().toScreen(QPointF(x, y)).toPoint();
    }

    // Runs the user's actions once the selection has started, then picks with the filter.
    cad::SelectionSetPtr pickWith(const SelectionFilter& filter, std::function<void()> actions) {
        auto sets = window.model()->application()->ActiveDocument()->GetSelectionSets();
        auto set = sets->Add("PICK" + std::to_string(sets->Count()));
        QTimer::singleShot(0, [actions] { actions(); });
        set->SelectOnScreen(filter);
        return set;
    }

    std::vector<std::string> handles(const cad::SelectionSetPtr& set) {
        std::vector<std::string> result;
        for (int i = 0; i < set->Count(); ++i)
            result.push_back(set->Item(i)->Handle());
        return result;
    }

    void drag(QPoint from, QPoint to) {
        DrawingCanvas* canvas = window.canvas();
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QTest::mouseMove(canvas, (from + to) / 2);
        QTest::mouseMove(canvas, to);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
    }
};

TEST_F(DrawingWindowTest, ClicksPickTheEntityUnderThePickBoxInOrder) {
    auto set = pickWith(SelectionFilter::of({{0, "TEXT"}}), [this] {
        QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, screenOf(42, 2));
        QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, screenOf(121, 1)); // the INSERT
        QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, screenOf(1, 2));
        QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, screenOf(20, 40)); // nothing
        QTest::keyClick(window.canvas(), Qt::Key_Return);
    });
    EXPECT_EQ(handles(set), (std::vector<std::string>{middle, left}));
}

TEST_F(DrawingWindowTest, WindowTakesWhatLiesInsideAndCrossingWhatItTouches) {
    // Left to right around the first TEXT and half of the second: only the first lies inside.
    auto window1 = pickWith(SelectionFilter::of({{0, "TEXT,INSERT"}}), [this] {
        drag(screenOf(-5, -5), screenOf(50, 10));
        QTest::mouseClick(window.canvas(), Qt::RightButton, {}, screenOf(0, 50));
    });
    EXPECT_EQ(handles(window1), std::vector<std::string>{left});
    // Right to left over the same area touches both; locked layers can be picked too.
    auto crossing = pickWith(SelectionFilter::of({{0, "TEXT"}}), [this] {
        drag(screenOf(50, 10), screenOf(-5, -5));
        drag(screenOf(130, 10), screenOf(78, -5)); // the locked TEXT and the INSERT
        QTest::keyClick(window.canvas(), Qt::Key_Space);
    });
    EXPECT_EQ(handles(crossing), (std::vector<std::string>{left, middle, lockedText}));
}

TEST_F(DrawingWindowTest, EscapeCancelsTheSelection) {
    auto set = window.model()->application()->ActiveDocument()->GetSelectionSets()->Add("T");
    QTimer::singleShot(0, [this] {
        QTest::mouseClick(window.canvas(), Qt::LeftButton, {}, screenOf(1, 2));
        QTest::keyClick(window.canvas(), Qt::Key_Escape);
    });
    EXPECT_THROW(set->SelectOnScreen(SelectionFilter::of({{0, "TEXT"}})), cad::CadError);
    EXPECT_EQ(set->Count(), 0);
}

TEST_F(DrawingWindowTest, EscapeFromTheHandOffEndsARunningSelection) {
    auto set = window.model()->application()->ActiveDocument()->GetSelectionSets()->Add("T");
    QTimer::singleShot(0, [this] {
        window.activateWindow();
        window.canvas()->setFocus();
        cad::ApplicationPtr app;
        ASSERT_TRUE(ConnectCad(link, app));
        windows.setForegroundWindow(app->Hwnd());
        windows.sendKey(kVirtualKeyEscape, false);
    });
    EXPECT_THROW(set->SelectOnScreen(SelectionFilter::of({{0, "TEXT"}})), cad::CadError);
    EXPECT_FALSE(window.canvas()->isPicking());
}

TEST_F(DrawingWindowTest, ZoomWindowAndViewSizeAgreeWithWhatIsShown) {
    auto app = window.connect();
    app->ZoomWindow(cad::CadPoint(910, 450, 0), cad::CadPoint(1090, 550, 0));
    const double viewSize = app->ActiveDocument()->GetVariable("VIEWSIZE");
    const QRectF shown = window.canvas()->transform().visibleArea();
    EXPECT_NEAR(shown.height(), viewSize, 1e-6);
    EXPECT_NEAR(shown.center().x(), 1000, 1e-6);
    EXPECT_NEAR(shown.center().y(), 500, 1e-6);
    // The window's width fits in what is shown.
    EXPECT_GE(shown.width(), 180 - 1e-6);
}

// However the view moves, the coordinate line shows it afterwards.
TEST_F(DrawingWindowTest, TheCoordinateLineShowsTheViewAfterEveryChange) {
    const auto* line = window.findChild<QLabel*>(QStringLiteral("CoordinateLine"));
    ASSERT_NE(line, nullptr);
    window.connect()->ZoomWindow(cad::CadPoint(910, 450, 0), cad::CadPoint(1090, 550, 0));
    EXPECT_TRUE(line->text().startsWith(QStringLiteral("中心 1000.000, 500.000")))
        << line->text().toStdString();
    window.canvas()->panByPixels(QPointF(10, 0));
    const ViewState& view = window.model()->view();
    EXPECT_TRUE(line->text().startsWith(QStringLiteral("中心 %1,").arg(view.centerX(), 0, 'f', 3)))
        << line->text().toStdString();
    DrawingBuilder b;
    b.text({.text = "X", .insertion = {5000, 7000, 0}, .height = 5});
    window.showDrawing(b.drawing(), QString());
    EXPECT_TRUE(
        line->text().contains(QStringLiteral("%1").arg(window.model()->view().height(), 0, 'f', 3)))
        << line->text().toStdString();
}

TEST_F(DrawingWindowTest, FollowViewPutsTheMarkerAtTheCentreOfTheDrawingArea) {
    cad::ApplicationPtr app;
    ASSERT_TRUE(ConnectCad(link, app));
    link.MonitorScalePercent = ReadMonitorScale(windows);
    FollowView(link, *app, cad::CadPoint(40, 0), kFollowPenWidth, kFollowMarkerRatio);
    const auto& marker = window.canvas()->marker();
    ASSERT_EQ(marker.size(), 4u);
    const QPointF centre(window.canvas()->width() / 2, window.canvas()->height() / 2);
    EXPECT_NEAR(marker[0].x(), centre.x(), 1.0);
    EXPECT_NEAR(marker[0].y(), centre.y(), 1.0);
    const int a = static_cast<int>(window.canvas()->width() * 0.05);
    EXPECT_NEAR(marker[1].x(), centre.x() - a, 1.0);
    // The point followed is now in the middle of the view.
    EXPECT_NEAR(window.model()->view().centerX(), 40, 1e-6);
}

TEST_F(DrawingWindowTest, ClosingTheWindowMeansTheCadIsNotRunning) {
    cad::ApplicationPtr app;
    EXPECT_TRUE(ConnectCad(link, app));
    app.reset();
    window.close();
    EXPECT_FALSE(ConnectCad(link, app));
}

TEST_F(DrawingWindowTest, ADamagedFileIsReportedAndTheDrawingStays) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("damaged.dxf"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\nabc\n");
    file.close();
    const auto before = window.model();
    EXPECT_FALSE(window.openFile(path));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.contains(QStringLiteral("damaged.dxf")))
        << messages.shown[0].text.toStdString();
    EXPECT_EQ(window.model(), before);
}

TEST_F(DrawingWindowTest, ACutOffFileIsRefusedAndReadableOddsAreShownOnceWhenItOpens) {
    QTemporaryDir dir;
    const auto write = [&](const char* name, const QByteArray& bytes) {
        QFile file(dir.filePath(QString::fromLatin1(name)));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    };
    const QByteArray header = "  0\nSECTION\n  2\nHEADER\n  9\n$DWGCODEPAGE\n  3\nKLINGON\n"
                              "  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n  0\nTEXT\n  5\nA\n"
                              "  1\nfirst\n  0\nTEXT\n  5\nA\n  1\nsecond\n";
    const QString cut = write("cut.dxf", header);
    const auto before = window.model();
    EXPECT_FALSE(window.openFile(cut));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].text.toStdString(),
              cut.toStdString() + ":26: the file ends inside the ENTITIES section, which has no "
                                  "ENDSEC: the drawing is incomplete");
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(window.model(), before);

    const QString odd = write("odd.dxf", header + "  0\nENDSEC\n");
    EXPECT_TRUE(window.openFile(odd));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[1].icon, MessageIcon::Warning);
    const QStringList shown = messages.shown[1].text.split(QLatin1Char('\n'));
    EXPECT_EQ(shown.size(), 3) << messages.shown[1].text.toStdString();
    for (const char* warning :
         {":21: duplicate handle A", ": the code page \"KLINGON\" is not known",
          ": the file ends without EOF"})
        EXPECT_TRUE(messages.shown[1].text.contains(odd + QString::fromUtf8(warning))) << warning;
    EXPECT_NE(window.model(), before);
    QCoreApplication::processEvents();
    EXPECT_EQ(messages.shown.size(), 2u);
}

TEST_F(DrawingWindowTest, ChangesAreOneUndoStepPerConnectionAndMarkTheCaption) {
    {
        auto app = window.connect();
        auto doc = app->ActiveDocument();
        cad::entityAs<cad::Text>(doc->HandleToObject(left))->SetTextString("TB-11");
        cad::entityAs<cad::Text>(doc->HandleToObject(middle))->SetTextString("TB-12");
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.windowTitle().contains(QLatin1Char('*')));
    window.undo();
    auto doc = window.model()->application()->ActiveDocument();
    EXPECT_EQ(cad::entityAs<cad::Text>(doc->HandleToObject(left))->TextString(), "TB-01");
    EXPECT_EQ(cad::entityAs<cad::Text>(doc->HandleToObject(middle))->TextString(), "TB-02");
    window.redo();
    EXPECT_EQ(cad::entityAs<cad::Text>(doc->HandleToObject(middle))->TextString(), "TB-12");
}

TEST_F(DrawingWindowTest, LockingALayerGoesThroughTheDrawing) {
    window.setLayerLocked("old", false);
    auto doc = window.model()->application()->ActiveDocument();
    EXPECT_NO_THROW(cad::entityAs<cad::Text>(doc->HandleToObject(lockedText))->SetTextString("x"));
    window.setLayerLocked("OLD", true);
    EXPECT_THROW(cad::entityAs<cad::Text>(doc->HandleToObject(lockedText))->SetTextString("y"),
                 cad::CadError);
    EXPECT_THROW(window.setLayerLocked("NOPE", true), std::runtime_error);
}

TEST_F(DrawingWindowTest, AChangedTextRepaintsWhereItWasAndIsAndKeepsTheRestAndTheMarker) {
    settle();
    window.canvas()->showMarker({QPointF(10, 10), QPointF(30, 10)}, 2, Qt::red);
    settle();
    PaintRecorder recorder(window.canvas());
    textOf(window.connect(), left)->SetTextString("TB-01-LONGER");
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.paints > 0; }));
    EXPECT_TRUE(recorder.painted.contains(screenOf(1, 1)));
    EXPECT_TRUE(recorder.painted.contains(screenOf(30, 2)));   // the longer string's end
    EXPECT_FALSE(recorder.painted.contains(screenOf(121, 1))); // the block reference
    EXPECT_LT(recorder.painted.boundingRect().width(), window.canvas()->width() * 2 / 3);
    EXPECT_EQ(window.canvas()->marker().size(), 2u);
}

// A long run of writes, each followed by the event processing a tool operation does: the
// picture follows the writes while they go on, but not once per write.
TEST_F(DrawingWindowTest, ALongRunOfChangesIsPaintedAboutTenTimesASecond) {
    settle();
    PaintRecorder recorder(window.canvas());
    const auto text = textOf(window.connect(), left);
    QElapsedTimer clock;
    clock.start();
    int writes = 0;
    while (clock.elapsed() < 450) {
        text->SetTextString("TB-" + std::to_string(++writes));
        QCoreApplication::processEvents();
    }
    const qint64 elapsed = clock.elapsed();
    EXPECT_GE(recorder.paints, 2);
    EXPECT_LE(recorder.paints, elapsed / 100 + 2);
    EXPECT_GT(writes, recorder.paints);
}

// However narrow the user makes the window, the prompt of a pick shows whole how to finish
// it, measured in the font the strip draws with; only the prompt before it is shortened. The
// narrowest window still fits beside the tool on a 1024x768 screen.
TEST_F(DrawingWindowTest, ThePickPromptShowsHowToFinishAtTheNarrowestWindow) {
    window.resize(1, 1);
    QCoreApplication::processEvents();
    const QSize narrowest = window.size();
    EXPECT_LE(narrowest.width(), (1024 - 340) / 2 - 16);
    EXPECT_LE(narrowest.height(), 768 - 60);
    auto* line = window.findChild<PromptLine*>(QStringLiteral("PromptLine"));
    ASSERT_NE(line, nullptr);
    for (const int width : {narrowest.width(), narrowest.width() + 150, 1200}) {
        window.resize(width, narrowest.height());
        QString shown, prompt;
        QRect finish;
        int needed = 0;
        pickWith(SelectionFilter::of({{0, "TEXT"}}), [&] {
            QCoreApplication::processEvents();
            const QLabel* label = line->finishLabel();
            shown = line->text();
            prompt = line->shownPrompt();
            finish = QRect(label->mapTo(line, QPoint(0, 0)), label->size());
            needed = QFontMetrics(label->font()).horizontalAdvance(label->text());
            QTest::keyClick(window.canvas(), Qt::Key_Return);
        });
        SCOPED_TRACE(width);
        EXPECT_TRUE(shown.endsWith(QStringLiteral("[Enter] 確定  [Esc] 中止")))
            << shown.toStdString();
        EXPECT_GE(finish.width(), needed);
        EXPECT_GE(finish.left(), 0);
        EXPECT_LE(finish.right(), line->width() - 1);
        // Shortened, down to its ellipsis at the narrowest, but there.
        EXPECT_FALSE(prompt.isEmpty());
        EXPECT_EQ(prompt.endsWith(QChar(0x2026)), width < 1200) << prompt.toStdString();
        if (width > narrowest.width()) {
            EXPECT_TRUE(prompt.startsWith(QStringLiteral("オブジェクト"))) << prompt.toStdString();
        }
        EXPECT_TRUE(line->text().isEmpty());
    }
}

} // namespace
} // namespace kalvex::drawing
