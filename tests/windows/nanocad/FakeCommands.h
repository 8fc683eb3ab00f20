#pragma once

#include "FakeBusyFilter.h"
#include "FakeCadServer.h"
#include "FakeControl.h"

namespace kalvex::fake {

// The commands of the fake CAD's control channel, run on the server's thread between the calls
// it serves. Words in capitals are the caller's; every reply starts with "ok" or an error.
//   text STRING X Y [LAYER]           adds a TEXT; replies its handle
//   insert BLOCK X Y LAYER [TAG VALUE]...  adds a block reference with attributes; its handle
//   layer NAME 0|1                    adds the layer if new; 1 locks it, 0 unlocks it
//   block NAME [ENTITYNAME TAG PROMPT]...  adds a block definition
//   pick [HANDLE]...                  the next on-screen selection picks these
//   pick-wait MS                      an on-screen selection with no pick queued waits up to
//                                     MS milliseconds for one (0, the start: it is cancelled)
//   erase HANDLE                      the user erases the entity
//   has HANDLE                        1 while the entity is in the drawing, else 0
//   entity HANDLE                     the entity's fields, one "name value..." row each
//   dump [FILE]                       "HANDLE KIND LAYER STRING" rows for every TEXT and
//                                     attribute in drawing order, also written to FILE
//   load FILE                         runs the lines of FILE (words separated by tabs, "#"
//                                     starts a comment) as commands
//   view                              view height, zoom corners and counts of zooms, regens
//                                     and undo marks
//   sets                              "NAME HANDLE..." rows, one per selection set
//   filter                            "CODE VALUE" rows of the last pick's or search's filter
//   log                               the server's counters as "name value" rows, and what
//                                     the fake saw of the tool's window while picking and
//                                     at the last write
//   calls [clear]                     the members called, in order (or forget them)
//   unserved [forget]                 the members asked for that no object serves
//   tool HWND                         the tool's window, which the fake looks at while picking
//   tool-title TITLE                  the tool is the top-level window of that title, found
//                                     when the fake first looks at it
//   window                            the CAD main window's handle (0 once closed)
//   close                             the user closes the CAD's main window
//   busy N [INTERFACE]                the fake's message filter answers the next N automation
//   reject N [INTERFACE]              calls (on objects of that interface) "retry later" / rejects
//                                     them
//   busy-invoke N                     the next N automation calls answer "retry later" from
//                                     the object itself, past the message filter
//   questions                         what COM asked the fake's message filter, and its answers
//   quit                              the fake ends (handled by the program, not here)
Reply runCommand(FakeCadServer& server, BusyFilter& filter, const Words& words);

} // namespace kalvex::fake
