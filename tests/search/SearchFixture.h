#pragma once

#include <memory>
#include <string>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "cadlink/Text.h"
#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"
#include "search/SearchPage.h"
#include "shell/MainFormFixture.h"
#include "widgets/StringGrid.h"

namespace kalvex::testing {

// The main window on its search tab, beside a CAD that shows the drawing of `model` and fails
// where `faults` says.
class SearchTest : public MainFormTest {
protected:
    static constexpr WindowHandle kCadWindow = 2;

    void SetUp() override {
        windows.addWindow(kCadWindow, {.title = "nanoCAD 5", .thread = 2});
        link.createApplication = [this] { return withFaults(model->application(), faults); };
        MainFormTest::SetUp();
        form->pageControl().setCurrentIndex(2);
    }

    SearchPage& page() { return form->searchTab(); }
    StringGrid& grid() { return *page().StringGrid2; }
    std::vector<Orvik2>& hits() { return form->work().records.searchHits; }

    void use(drawing::DrawingBuilder& builder) { model = builder.model(); }

    void search(const QString& text) {
        page().Edit3->setText(text);
        page().SpeedButton14->click();
    }

    std::shared_ptr<cad::Text> textEntity(const std::string& handle) {
        return cad::entityAs<cad::Text>(
            model->application()->ActiveDocument()->HandleToObject(handle));
    }
    std::string drawingText(const std::string& handle) { return textEntity(handle)->TextString(); }

    QStringList gridTexts() {
        QStringList texts;
        for (int row = 0; row < grid().rowCount(); ++row)
            texts << grid().cell(0, row);
        return texts;
    }

    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<FaultInjector> faults = std::make_shared<FaultInjector>();
};

} // namespace kalvex::testing
