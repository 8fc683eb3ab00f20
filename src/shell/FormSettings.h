#pragma once

#include <optional>

#include <QString>

namespace kalvex {

class IniFile;

// The options the main window restores at start and keeps at close. A value not stored
// takes the default given here; a missing position centres the window on the screen.
struct FormSettings {
    std::optional<int> Left;
    std::optional<int> Top;
    bool Sort = true;
    QString AttTag; // written only: the text of the tag box
    int AttTagIndex2 = 0;
    bool Cursor = true;
    int AttTagIndex1 = 0;
    bool Sentou = false;
    bool UpperCase = true;
    bool Enter = true;
    bool ZoomCenter = false;
    bool AttEnter = true;
    bool AttEnterDown = true;
    bool ZoomCenter2 = false;
};

// Reads the options of section "OrvikEdit"; a missing key or one that is not an integer
// leaves the default.
FormSettings readFormSettings(const IniFile& file);
// Writes every option, and the CAD's program id in section "Target", in the order the
// settings file has always listed them.
void writeFormSettings(IniFile& file, const FormSettings& settings, const QString& progId);

} // namespace kalvex
