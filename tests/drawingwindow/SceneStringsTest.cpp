#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cadlink/Text.h"
#include "drawingwindow/Scene.h"
#include "drawingwindow/SceneStrings.h"
#include "drawingwindow/TextLayout.h"
#include "kit/DrawingBuilder.h"

namespace kalvex::drawing {
namespace {

// Decoded into the store as QString::fromUtf8 decodes it: Japanese, characters beyond the
// basic plane, faulty and cut-off sequences, a byte-order mark, nothing, and strings longer
// than a block's share (one of them short enough once decoded).
TEST(SceneStrings, DecodesAsQtDoesAndKeepsEveryStringWhileMoreAreAdded) {
    const std::vector<std::string> samples{"TB-000000 端子台",
                                           "plain",
                                           "\xF0\xA0\x80\x80 wide",
                                           "bad \xFF\xFE byte",
                                           "cut \xE7\xAB",
                                           "\xEF\xBB\xBFmarked",
                                           "",
                                           std::string(5000, 'x'),
                                           [] {
                                               std::string japanese;
                                               for (int i = 0; i < 1000; ++i)
                                                   japanese += "端";
                                               return japanese;
                                           }()};
    SceneStrings store;
    std::vector<QString> kept;
    for (int round = 0; round < 400; ++round)
        for (const std::string& sample : samples)
            kept.push_back(store.decode(sample));
    kept.push_back(store.keep(u"kept as it is"));
    for (std::size_t i = 0; i + 1 < kept.size(); ++i)
        ASSERT_EQ(kept[i], QString::fromUtf8(samples[i % samples.size()])) << i;
    EXPECT_EQ(kept.back(), QStringLiteral("kept as it is"));
    // Many blocks were filled; the long ASCII string took a block of its own each time, the
    // Japanese one only while it was not decoded yet (else it would add 3 000 units a round).
    EXPECT_GT(store.bytes(), 400u * 5000 * sizeof(char16_t) + 4 * SceneStrings::kBlockUnits);
    EXPECT_LT(store.bytes(), 400u * (5000 + 1750) * sizeof(char16_t));
    // A string changed is a copy of its own; the store keeps what it was.
    QString changed = kept[1];
    changed[0] = QLatin1Char('P');
    EXPECT_EQ(kept[1], QStringLiteral("plain"));
    store.clear();
    EXPECT_EQ(store.bytes(), 0u);
}

// The widths of characters beyond the basic plane count once per character, a lone surrogate
// as the replacement character.
TEST(SceneStrings, WidthsCountCharactersNotUnits) {
    EXPECT_DOUBLE_EQ(estimatedWidth(QString::fromUcs4(U"\U00020000a")), 1.35 + 0.76);
    const QChar lone[] = {QChar(0xD800), QLatin1Char('a')};
    EXPECT_DOUBLE_EQ(estimatedWidth(QString(lone, 2)), 0.8 + 0.76);
}

// The scene keeps its texts' strings in its store: they read right after edits of the
// texts, after many edits (when the store is made anew), and after the scene was built
// again from scratch.
TEST(SceneStrings, TheScenesTextsReadRightAfterEditsAndARebuild) {
    DrawingBuilder b;
    std::vector<std::string> handles;
    for (int i = 0; i < 50; ++i)
        handles.push_back(
            b.text({.text = "端子 " + std::to_string(i), .insertion = {double(i) * 20, 0, 0}}));
    const auto model = b.model();
    Drawing& drawing = model->drawing();
    Scene scene(drawing);
    drawing.setChangeListener([&scene](RecordId id) { scene.markChanged(id); });
    const auto document = model->application()->ActiveDocument();
    const auto expectTexts = [&](const std::string& prefix) {
        ASSERT_EQ(scene.size(), handles.size());
        for (std::uint32_t i = 0; i < scene.size(); ++i) {
            ASSERT_EQ(scene.entry(i).shapes.size(), 1u);
            EXPECT_EQ(scene.entry(i).shapes[0].text.text,
                      QString::fromStdString(prefix + std::to_string(i)));
        }
    };
    expectTexts("端子 ");
    for (std::size_t i = 0; i < handles.size(); ++i)
        cad::entityAs<cad::Text>(document->HandleToObject(handles[i]))
            ->SetTextString("盤 " + std::to_string(i));
    scene.sync();
    expectTexts("盤 ");
    // Edited many times over, the store keeps about what the texts hold, not every string
    // they ever held (5 000 strings of 200 characters would take 2 MB).
    for (int round = 0; round < 100; ++round) {
        for (std::size_t i = 0; i < handles.size(); ++i)
            cad::entityAs<cad::Text>(document->HandleToObject(handles[i]))
                ->SetTextString(std::string(200, char('a' + round % 26)) + "盤 " +
                                std::to_string(i));
        scene.sync();
    }
    expectTexts(std::string(200, char('a' + 99 % 26)) + "盤 ");
    EXPECT_LT(scene.stringBytes(), 1000000u);
    for (std::size_t i = 0; i < handles.size(); ++i)
        cad::entityAs<cad::Text>(document->HandleToObject(handles[i]))
            ->SetTextString("盤 " + std::to_string(i));
    scene.sync();
    expectTexts("盤 ");
    const RecordId layer = drawing.layers().front();
    drawing.setTags(layer, drawing.slot(layer).tags); // a layer changed: built from scratch
    EXPECT_TRUE(scene.sync().everything);
    expectTexts("盤 ");
}

} // namespace
} // namespace kalvex::drawing
