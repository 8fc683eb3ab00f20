#include "transform/MenuWiring.h"

#include <functional>
#include <utility>

#include <QAction>
#include <QMenu>

#include "platform/ErrorReport.h"
#include "transform/EditorCommands.h"
#include "transform/GridCommands.h"

namespace kalvex {

namespace {

using Handler = std::function<void()>;

void connectItem(QMenu& menu, const char* item, ErrorReport& errors, Handler handler) {
    QAction* action = menu.findChild<QAction*>(QString::fromLatin1(item));
    if (!action)
        return;
    QObject::connect(action, &QAction::triggered, &menu, errors.guarded(std::move(handler)));
}

void connectItems(QMenu& menu, ErrorReport& errors,
                  std::initializer_list<std::pair<const char*, Handler>> items) {
    for (const auto& [item, handler] : items)
        connectItem(menu, item, errors, handler);
}

constexpr const char* kTableConversionItems[] = {"N23",  "N24", "N091", "N092", "N094",
                                                 "N093", "AZ1", "AZ2",  "N27",  "N26"};

} // namespace

void connectEditorMenu(QMenu& PopupMenu1, EditorCommands& c, ErrorReport& errors) {
    connectItems(PopupMenu1, errors,
                 {{"N20", [&c] { c.N20Click(); }},
                  {"N10", [&c] { c.N10Click(); }},
                  {"N11", [&c] { c.N11Click(); }},
                  {"N12", [&c] { c.N12Click(); }},
                  {"N1", [&c] { c.N1Click(); }},
                  {"N2", [&c] { c.N2Click(); }},
                  {"N4", [&c] { c.N4Click(); }},
                  {"N5", [&c] { c.N5Click(); }},
                  {"N28", [&c] { c.N28Click(); }},
                  {"N7", [&c] { c.N7Click(); }},
                  {"N8", [&c] { c.N8Click(); }},
                  {"N14", [&c] { c.N14Click(); }},
                  {"N15", [&c] { c.N15Click(); }},
                  {"N17", [&c] { c.N17Click(); }},
                  {"N25", [&c] { c.N25Click(); }}});
    for (const char* item : kTableConversionItems) {
        const QAction* sender = PopupMenu1.findChild<QAction*>(QString::fromLatin1(item));
        connectItem(PopupMenu1, item, errors, [&c, sender] { c.N23Click(sender); });
    }
    QMenu* menu = &PopupMenu1;
    QObject::connect(menu, &QMenu::aboutToShow, menu,
                     errors.guarded([&c, menu] { c.PopupMenu1Popup(*menu); }));
}

void connectGridMenu(QMenu& PopupMenu2, GridCommands& c, ErrorReport& errors) {
    connectItems(PopupMenu2, errors,
                 {{"N32", [&c] { c.N32Click(); }},
                  {"N33", [&c] { c.N33Click(); }},
                  {"N35", [&c] { c.N35Click(); }},
                  {"N36", [&c] { c.N36Click(); }},
                  {"N31", [&c] { c.N31Click(); }},
                  {"N44", [&c] { c.N44Click(); }}});
}

} // namespace kalvex
