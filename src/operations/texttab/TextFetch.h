#pragma once

#include <string>
#include <vector>

#include "cadlink/Document.h"
#include "cadlink/Records.h"
#include "cadlink/Text.h"
#include "operations/RunWindow.h"
#include "platform/WindowSystem.h"

namespace kalvex {

enum class FetchOrder { AsPicked, ByPosition };
enum class FetchResult { NothingPicked, Fetched };

// The record of a fetched TEXT: placed by its alignment point unless it is left-aligned.
Orvik textRecordOf(cad::Text& text, int index);

// The user picks TEXTs in the drawing. Those neither on a locked layer nor holding a line break
// become the TEXT records, in pick order or by position, and the user is told how many were
// left out. When nothing was picked the records stay as they were.
FetchResult FetchTexts(cad::Document& document, Waiter& waiter, FetchOrder order, RunWindow& window,
                       EntityRecords& records);

} // namespace kalvex
