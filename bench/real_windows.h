#pragma once

#include <QCoreApplication>
#include <memory>

#include "cadlink/CadLink.h"
#include "cadlink/Connection.h"
#include "drawing/cad/EntityPicker.h"
#include "drawingwindow/DrawingWindow.h"
#include "platform/Ports.h"
#include "qtplatform/EventLoopWaiter.h"
#include "qtplatform/QtClipboardPort.h"
#include "qtplatform/QtDialogPort.h"
#include "qtplatform/QtMessagePort.h"
#include "qtplatform/QtWindowSystem.h"
#include "shell/TOrvikMainForm.h"

namespace kalvex::bench {

// The program's two windows as kalvex puts them together: the drawing window showing the
// drawing at its extents and the tool's main window connected to it, so that every write is
// drawn as the user would see it. Picks come from `picker` instead of the user.
class RealWindows {
public:
    explicit RealWindows(std::shared_ptr<drawing::Drawing> drawing) {
        drawingWindow.resize(1280, 860);
        drawingWindow.show();
        drawingWindow.showDrawing(std::move(drawing), QString());
        drawingWindow.setPicker(picker);
        form = std::make_unique<TOrvikMainForm>(ports, link);
        form->show();
        QCoreApplication::processEvents();
    }

    drawing::CadModel& model() { return *drawingWindow.model(); }

    QtMessagePort messages;
    QtWindowSystem windows;
    EventLoopWaiter waiter;
    QtDialogPort dialogs{windows};
    QtClipboardPort clipboard;
    Ports ports{messages, dialogs, clipboard};
    drawing::DrawingWindow drawingWindow{messages, QString::fromStdString(kCadWindowTitle)};
    std::shared_ptr<drawing::ScriptedPicker> picker = std::make_shared<drawing::ScriptedPicker>();
    CadLink link{windows, waiter, [this] { return drawingWindow.connect(); }};
    std::unique_ptr<TOrvikMainForm> form;
};

} // namespace kalvex::bench
