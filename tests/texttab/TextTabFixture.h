#pragma once

#include <memory>
#include <string>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>

#include "cadlink/Text.h"
#include "drawing/cad/EntityPicker.h"
#include "kit/DrawingBuilder.h"
#include "kit/FaultInjector.h"
#include "shell/MainFormFixture.h"
#include "texttab/LineEditor.h"
#include "texttab/TextTabController.h"
#include "texttab/TextTabPage.h"

namespace kalvex::testing {

// The main window on its TEXT tab, beside a CAD that shows the drawing of `model`, lets the
// user pick what `picker` is told and fails where `faults` says.
class TextTabTest : public MainFormTest {
protected:
    static constexpr WindowHandle kCadWindow = 2;

    void SetUp() override {
        windows.addWindow(kCadWindow, {.title = "nanoCAD 5", .thread = 2});
        link.createApplication = [this] { return withFaults(model->application(), faults); };
        MainFormTest::SetUp();
    }

    TextTabPage& page() { return form->textTab(); }
    LineEditor& editor() { return *page().SynEdit1; }
    std::vector<Orvik>& records() { return form->work().records.textRecords; }
    std::vector<MessageRequest>& messages() { return fakes.messages.shown; }

    void use(drawing::DrawingBuilder& builder) {
        model = builder.model();
        picker = std::make_shared<drawing::ScriptedPicker>();
        model->setPicker(picker);
    }

    void fetch(const std::vector<std::string>& handles) {
        picker->addPick(handles);
        page().SpeedButton1->click();
    }

    void update() { page().SpeedButton2->click(); }
    void setLines(const QString& text) { editor().setPlainText(text); }
    void setSpacing(const QString& dX, const QString& dY) {
        page().Edit1->setText(dX);
        page().Edit2->setText(dY);
    }

    std::shared_ptr<cad::Text> textEntity(const std::string& handle) {
        return cad::entityAs<cad::Text>(
            model->application()->ActiveDocument()->HandleToObject(handle));
    }
    std::string drawingText(const std::string& handle) { return textEntity(handle)->TextString(); }
    bool exists(const std::string& handle) {
        try {
            textEntity(handle);
            return true;
        } catch (const std::exception&) {
            return false;
        }
    }

    QStringList editorLines() { return editor().toPlainText().split(QLatin1Char('\n')); }
    QStringList messageTexts() {
        QStringList texts;
        for (const MessageRequest& request : messages())
            texts << request.text;
        return texts;
    }

    std::shared_ptr<drawing::CadModel> model;
    std::shared_ptr<drawing::ScriptedPicker> picker;
    std::shared_ptr<FaultInjector> faults = std::make_shared<FaultInjector>();
};

} // namespace kalvex::testing
