#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cadlink/AttributeReference.h"
#include "cadlink/Connection.h"
#include "cadlink/Text.h"
#include "drawing/cad/EntityPicker.h"
#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"
#include "operations/TextLineWriter.h"
#include "operations/ViewFollow.h"
#include "operations/attrgrid/AttrGridFetch.h"
#include "operations/attrgrid/AttrGridUpdate.h"
#include "operations/search/HitEditor.h"
#include "operations/search/TextSearch.h"
#include "operations/texttab/TextAlignment.h"
#include "operations/texttab/TextUpdate.h"
#include "support/FakeWindowSystem.h"

namespace kalvex::testing {
namespace {

using drawing::DrawingBuilder;

constexpr WindowHandle kCadWindow = 2;

// A drawing with two TEXTs ("A1" above "A2") and two references of block TAG, side by side,
// each with a NAME attribute ("P-1", "P-2"); the CAD beside it fails where `faults` says. It is
// also the window the operations report to, noting their messages.
class Scene : public RunWindow {
public:
    Scene() {
        DrawingBuilder b;
        b.block("TAG", {{.tag = "NAME", .prompt = "Name"}});
        texts = {b.text({.text = "A1", .insertion = {0, 10, 0}}),
                 b.text({.text = "A2", .insertion = {0, 0, 0}})};
        first = b.insert({.block = "TAG",
                          .insertion = {0, 0, 0},
                          .attributes = {{.tag = "NAME", .text = "P-1"}}});
        second = b.insert({.block = "TAG",
                           .insertion = {50, 0, 0},
                           .attributes = {{.tag = "NAME", .text = "P-2"}}});
        model = b.model();
        model->setPicker(picker);
        windows.addWindow(kCadWindow, {.title = "nanoCAD 5", .thread = 2});
        link.createApplication = [this] { return withFaults(model->application(), faults); };
        document = withFaults(model->application(), faults)->ActiveDocument();
        textRecords = {{texts[0], "A1", {0, 10, 0}}, {texts[1], "A2", {0, 0, 0}}};
        attrs = {{first[1], "P-1", {}, "0"}, {second[1], "P-2", {}, "0"}};
        hits = {{texts[0], "A1", {}, "0"}, {texts[1], "A2", {}, "0"}};
    }

    void inform(const std::string& text) override { messages.push_back(text); }
    void warn(const std::string& text) override { messages.push_back(text); }
    void showProgress(const std::string&) override {}
    void runStarts() override {}
    void runEnds() override {}
    bool proceed() override { return true; }

    // The string of a TEXT, and the value of an attribute, as the drawing holds them.
    std::string textOf(const std::string& handle) {
        return cad::entityAs<cad::Text>(entity(handle))->TextString();
    }
    std::string valueOf(const std::string& handle) {
        return cad::entityAs<cad::AttributeReference>(entity(handle))->TextString();
    }
    std::string source() const { return model->key(); }
    GridFetch fetchGrid() {
        picker->addPick({first[0], second[0]});
        return FetchGrid(*document, link, "*", {"NAME"}, *this, records);
    }

    std::vector<std::string> texts, first, second;
    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<drawing::ScriptedPicker> picker = std::make_shared<drawing::ScriptedPicker>();
    std::shared_ptr<FaultInjector> faults = std::make_shared<FaultInjector>();
    FakeWindowSystem windows;
    CadLink link{.windows = windows, .waiter = windows, .createApplication = {}};
    cad::DocumentPtr document;
    std::vector<Orvik> textRecords;
    std::vector<nAtt> attrs;
    std::vector<Orvik2> hits;
    EntityRecords records;
    std::vector<std::string> messages;

    // What the operation run gave back.
    std::optional<GridFetch> fetched;
    std::optional<HitWriteResult> hitsWritten;
    std::optional<WriteBack> cellWritten;
    std::optional<std::vector<Orvik2>> searched;
    bool found = false;
    bool connected = true;
    TextPtr templateText;

private:
    cad::EntityPtr entity(const std::string& handle) {
        return model->application()->ActiveDocument()->HandleToObject(handle);
    }
};

// A place where an operation meets a failed call on the CAD: `inject` makes the call fail
// with the given kind of error, `run` runs the operation and `handled` checks what a failure
// of the CAD leaves there. Any other error must leave the operation.
struct FailureCase {
    const char* name;
    std::function<void(Scene&, Fault)> inject;
    std::function<void(Scene&)> run;
    std::function<void(Scene&)> handled;
};

std::function<void(Scene&, Fault)> failOn(const std::string& operation,
                                          std::function<std::string(Scene&)> handle) {
    return [operation, handle](Scene& s, Fault fault) {
        s.faults->failOn(operation, handle(s), fault);
    };
}

std::function<void(Scene&, Fault)> failAlways(const std::string& operation) {
    return [operation](Scene& s, Fault fault) { s.faults->failAfter(operation, 0, fault); };
}

TextLines linesOf(std::vector<std::string> lines, double dY = 0.0) {
    return {.lines = std::move(lines), .dX = 0.0, .dY = dY};
}

const std::string kUpdateError = "エラーのため、更新を中止しました．";
const std::string kAlignError = "エラーのため、更新処理を中止しました．";

const FailureCase kCases[] = {
    {"UpdatePassesOverARecordItCannotWrite",
     failOn("SetTextString", [](Scene& s) { return s.texts[0]; }),
     [](Scene& s) {
         UpdateTexts(*s.document, s.textRecords, linesOf({"B1", "B2"}), s);
     },
     [](Scene& s) {
         EXPECT_EQ(s.textOf(s.texts[0]), "A1");
         EXPECT_EQ(s.textOf(s.texts[1]), "B2") << "the next record keeps its own line";
         EXPECT_TRUE(s.messages.empty());
     }},
    {"UpdateReportsANewTextItCannotMake", failAlways("Copy"),
     [](Scene& s) {
         UpdateTexts(*s.document, s.textRecords, linesOf({"A1", "A2", "A3"}, -10.0), s);
     },
     [](Scene& s) {
         EXPECT_EQ(s.messages, std::vector<std::string>{kUpdateError});
         EXPECT_EQ(s.textRecords.size(), 3u) << "the records are still cut to the lines";
     }},
    {"AlignmentReportsANewTextItCannotMake", failAlways("Copy"),
     [](Scene& s) {
         AlignTexts(*s.document, s.textRecords, linesOf({"A1", "A2", "A3"}, -10.0), s);
     },
     [](Scene& s) { EXPECT_EQ(s.messages, std::vector<std::string>{kAlignError}); }},
    {"TemplateThatCannotBeOpenedKeepsThePreviousOne",
     failOn("HandleToObject", [](Scene& s) { return s.texts[1]; }),
     [](Scene& s) {
         s.templateText = nullptr;
         s.found = FindTemplateText(s.textRecords, *s.document, s.templateText);
     },
     [](Scene& s) {
         EXPECT_TRUE(s.found);
         EXPECT_EQ(s.templateText, nullptr);
     }},
    {"GridFetchLeavesOutABlockItCannotRead",
     failOn("HasAttributes", [](Scene& s) { return s.first[0]; }),
     [](Scene& s) { s.fetched = s.fetchGrid(); },
     [](Scene& s) {
         EXPECT_EQ(s.fetched->end, GridFetchEnd::Done);
         ASSERT_EQ(s.records.gridBlocks.size(), 1u);
         EXPECT_EQ(s.records.gridBlocks[0].sHnd, s.second[0]);
     }},
    {"GridFetchLeavesARowEmptyWhoseAttributeItCannotRead",
     failOn("TextString", [](Scene& s) { return s.first[1]; }),
     [](Scene& s) { s.fetched = s.fetchGrid(); },
     [](Scene& s) {
         EXPECT_EQ(s.fetched->end, GridFetchEnd::Done);
         EXPECT_EQ(s.records.gridBlocks.size(), 2u);
         ASSERT_EQ(s.fetched->cells.size(), 1u);
         EXPECT_EQ(s.fetched->cells[0].row, 2);
     }},
    {"GridFetchEndsAtABlockItCannotLookUp",
     failOn("HandleToObject", [](Scene& s) { return s.first[0]; }),
     [](Scene& s) { s.fetched = s.fetchGrid(); },
     [](Scene& s) {
         EXPECT_EQ(s.fetched->end, GridFetchEnd::FailedInRows);
         EXPECT_EQ(s.fetched->rowsReached, 1);
         EXPECT_TRUE(s.fetched->cells.empty());
     }},
    {"GridFetchPicksNothingWhenTheSelectionSetCannotBeMade", failAlways("Add"),
     [](Scene& s) { s.fetched = s.fetchGrid(); },
     [](Scene& s) {
         EXPECT_EQ(s.fetched->end, GridFetchEnd::NothingPicked);
         EXPECT_EQ(s.fetched->picked, 0);
     }},
    {"GridFetchGoesOnAfterAFailedPick", failAlways("SelectOnScreen"),
     [](Scene& s) { s.fetched = s.fetchGrid(); },
     [](Scene& s) {
         EXPECT_EQ(s.fetched->end, GridFetchEnd::NothingPicked);
         EXPECT_EQ(s.fetched->picked, 0);
     }},
    {"GridUpdateSkipsACellItCannotWrite",
     failOn("SetTextString", [](Scene& s) { return s.first[1]; }),
     [](Scene& s) {
         WriteGridCells(s.link, s.source(), {{&s.attrs[0], "Q-1"}, {&s.attrs[1], "Q-2"}}, s);
     },
     [](Scene& s) {
         EXPECT_EQ(s.valueOf(s.first[1]), "P-1");
         EXPECT_EQ(s.attrs[0].text, "P-1");
         EXPECT_EQ(s.valueOf(s.second[1]), "Q-2");
     }},
    {"GridUpdateWritesNothingWhenTheCadWindowCannotBeAskedFor", failAlways("Hwnd"),
     [](Scene& s) {
         WriteGridCells(s.link, s.source(), {{&s.attrs[0], "Q-1"}, {&s.attrs[1], "Q-2"}}, s);
     },
     [](Scene& s) {
         EXPECT_EQ(s.valueOf(s.first[1]), "P-1");
         EXPECT_EQ(s.valueOf(s.second[1]), "P-2");
     }},
    {"GridCellWriteRefusesACellItCannotWrite",
     failOn("SetTextString", [](Scene& s) { return s.first[1]; }),
     [](Scene& s) { s.cellWritten = WriteGridCell(s.link, s.source(), s.attrs[0], "Q-1", s); },
     [](Scene& s) {
         EXPECT_EQ(s.cellWritten, WriteBack::Refused);
         EXPECT_EQ(s.attrs[0].text, "P-1");
     }},
    {"SearchGoesOnAfterAFailedSelection", failAlways("Select"),
     [](Scene& s) {
         std::string source;
         s.searched = SearchTexts(s.link, "A*", s, source);
     },
     [](Scene& s) {
         ASSERT_TRUE(s.searched.has_value());
         EXPECT_TRUE(s.searched->empty());
     }},
    {"HitWriteSkipsAHitItCannotWrite", failOn("SetTextString", [](Scene& s) { return s.texts[0]; }),
     [](Scene& s) {
         s.hitsWritten =
             WriteSearchHits(s.link, s.source(), {{&s.hits[0], "B1"}, {&s.hits[1], "B2"}}, s);
     },
     [](Scene& s) {
         EXPECT_EQ(s.hitsWritten->count.tried, 2);
         EXPECT_EQ(s.hitsWritten->count.written, 1);
         EXPECT_EQ(s.hits[0].text, "A1");
         EXPECT_EQ(s.textOf(s.texts[1]), "B2");
     }},
    {"ViewFollowStaysWhenTheViewCannotBeRead", failAlways("GetVariable"),
     [](Scene& s) { followRecord(s.link, s.source(), cad::CadPoint(0, 0, 0)); },
     [](Scene& s) { EXPECT_EQ(s.faults->callCount("ZoomWindow"), 0); }},
    {"NoCadWhenTheApplicationCannotBeCreated",
     [](Scene& s, Fault fault) {
         s.link.createApplication = [fault]() -> cad::ApplicationPtr {
             if (fault == Fault::Logic)
                 throw std::logic_error("the factory is broken");
             throw cad::CadError("the class is not registered");
         };
     },
     [](Scene& s) {
         cad::ApplicationPtr app;
         s.connected = ConnectCad(s.link, app);
     },
     [](Scene& s) { EXPECT_FALSE(s.connected); }},
};

class CadFailureTest : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CadFailureTest, OnlyTheCadsErrorIsHandledThere) {
    const FailureCase& c = GetParam();
    {
        Scene scene;
        c.inject(scene, Fault::Logic);
        EXPECT_THROW(c.run(scene), std::logic_error) << "an error of the program is no CAD failure";
    }
    Scene scene;
    c.inject(scene, Fault::Cad);
    ASSERT_NO_THROW(c.run(scene));
    c.handled(scene);
}

INSTANTIATE_TEST_SUITE_P(Operations, CadFailureTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace kalvex::testing
