// dpi_win.h - the display scale: the dpi of the monitor a window is on, and
// the one rule that turns a pixel measure given for 96 dpi into the pixels of
// that dpi.
//
// Every window keeps the dpi it is laid out for, takes its measures through
// KvScale, and lays itself out again on WM_DPICHANGED. At 96 dpi every
// measure is what it was before the program knew of scales.
#ifndef KV_UTIL_DPI_WIN_H
#define KV_UTIL_DPI_WIN_H

#include <windows.h>

constexpr int kKvBaseDpi = 96;

// The dpi of the window's monitor (GetDpiForWindow where the system has it),
// the system dpi otherwise or for a null window.
int KvDpiForWindow(HWND hwnd);
// The system dpi: the screen's logical pixels per inch.
int KvSystemDpi();
// Where KvDpiForWindow takes a window's dpi from: the system (null, the
// default) or a function a test puts in its place. Wine has one dpi for
// every monitor, so a test stands in for a monitor of another scale so.
typedef int (*KvWindowDpiSource)(HWND hwnd);
void KvSetWindowDpiSource(KvWindowDpiSource source);

// A measure of `px` pixels at 96 dpi, in pixels at `dpi`.
inline int KvScale(int px, int dpi) { return MulDiv(px, dpi, kKvBaseDpi); }

// The dialog font (the stock DEFAULT_GUI_FONT's face) for `dpi`; null when
// the stock font itself is the one (at the system dpi), which the caller
// then uses without owning it.
HFONT KvCreateGuiFont(int dpi);
// The font to set on controls: `own` when there is one, the stock font else.
inline HFONT KvGuiFont(HFONT own) { return own ? own : (HFONT)GetStockObject(DEFAULT_GUI_FONT); }

// A system measure (SM_CXSMICON, SM_CXICON, SM_CXCURSOR, ...) at `dpi`:
// GetSystemMetricsForDpi where the system has it, else the measure at the
// system dpi scaled to `dpi`.
int KvSystemMetricForDpi(int index, int dpi);

// A window's own icons at its dpi: the small one (caption, task bar) and
// the large one (Alt+Tab) in the sizes the system gives them at that dpi,
// each the picture of that size in the icon group. Keep it in the window's
// state, which outlives the window.
class KvWindowIcons {
public:
    KvWindowIcons() = default;
    ~KvWindowIcons();
    KvWindowIcons(const KvWindowIcons&) = delete;
    KvWindowIcons& operator=(const KvWindowIcons&) = delete;
    // Gives the window icon group `id` of `instance` at `dpi` (WM_SETICON);
    // an icon that cannot be loaded leaves the window the one it had.
    void Apply(HWND hwnd, HINSTANCE instance, int id, int dpi);

private:
    HICON small_ = nullptr;
    HICON big_ = nullptr;
};

// WM_DPICHANGED: the new dpi (wParam) and the rectangle the system suggests
// (lParam), which the window takes.
inline int KvDpiOfDpiChanged(WPARAM wParam) { return LOWORD(wParam); }
void KvTakeSuggestedRect(HWND hwnd, LPARAM lParam);
// WM_GETMINMAXINFO: the smallest size a user may drag the window to, given
// at 96 dpi, at `dpi`.
void KvSetMinimumTrackSize(MINMAXINFO* info, int width96, int height96, int dpi);

#endif  // KV_UTIL_DPI_WIN_H
