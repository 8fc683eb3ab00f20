#include <gtest/gtest.h>

#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "SceneTestSupport.h"
#include "cadlink/AttributeReference.h"
#include "cadlink/Connection.h"
#include "cadlink/Document.h"
#include "cadlink/Text.h"
#include "drawingwindow/DrawingWindow.h"
#include "support/FakePorts.h"

namespace kalvex::drawing {
namespace {

using namespace test;

std::string hex(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", n);
    return text;
}

Pairs textOf(const std::string& handle, double x, double y, const std::string& text) {
    return {{"0", "TEXT"},
            {"5", handle},
            {"8", "0"},
            {"10", std::to_string(x)},
            {"20", std::to_string(y)},
            {"40", "2.5"},
            {"1", text}};
}

// A rectangular wipeout from (x, y), w wide and h high.
Pairs wipeoutOf(const std::string& handle, double x, double y, double w, double h) {
    return {{"0", "WIPEOUT"},
            {"5", handle},
            {"8", "0"},
            {"10", std::to_string(x)},
            {"20", std::to_string(y)},
            {"11", std::to_string(w)},
            {"21", "0"},
            {"12", "0"},
            {"22", std::to_string(h)},
            {"13", "1"},
            {"23", "1"},
            {"71", "1"},
            {"91", "2"},
            {"14", "-0.5"},
            {"24", "-0.5"},
            {"14", "0.5"},
            {"24", "0.5"}};
}

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
    int paints = 0;
};

// A terminal list: columns of TEXTs one above the other, a wipeout over part of one column with
// TEXTs drawn on it, and tag blocks whose attribute stands on a wipeout of the block (its
// background), over a line that runs beneath them all.
class TileRepaintTest : public ::testing::Test {
protected:
    testing::FakeMessagePort messages;
    DrawingWindow window{messages, QString::fromStdString(kCadWindowTitle)};
    std::vector<std::string> texts, attributes;
    int nextHandle = 0x100;

    void SetUp() override {
        Pairs entities = lineOf(-5, -20, 110, 3);
        const char* names[] = {"RUN LAMP", "TB-13", "STOP LAMP", "TB-14", "FAULT LAMP", "TB-15"};
        for (int column = 0; column < 2; ++column) {
            for (int row = 0; row < 12; ++row) {
                if (column == 1 && row == 4)
                    entities = joined({entities, wipeoutOf(hex(nextHandle++), 28, -24, 22, 10)});
                texts.push_back(hex(nextHandle++));
                entities = joined({entities, textOf(texts.back(), column * 30, -4.0 * row,
                                                    names[(row + column) % 6])});
            }
        }
        const Pairs block = blockOf("TAGBOX", joined({wipeoutOf("F0", -1, -1, 14, 4.5),
                                                      lineOf(-1, -1, 13, -1),
                                                      {{"0", "ATTDEF"},
                                                       {"8", "0"},
                                                       {"10", "0"},
                                                       {"20", "0"},
                                                       {"40", "2.5"},
                                                       {"1", "TB-00"},
                                                       {"3", "Name?"},
                                                       {"2", "NAME"},
                                                       {"70", "0"}}}));
        for (int row = 0; row < 8; ++row) {
            const double y = -4.5 * row;
            const std::string insert = hex(nextHandle++);
            attributes.push_back(hex(nextHandle++));
            entities = joined({entities,
                               insertOf("TAGBOX", 70, y, {{"5", insert}, {"66", "1"}}),
                               {{"0", "ATTRIB"},
                                {"5", attributes.back()},
                                {"8", "0"},
                                {"10", "70"},
                                {"20", std::to_string(y)},
                                {"40", "2.5"},
                                {"1", "TB-" + std::to_string(20 + row)},
                                {"2", "NAME"},
                                {"70", "0"}},
                               {{"0", "SEQEND"}, {"5", hex(nextHandle++)}, {"8", "0"}}});
        }
        window.showDrawing(sceneDrawing(entities, block), QString());
        window.resize(900, 600);
        window.show();
        QCoreApplication::processEvents();
        window.canvas()->zoomExtents();
        window.canvas()->repaint();
        QCoreApplication::processEvents();
    }

    // The picture after the changed tiles were painted, and the one painted whole afresh.
    std::pair<QImage, QImage> partialAndFull() {
        // The changes reach the picture on the next sync: tiles marked stale, soon painted.
        PaintCounter painted(window.canvas());
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return !window.canvas()->staleTiles().isEmpty() || painted.paints > 0; }));
        const QImage partial = window.canvas()->grab().toImage();
        window.canvas()->refresh();
        const QImage full = window.canvas()->grab().toImage();
        return {partial, full};
    }

    // Pixel by pixel. Large glyphs are filled as outlines, whose edge pixels may come out a
    // shade apart when clipped to a tile: a channel may differ by a few levels, no more.
    static void expectSamePicture(const QImage& partial, const QImage& full, const char* what) {
        ASSERT_EQ(partial.size(), full.size()) << what;
        constexpr int kShade = 8;
        int differing = 0;
        QPoint first(-1, -1);
        for (int y = 0; y < full.height(); ++y) {
            for (int x = 0; x < full.width(); ++x) {
                const QRgb a = partial.pixel(x, y), b = full.pixel(x, y);
                if (std::abs(qRed(a) - qRed(b)) > kShade ||
                    std::abs(qGreen(a) - qGreen(b)) > kShade ||
                    std::abs(qBlue(a) - qBlue(b)) > kShade) {
                    if (differing++ == 0)
                        first = QPoint(x, y);
                }
            }
        }
        EXPECT_EQ(differing, 0) << what << ": first at " << first.x() << "," << first.y();
    }
};

TEST_F(TileRepaintTest, ChangedTilesPaintTheSamePictureAsAFullRepaint) {
    const cad::ApplicationPtr app = window.connect();
    const auto document = app->ActiveDocument();
    const auto setText = [&](const std::string& handle, const std::string& text) {
        cad::entityAs<cad::Text>(document->HandleToObject(handle))->SetTextString(text);
    };
    const auto setValue = [&](const std::string& handle, const std::string& text) {
        cad::entityAs<cad::AttributeReference>(document->HandleToObject(handle))
            ->SetTextString(text);
    };

    setText(texts[0], "運転表示灯（予備）");
    setText(texts[5], "TB");
    {
        const auto [partial, full] = partialAndFull();
        expectSamePicture(partial, full, "texts");
    }
    setText(texts[16], "故障表示灯 2"); // on the wipeout
    setText(texts[15], "x");            // beneath it
    {
        const auto [partial, full] = partialAndFull();
        expectSamePicture(partial, full, "texts on a wipeout");
    }
    setValue(attributes[2], "TB-22A");
    setValue(attributes[5], "");
    {
        const auto [partial, full] = partialAndFull();
        expectSamePicture(partial, full, "attributes on their block's background");
    }
    // The view follows from line to line, as the tool moves it, between the updates.
    const double viewHeight = document->GetVariable("VIEWSIZE");
    for (int line = 0; line < 12; ++line) {
        const double x = 20 + 3.3 * line, y = -1.37 * line;
        app->ZoomWindow(cad::CadPoint(x - viewHeight, y - viewHeight / 2, 0),
                        cad::CadPoint(x + viewHeight, y + viewHeight / 2, 0));
        window.canvas()->repaint();
    }
    setText(texts[3], "TB-14A");
    {
        const auto [partial, full] = partialAndFull();
        expectSamePicture(partial, full, "texts after the view followed");
    }
    // Closer, with the TEXTs many pixels high: the follow and an update again.
    for (int line = 0; line < 6; ++line) {
        const double x = 8 + 0.7 * line, y = -3.1 * line, h = 12.0;
        app->ZoomWindow(cad::CadPoint(x - h, y - h / 2, 0), cad::CadPoint(x + h, y + h / 2, 0));
        window.canvas()->repaint();
    }
    setText(texts[4], "STOP");
    setText(texts[14], "TB-14 / 2");
    {
        const auto [partial, full] = partialAndFull();
        expectSamePicture(partial, full, "large texts after the view followed");
    }
}

} // namespace
} // namespace kalvex::drawing
