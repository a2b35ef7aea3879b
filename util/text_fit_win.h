// text_fit_win.h - text in a box that may be too small for it: wrapped at
// words, cut after the last word that fits with an ellipsis, and the whole
// text offered in a tooltip when it was cut.
#ifndef KV_UTIL_TEXT_FIT_WIN_H
#define KV_UTIL_TEXT_FIT_WIN_H

#include <windows.h>

#include <string>

// What of `text` shows in `box` with the font selected into `dc`: the text
// itself when it fits wrapped at words, else its longest start cut at a
// blank (and a trailing comma) followed by "...".
std::string KvFitText(HDC dc, const RECT& box, const std::string& text);

// Draws `text` fitted into `box` (transparent background, the DC's colour
// and font). True when the whole text shows.
bool KvDrawFittedText(HDC dc, const RECT& box, const std::string& text);

// The window text of `control`, whatever its length.
std::string KvWindowText(HWND control);

// A tooltip over `control` (a static needs SS_NOTIFY) whose text is asked
// of `owner` with TTN_GETDISPINFOA; KvAnswerFullTextTip answers it. Null
// when the system refuses.
HWND KvAddFullTextTip(HWND owner, HWND control);
// TTN_GETDISPINFOA of such a tooltip: the control's whole text when its
// box cuts it (measured with the control's font), nothing otherwise, so
// the tip shows only for a cut text. `buffer` holds the text while the tip
// shows. True when `nm` was such a request for `control`.
bool KvAnswerFullTextTip(NMHDR* nm, HWND control, std::string* buffer);

#endif  // KV_UTIL_TEXT_FIT_WIN_H
