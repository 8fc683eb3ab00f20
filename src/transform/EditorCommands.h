#pragma once

#include <functional>

#include <QString>

#include "platform/Ports.h"
#include "transform/EditorTarget.h"

class QMenu;
class QObject;

namespace kalvex {

struct TransformDialogs;

using LineConversion = std::function<QString(const QString&)>;

// The commands of the editor's popup menu: width and kana conversion, replace, number
// addition, serial numbers, and the editor's clear, cut, copy, paste and version box. Every
// command that rewrites the text in bulk takes the undo snapshot first.
class EditorCommands {
public:
    static constexpr const char* kVersionText = "Kalvex 2.3b 2025.06.04";

    EditorCommands(EditorTarget target, TransformDialogs& dialogs, Ports ports);

    void N1Click();
    void N2Click();
    void N4Click();
    void N5Click();
    void N28Click();
    // The ten table conversions, told apart by the clicked item.
    void N23Click(const QObject* sender);

    void N7Click();
    void N8Click();
    void N14Click();
    void N15Click();
    void N17Click();

    void N20Click();
    void N10Click();
    void N11Click();
    void N12Click();
    void N25Click();

    // Enables the items that need lines or a selection, each time the menu opens.
    void PopupMenu1Popup(QMenu& menu);

private:
    void convertAllLines(const LineConversion& convert);
    void convertSelection(const LineConversion& convert);
    void convertLines(QStringList& lines, const LineConversion& convert, SlicedRun& run);
    SlicedRun startRun();

    EditorTarget m_target;
    TransformDialogs& m_dialogs;
    Ports m_ports;
};

} // namespace kalvex
