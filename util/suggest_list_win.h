// suggest_list_win.h - a drop-down of suggestions under an edit: a popup list
// of the program's own (the system's autocompletion would sort the entries
// itself and tell nothing of a choice) that never takes the focus. The edit
// keeps the focus and the typing; while the list shows, Up and Down move
// through it, Enter or a click chooses, Escape closes it. It closes as well
// when the edit loses the focus and when the edit's window moves, changes
// its size or is deactivated. What it offers is util/suggest_list.h's.
#ifndef KV_UTIL_SUGGEST_LIST_WIN_H
#define KV_UTIL_SUGGEST_LIST_WIN_H

#include <windows.h>

#include <vector>

// The user chose entry `entry` of the texts last shown; the list is hidden
// by then.
typedef void (*KvSuggestChosen)(void* context, int entry);

// The popup's window class, for tests that look for it.
extern const char kKvSuggestListClass[];

// Makes the hidden drop-down of `edit`, owned by the edit's top-level window
// and destroyed with it. Null when it cannot be made.
HWND KvCreateSuggestList(HWND edit, KvSuggestChosen chosen, void* context);
// Shows `texts` in their order under the edit (above it when the screen has
// no room below), at most eight rows high, none selected; no texts hide it.
void KvShowSuggestions(HWND list, const std::vector<const char*>& texts);
void KvHideSuggestions(HWND list);
bool KvSuggestionsShown(HWND list);

#endif  // KV_UTIL_SUGGEST_LIST_WIN_H
