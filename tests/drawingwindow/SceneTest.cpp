#include <gtest/gtest.h>

#include <random>
#include <set>

#include "cadlink/Text.h"
#include "drawingwindow/Scene.h"
#include "drawingwindow/SceneInk.h"
#include "kit/DrawingBuilder.h"

namespace kalvex::drawing {
namespace {

std::set<RecordId> idsIn(const Scene& scene, const QRectF& area) {
    std::set<RecordId> ids;
    scene.visit(area, [&](const SceneEntry& entry) {
        EXPECT_TRUE(ids.insert(entry.id).second) << "entry " << entry.id << " visited twice";
    });
    return ids;
}

QRectF inkOfEntry(const SceneEntry& entry) {
    QRectF ink;
    for (const SceneShape& shape : entry.shapes)
        ink |= inkOf(shape);
    return ink;
}

bool covered(const QRectF& ink, const std::vector<QRectF>& areas) {
    for (const QRectF& area : areas)
        if (area.contains(ink))
            return true;
    return false;
}

// A scene kept up to date change by change, held against a scene made afresh.
class SceneSyncTest : public ::testing::Test {
protected:
    void SetUp() override {
        DrawingBuilder b;
        b.block("TAG", {{"NAME", "Name?", ""}});
        for (int i = 0; i < 60; ++i)
            handles.push_back(b.text({.text = "T" + std::to_string(i),
                                      .insertion = {double(i % 10) * 20, double(i / 10) * 8, 0}}));
        model = b.model();
        scene = std::make_unique<Scene>(model->drawing());
        model->drawing().setChangeListener([this](RecordId id) { scene->markChanged(id); });
        document = model->application()->ActiveDocument();
    }

    std::shared_ptr<cad::Text> text(std::size_t i) {
        return cad::entityAs<cad::Text>(document->HandleToObject(handles[i]));
    }

    void expectSameAsAFreshScene(std::mt19937& random) {
        const Scene fresh(model->drawing());
        std::uniform_real_distribution<double> at(-50, 250);
        for (int k = 0; k < 20; ++k) {
            const QRectF area(at(random), at(random), at(random) / 4 + 13, at(random) / 8 + 7);
            ASSERT_EQ(idsIn(*scene, area), idsIn(fresh, area));
        }
        ASSERT_EQ(idsIn(*scene, fresh.extents()), idsIn(fresh, fresh.extents()));
    }

    std::shared_ptr<CadModel> model;
    std::unique_ptr<Scene> scene;
    cad::DocumentPtr document;
    std::vector<std::string> handles;
};

TEST_F(SceneSyncTest, ChangesAppliedOneByOneGiveTheSceneMadeAfresh) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> at(-40, 240);
    for (int round = 0; round < 40; ++round) {
        for (int change = 0; change < 1 + round % 6; ++change) {
            const std::size_t i = random() % handles.size();
            if (random() % 10 == 0 && handles.size() > 10) {
                text(i)->Delete();
                handles.erase(handles.begin() + static_cast<std::ptrdiff_t>(i));
            } else if (random() % 4 == 0) {
                handles.push_back(text(i)->Copy()->Handle());
                text(handles.size() - 1)->SetInsertionPoint(cad::CadPoint(at(random), at(random)));
            } else if (random() % 2 == 0) {
                text(i)->SetInsertionPoint(cad::CadPoint(at(random), at(random)));
            } else {
                text(i)->SetTextString(std::string(1 + random() % 30, 'W'));
            }
        }
        scene->sync();
        expectSameAsAFreshScene(random);
    }
}

TEST_F(SceneSyncTest, ASyncTellsWhereTheChangedTextsWereAndAreNow) {
    const auto id = *model->drawing().findHandle(handles[7]);
    const QRectF before = inkOfEntry(scene->entry(7));
    ASSERT_EQ(scene->entry(7).id, id);
    text(7)->SetTextString("A much longer label than before");
    text(7)->SetInsertionPoint(cad::CadPoint(500, 500));
    EXPECT_TRUE(scene->hasChanges());
    const SceneChanges changes = scene->sync();
    EXPECT_FALSE(changes.everything);
    EXPECT_TRUE(covered(before, changes.areas));
    EXPECT_TRUE(covered(inkOfEntry(scene->entry(7)), changes.areas));
    EXPECT_TRUE(scene->entry(7).bounds.intersects(QRectF(499, 499, 2, 2)));
    for (const QRectF& area : changes.areas) // nothing else changed
        EXPECT_FALSE(area.contains(inkOfEntry(scene->entry(30))));
    EXPECT_TRUE(scene->sync().isEmpty());
}

TEST_F(SceneSyncTest, AnErasedTextIsRepaintedAwayAndNoLongerFound) {
    const QRectF where = inkOfEntry(scene->entry(3));
    text(3)->Delete();
    const SceneChanges changes = scene->sync();
    EXPECT_TRUE(covered(where, changes.areas));
    EXPECT_FALSE(idsIn(*scene, where).contains(scene->entry(3).id));
    // A view of the whole drawing takes the entries in their order: the erased one stays out.
    const std::set<RecordId> whole = idsIn(*scene, scene->extents().adjusted(-1, -1, 1, 1));
    EXPECT_EQ(whole.size(), handles.size() - 1);
    EXPECT_FALSE(whole.contains(scene->entry(3).id));
}

TEST_F(SceneSyncTest, ALockedLayerRedrawsEverything) {
    DrawingBuilder b;
    b.layer("OLD");
    b.text({.text = "x", .layer = "OLD"});
    auto drawing = b.drawing();
    Scene own(*drawing);
    drawing->setChangeListener([&own](RecordId id) { own.markChanged(id); });
    const auto layer = drawing->layers().back();
    drawing->setTags(layer, drawing->slot(layer).tags);
    EXPECT_TRUE(own.sync().everything);
}

// Attributes left far from their block reference: the reference is found near each of them
// and not in the empty stretch between.
TEST(ScenePiecesTest, AnEntryWhosePartsLieFarApartIsFoundAtEachPartOnly) {
    DrawingBuilder b;
    b.block("TAG", {{"A", "", ""}, {"B", "", ""}});
    const std::string insert =
        b.insert({.block = "TAG",
                  .insertion = {0, 0, 0},
                  .attributes = {{.tag = "A", .text = "near", .insertion = {0, 0, 0}},
                                 {.tag = "B", .text = "far", .insertion = {5000, 0, 0}}}})[0];
    b.text({.text = "between", .insertion = {2500, 0, 0}});
    const auto drawing = b.drawing();
    const Scene scene(*drawing);
    const RecordId id = *drawing->findHandle(insert);
    EXPECT_TRUE(idsIn(scene, QRectF(-1, -1, 3, 3)).contains(id));
    EXPECT_TRUE(idsIn(scene, QRectF(4999, -1, 3, 3)).contains(id));
    EXPECT_FALSE(idsIn(scene, QRectF(2500, -1, 3, 3)).contains(id));
    EXPECT_EQ(idsIn(scene, QRectF(-100, -100, 6000, 200)).size(), 2u);
}

} // namespace
} // namespace kalvex::drawing
