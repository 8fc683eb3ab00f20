#include <QAction>
#include <QColor>
#include <cmath>

#include "script/ScriptControls.h"
#include "script/ScriptPlayer.h"

namespace kalvex::script {

namespace {

void needArgs(const ScriptCommand& c, std::size_t min, std::size_t max) {
    if (c.args.size() < min || c.args.size() > max)
        throw ScriptError(c.line, c.name + ": wrong number of arguments");
}

int intArg(const ScriptCommand& c, std::size_t i) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(c.args.at(i), &used);
        if (used == c.args[i].size())
            return value;
    } catch (const std::exception&) {
    }
    throw ScriptError(c.line, c.name + ": not a whole number: " + c.args.at(i));
}

double numberArg(const ScriptCommand& c, std::size_t i) {
    try {
        std::size_t used = 0;
        const double value = std::stod(c.args.at(i), &used);
        if (used == c.args[i].size())
            return value;
    } catch (const std::exception&) {
    }
    throw ScriptError(c.line, c.name + ": not a number: " + c.args.at(i));
}

bool switchArg(const ScriptCommand& c, std::size_t i, const char* on, const char* off) {
    if (c.args.at(i) == on)
        return true;
    if (c.args.at(i) == off)
        return false;
    throw ScriptError(c.line, c.name + ": expected " + on + " or " + off);
}

QString textArg(const ScriptCommand& c, std::size_t i) {
    return QString::fromStdString(c.args.at(i));
}

QString quoted(const QString& s) {
    QString escaped = s;
    escaped.replace(QLatin1String("\\"), QLatin1String("\\\\"))
        .replace(QLatin1String("\n"), QLatin1String("\\n"))
        .replace(QLatin1String("\r"), QLatin1String("\\r"))
        .replace(QLatin1String("\t"), QLatin1String("\\t"))
        .replace(QLatin1String("\""), QLatin1String("\\\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

QString rgb(const QColor& color) {
    return QStringLiteral("%1 %2 %3").arg(color.red()).arg(color.green()).arg(color.blue());
}

} // namespace

void ScriptPlayer::registerControlCommands() {
    m_commands["tab"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        const int index = intArg(c, 0);
        ScriptCommand page{c.line, c.name, {"PageControl1"}};
        auto* tabs = control(page, 0);
        tabs->setProperty("currentIndex", index);
    };
    m_commands["click"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        clickControl(control(c, 0));
    };
    m_commands["check"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        checkControl(control(c, 0), switchArg(c, 1, "on", "off"));
    };
    m_commands["settext"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        setControlText(control(c, 0), textArg(c, 1));
    };
    m_commands["choose"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        chooseItem(control(c, 0), intArg(c, 1));
    };
    m_commands["key"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        pressKeys(control(c, 0), textArg(c, 1));
    };
    m_commands["type"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        typeText(control(c, 0), textArg(c, 1));
    };
    m_commands["caret"] = [this](const ScriptCommand& c) {
        needArgs(c, 3, 3);
        placeCaret(control(c, 0), intArg(c, 1), intArg(c, 2));
    };
    m_commands["select"] = [this](const ScriptCommand& c) {
        needArgs(c, 5, 5);
        selectText(control(c, 0), intArg(c, 1), intArg(c, 2), intArg(c, 3), intArg(c, 4));
    };
    m_commands["current"] = [this](const ScriptCommand& c) {
        needArgs(c, 3, 3);
        setCurrentCell(control(c, 0), intArg(c, 1), intArg(c, 2));
    };
    m_commands["gridselect"] = [this](const ScriptCommand& c) {
        needArgs(c, 5, 5);
        selectCells(control(c, 0), intArg(c, 1), intArg(c, 2), intArg(c, 3), intArg(c, 4));
    };
    m_commands["edit"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        editCurrentCell(control(c, 0), textArg(c, 1));
    };
    m_commands["menu"] = [](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        QAction* item = findMenuItem(textArg(c, 0));
        if (!item)
            throw ScriptError(c.line, "unknown menu item " + c.args[0]);
        item->trigger();
    };
    m_commands["clipboard"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        m_clipboard.setText(textArg(c, 0));
    };
    m_commands["dialog"] = [this](const ScriptCommand& c) { queueDialog(c); };
    m_commands["answer"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        static const std::map<std::string, MessageAnswer> kAnswers = {
            {"ok", MessageAnswer::Ok},
            {"cancel", MessageAnswer::Cancel},
            {"yes", MessageAnswer::Yes},
            {"no", MessageAnswer::No},
            {"overwrite", MessageAnswer::Overwrite},
            {"reload", MessageAnswer::Reload}};
        const auto found = kAnswers.find(c.args[0]);
        if (found == kAnswers.end())
            throw ScriptError(c.line, "answer: unknown button " + c.args[0]);
        m_answers.push_back(found->second);
    };
}

void ScriptPlayer::registerDrawingCommands() {
    m_commands["pick"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 100000);
        ScriptPick pick;
        if (c.args.size() == 1 && c.args[0] == "none") {
            pick.kind = ScriptPick::Kind::Nothing;
        } else if (c.args.size() == 1 && c.args[0] == "cancel") {
            pick.kind = ScriptPick::Kind::Cancel;
        } else {
            pick.kind = ScriptPick::Kind::Handles;
            pick.handles = c.args;
        }
        m_drawing.queuePick(pick);
    };
    m_commands["lock"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        m_drawing.setLayerLocked(c.args[0], true);
    };
    m_commands["unlock"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        m_drawing.setLayerLocked(c.args[0], false);
    };
    m_commands["cad"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        m_drawing.setCadOpen(!switchArg(c, 0, "closed", "open"));
    };
    m_commands["open"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        m_drawing.openDrawing(c.args[0]);
    };
    m_commands["activate"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        m_drawing.activateDrawing(c.args[0]);
    };
    m_commands["close"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        m_drawing.closeDrawing(c.args[0]);
    };
    m_commands["save-all"] = [this](const ScriptCommand& c) {
        needArgs(c, 0, 0);
        m_drawing.saveAll();
    };
    m_commands["save"] = [this](const ScriptCommand& c) {
        needArgs(c, 0, 1);
        m_drawing.save(c.args.empty() ? std::string() : c.args[0]);
    };
}

void ScriptPlayer::registerExpectations() {
    m_commands["expect"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        const QString got = controlText(control(c, 0));
        expect(c, got == textArg(c, 1), quoted(textArg(c, 1)), quoted(got));
    };
    m_commands["expect-enabled"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        const bool want = switchArg(c, 1, "yes", "no");
        const bool got = control(c, 0)->isEnabled();
        expect(c, got == want, want ? "enabled" : "disabled", got ? "enabled" : "disabled");
    };
    m_commands["expect-checked"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        const bool want = switchArg(c, 1, "yes", "no");
        const bool got = controlChecked(control(c, 0));
        expect(c, got == want, want ? "checked" : "unchecked", got ? "checked" : "unchecked");
    };
    m_commands["expect-cell"] = [this](const ScriptCommand& c) {
        needArgs(c, 4, 4);
        const QString got = cellText(control(c, 0), intArg(c, 1), intArg(c, 2));
        expect(c, got == textArg(c, 3), quoted(textArg(c, 3)), quoted(got));
    };
    m_commands["expect-clipboard"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        const QString got = m_clipboard.text();
        expect(c, got == textArg(c, 0), quoted(textArg(c, 0)), quoted(got));
    };
    m_commands["expect-message"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        if (m_messages.empty())
            return expect(c, false, quoted(textArg(c, 0)), "no message");
        const QString got = m_messages.front();
        m_messages.pop_front();
        expect(c, got == textArg(c, 0), quoted(textArg(c, 0)), quoted(got));
    };
    m_commands["expect-no-message"] = [this](const ScriptCommand& c) {
        needArgs(c, 0, 0);
        expect(c, m_messages.empty(), "no message",
               m_messages.empty() ? QString() : quoted(m_messages.front()));
        m_messages.clear();
    };
    m_commands["expect-color"] = [this](const ScriptCommand& c) {
        needArgs(c, 4, 6);
        if (c.args.size() == 5)
            throw ScriptError(c.line, "expect-color takes NAME R G B or NAME COL ROW R G B");
        const std::size_t at = c.args.size() - 3;
        const QColor want(intArg(c, at), intArg(c, at + 1), intArg(c, at + 2));
        const QColor got = c.args.size() == 6 ? cellColor(control(c, 0), intArg(c, 1), intArg(c, 2))
                                              : controlColor(control(c, 0));
        expect(c, got.rgb() == want.rgb(), rgb(want), rgb(got));
    };
    m_commands["expect-entity"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 4);
        const std::string& handle = c.args[0];
        const std::string& what = c.args[1];
        const bool exists = m_drawing.entityExists(handle);
        if (what == "deleted") {
            needArgs(c, 2, 2);
            return expect(c, !exists, "deleted", "present");
        }
        if (!exists)
            return expect(c, false, QString::fromStdString("entity " + handle), "none");
        if (what == "text") {
            needArgs(c, 3, 3);
            const QString got = QString::fromStdString(m_drawing.entityText(handle));
            return expect(c, got == textArg(c, 2), quoted(textArg(c, 2)), quoted(got));
        }
        if (what == "point") {
            needArgs(c, 4, 4);
            const cad::CadPoint p = m_drawing.entityPoint(handle);
            const double x = numberArg(c, 2), y = numberArg(c, 3);
            const bool held = std::abs(p.x() - x) < 1e-6 && std::abs(p.y() - y) < 1e-6;
            return expect(c, held, QStringLiteral("%1 %2").arg(x).arg(y),
                          QStringLiteral("%1 %2").arg(p.x()).arg(p.y()));
        }
        throw ScriptError(c.line, "expect-entity: expected text, point or deleted");
    };
    m_commands["expect-active"] = [this](const ScriptCommand& c) {
        needArgs(c, 1, 1);
        expect(c, m_drawing.isActiveDrawing(c.args[0]),
               QString::fromStdString(c.args[0]) + QStringLiteral(" active"),
               QStringLiteral("another drawing active"));
    };
    m_commands["expect-view"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        const cad::CadPoint p = m_drawing.viewCentre();
        const double x = numberArg(c, 0), y = numberArg(c, 1);
        const bool held = std::abs(p.x() - x) < 1e-3 && std::abs(p.y() - y) < 1e-3;
        expect(c, held, QStringLiteral("view at %1 %2").arg(x).arg(y),
               QStringLiteral("view at %1 %2").arg(p.x()).arg(p.y()));
    };
    m_commands["expect-count"] = [this](const ScriptCommand& c) {
        needArgs(c, 2, 2);
        if (c.args[0] != "TEXT" && c.args[0] != "INSERT")
            throw ScriptError(c.line, "expect-count: expected TEXT or INSERT");
        const int got = m_drawing.countEntities(c.args[0]);
        expect(c, got == intArg(c, 1), QString::number(intArg(c, 1)), QString::number(got));
    };
}

} // namespace kalvex::script
