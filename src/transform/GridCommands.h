#pragma once

#include <functional>
#include <optional>

#include <QString>

#include "platform/Ports.h"
#include "transform/GridTarget.h"

namespace kalvex {

struct TransformDialogs;

// The commands of the attribute grid's popup menu that transform the selected cells. Every
// changed cell is saved in the cell history first, and one undo takes the whole batch back.
class GridCommands {
public:
    GridCommands(GridTarget target, TransformDialogs& dialogs, Ports ports);

    void N32Click();
    void N33Click();
    void N35Click();
    void N36Click();
    void N44Click();
    void N31Click();

private:
    // A cell's new text, or nothing when the cell is left out.
    using CellConversion = std::function<std::optional<QString>(const QString&)>;
    enum class Record { ChangedCells, EveryCell };

    void convertCells(const CellConversion& convert, Record record);
    void addCells(Record record);
    void finishBatch(int count);

    GridTarget m_target;
    TransformDialogs& m_dialogs;
    Ports m_ports;
};

} // namespace kalvex
