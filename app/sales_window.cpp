// The sales overview window: the months box, the chart (a child window of
// its own that paints through PaintSalesChart and gives each bar a
// tooltip), the currency note, the table and the four buttons. The orders
// are read once for 36 months; choosing 12 or 24 shows the last of them.
#include "app/sales_window.h"

#include <commctrl.h>
#include <string.h>

#include <string>

#include "app/app.h"
#include "app/sales_chart.h"
#include "printout/pdf_win.h"
#include "printout/printout.h"
#include "resources/resource.h"
#include "util/dpi_win.h"
#include "util/file_dialog_win.h"
#include "util/listview_win.h"
#include "util/modal_loop_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/platform.h"
#include "util/scoped_win.h"
#include "util/window_win.h"
#include "valuation/sales_overview.h"

const char kSalesWindowClass[] = "salesOverview";

namespace {

const char kChartClass[] = "salesChart";
const char kTitle[] = "Sales overview";
const int kWidth = 780, kHeight = 640, kMinWidth = 600, kMinHeight = 480;  // at 96 dpi
const int kMargin = 8, kButtonWidth = 96, kButtonHeight = 26, kTableHeight = 180, kNoteHeight = 18;

const ListColumn kColumns[kSalesColumnCount] = {
    {"Month", 130, LVCFMT_LEFT}, {"Orders", 80, LVCFMT_RIGHT}, {"Net", 160, LVCFMT_RIGHT}, {"Gross", 160, LVCFMT_RIGHT}};

struct Button {
    int id;
    const char* text;
};
const Button kButtons[] = {
    {IDC_SALES_COPY, "Copy"}, {IDC_SALES_PRINT, "Print..."}, {IDC_SALES_PDF, "Save as PDF..."}, {IDC_SALES_CLOSE, "Close"}};
const int kButtonCount = sizeof kButtons / sizeof kButtons[0];

struct SalesWindow {
    HWND hwnd = nullptr, owner = nullptr;
    HWND monthsLabel = nullptr, months = nullptr, chart = nullptr, note = nullptr, table = nullptr, tip = nullptr;
    HWND buttons[kButtonCount] = {};
    int dpi = kKvBaseDpi;
    ScopedFont font;  // the controls' font at that dpi (none: the stock one)
    KvWindowIcons icons;
    SalesOverview all;    // the 36 months read
    SalesOverview shown;  // the months the box chooses
    int tools = 0;        // the chart's tooltip areas, one a month
    std::string tipText;
};

SalesChartStyle ChartStyle(SalesWindow* w) { return SalesChartStyle{KvGuiFont(w->font), w->dpi}; }

// ---- The chart -------------------------------------------------------------------

void PaintChart(SalesWindow* w, HWND hwnd) {
    ScopedPaint paint(hwnd);
    RECT r;
    GetClientRect(hwnd, &r);
    // Drawn off the screen first, so that a resize does not flicker.
    MemoryDC memory(paint, r.right, r.bottom);
    if (!memory.ok()) {
        PaintSalesChart(paint, r, w->shown, g_app.settings, ChartStyle(w));
        return;
    }
    PaintSalesChart(memory, r, w->shown, g_app.settings, ChartStyle(w));
    BitBlt(paint, 0, 0, r.right, r.bottom, memory, 0, 0, SRCCOPY);
}

// The tooltip's areas: one a bar's column, its id the month's index.
void PlaceTips(SalesWindow* w) {
    if (!w->tip) return;
    TOOLINFOA ti = {};
    ti.cbSize = sizeof ti;
    ti.hwnd = w->chart;
    for (int i = 0; i < w->tools; i++) {
        ti.uId = (UINT_PTR)i;
        SendMessageA(w->tip, TTM_DELTOOLA, 0, (LPARAM)&ti);
    }
    RECT box;
    GetClientRect(w->chart, &box);
    ScopedWindowDC dc(w->chart);
    w->tools = (int)w->shown.months.size();
    for (int i = 0; i < w->tools; i++) {
        ti.uFlags = TTF_SUBCLASS;
        ti.uId = (UINT_PTR)i;
        ti.rect = SalesBarColumn(dc, box, w->shown, ChartStyle(w), i);
        ti.lpszText = LPSTR_TEXTCALLBACKA;
        SendMessageA(w->tip, TTM_ADDTOOLA, 0, (LPARAM)&ti);
    }
    SendMessageA(w->tip, TTM_SETMAXTIPWIDTH, 0, KvScale(420, w->dpi));
}

LRESULT OnChartNotify(SalesWindow* w, NMHDR* nm) {
    if (nm->code != TTN_GETDISPINFOA) return 0;
    NMTTDISPINFOA* info = (NMTTDISPINFOA*)nm;
    const size_t i = (size_t)nm->idFrom;
    w->tipText = i < w->shown.months.size() ? SalesTooltipText(w->shown.months[i], g_app.settings) : "";
    info->lpszText = (char*)w->tipText.c_str();
    return 0;
}

LRESULT CALLBACK ChartProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    SalesWindow* w = KvWindowState<SalesWindow>(hwnd, msg, lp);
    if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_PAINT: PaintChart(w, hwnd); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_NOTIFY: return OnChartNotify(w, (NMHDR*)lp);
        case WM_NCDESTROY: KvDetachState(hwnd); return 0;  // the state is the window's
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// ---- Contents --------------------------------------------------------------------

void ShowMonths(SalesWindow* w, int count) {
    w->shown = SalesLastMonths(w->all, count);
    SendMessageA(w->table, WM_SETREDRAW, FALSE, 0);
    SendMessageA(w->table, LVM_DELETEALLITEMS, 0, 0);
    for (size_t i = 0; i < w->shown.months.size(); i++) {
        std::string cells[kSalesColumnCount];
        SalesRowCells(w->shown.months[i], cells);
        AppendListRow(w->table, cells, kSalesColumnCount);
    }
    SendMessageA(w->table, WM_SETREDRAW, TRUE, 0);
    SetWindowTextA(w->note, SalesCurrencyNote(w->shown).c_str());
    PlaceTips(w);
    InvalidateRect(w->chart, nullptr, FALSE);
}

int ChosenMonths(SalesWindow* w) {
    const int i = (int)SendMessageA(w->months, CB_GETCURSEL, 0, 0);
    return i >= 0 && i < 3 ? kSalesMonthChoices[i] : kSalesMonthChoices[0];
}

// ---- Layout ----------------------------------------------------------------------

void Layout(SalesWindow* w) {
    RECT c;
    GetClientRect(w->hwnd, &c);
    auto px = [w](int v) { return KvScale(v, w->dpi); };
    const int m = px(kMargin), bh = px(kButtonHeight), bw = px(kButtonWidth);
    const int buttonsTop = c.bottom - m - bh;
    const int tableTop = buttonsTop - m - px(kTableHeight);
    const int noteTop = tableTop - px(4) - px(kNoteHeight);
    const int chartTop = m + px(22) + m;
    MoveWindow(w->monthsLabel, m, m + px(3), px(60), px(18), TRUE);
    MoveWindow(w->months, m + px(64), m, px(80), px(200), TRUE);
    MoveWindow(w->chart, m, chartTop, c.right - 2 * m, noteTop - px(4) - chartTop, TRUE);
    MoveWindow(w->note, m, noteTop, c.right - 2 * m, px(kNoteHeight), TRUE);
    MoveWindow(w->table, m, tableTop, c.right - 2 * m, px(kTableHeight), TRUE);
    for (int i = 0; i < kButtonCount; i++)
        MoveWindow(w->buttons[i], c.right - m - (kButtonCount - i) * (bw + m) + m, buttonsTop, bw, bh, TRUE);
    PlaceTips(w);
}

void ApplyDpi(SalesWindow* w, int dpi) {
    w->dpi = dpi;
    w->font.reset(KvCreateGuiFont(dpi));
    const HFONT f = KvGuiFont(w->font);
    for (HWND h : {w->monthsLabel, w->months, w->note, w->table})
        SendMessageA(h, WM_SETFONT, (WPARAM)f, TRUE);
    for (HWND b : w->buttons) SendMessageA(b, WM_SETFONT, (WPARAM)f, TRUE);
    SetListColumnWidths(w->table, kColumns, kSalesColumnCount, dpi);
    w->icons.Apply(w->hwnd, g_app.instance, IDI_APP, dpi);
    Layout(w);
    InvalidateRect(w->chart, nullptr, FALSE);
}

// ---- Creation --------------------------------------------------------------------

HWND Child(SalesWindow* w, const char* cls, const char* text, DWORD style, int id, DWORD ex = 0) {
    return CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, w->hwnd, (HMENU)(INT_PTR)id,
                           g_app.instance, nullptr);
}

LRESULT OnCreate(SalesWindow* w, HWND hwnd) {
    w->hwnd = hwnd;
    w->dpi = KvDpiForWindow(hwnd);
    w->monthsLabel = Child(w, "STATIC", "Months:", SS_LEFT, IDC_SALES_MONTHS_LABEL);
    w->months = Child(w, WC_COMBOBOXA, "", CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, IDC_SALES_MONTHS);
    w->chart = CreateWindowExA(0, kChartClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, hwnd,
                               (HMENU)(INT_PTR)IDC_SALES_CHART, g_app.instance, w);
    w->note = Child(w, "STATIC", "", SS_LEFT | SS_ENDELLIPSIS | SS_NOPREFIX, IDC_SALES_NOTE);
    w->table = Child(w, WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP, IDC_SALES_TABLE,
                     WS_EX_CLIENTEDGE);
    for (int i = 0; i < kButtonCount; i++)
        w->buttons[i] = Child(w, "BUTTON", kButtons[i].text, BS_PUSHBUTTON | WS_TABSTOP, kButtons[i].id);
    if (!w->monthsLabel || !w->months || !w->chart || !w->note || !w->table || !w->buttons[kButtonCount - 1])
        return -1;
    for (int months : kSalesMonthChoices)
        SendMessageA(w->months, CB_ADDSTRING, 0, (LPARAM)std::to_string(months).c_str());
    SendMessageA(w->months, CB_SETCURSEL, 0, 0);
    SendMessageA(w->table, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    InsertListColumns(w->table, kColumns, kSalesColumnCount, w->dpi);
    w->tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0,
                             0, 0, hwnd, nullptr, g_app.instance, nullptr);
    ApplyDpi(w, w->dpi);
    ShowMonths(w, ChosenMonths(w));
    return 0;
}

// ---- Commands --------------------------------------------------------------------

void CmdCopy(SalesWindow* w) {
    const std::string text = SalesTabText(w->shown);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    char* bytes = memory ? (char*)GlobalLock(memory) : nullptr;
    if (bytes) {
        memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
    }
    if (bytes && OpenClipboard(w->hwnd)) {
        EmptyClipboard();
        const bool given = SetClipboardData(CF_TEXT, memory) != nullptr;
        CloseClipboard();
        if (given) return;  // the clipboard owns the memory now
    }
    const DWORD error = GetLastError();
    if (memory) GlobalFree(memory);
    KvShowSystemText(w->hwnd, error);
}

void CmdPrint(SalesWindow* w) {
    char msg[KV_MSG_LEN] = "";
    PrintoutPages pages;
    if (!ComposeSalesPages(w->shown, g_app.settings, &pages, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    PreviewPrintoutPages(w->hwnd, &pages, kTitle);
}

void CmdSavePdf(SalesWindow* w) {
    char msg[KV_MSG_LEN] = "";
    if (!CheckPdfCodePage((UINT)kvplat::AnsiCodePage(), msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    char path[MAX_PATH] = "sales-overview.pdf";
    const KvFileQuestion q = {true, "Save as PDF", "PDF files (*.pdf)\0*.pdf\0All files (*.*)\0*.*\0", "pdf",
                              nullptr};
    if (!KvAskFile(w->hwnd, q, path, (int)sizeof path)) return;
    PrintoutPages pages;
    int ok;
    {
        ScopedWaitCursor wait;
        ok = ComposeSalesPages(w->shown, g_app.settings, &pages, msg);
        if (ok) {
            ok = SavePagesPdf(&pages, kTitle, path, msg);
            FreePrintoutPages(&pages);
        }
    }
    if (!ok) KvShowError(w->hwnd, msg);
}

void OnCommand(SalesWindow* w, int id, int code) {
    switch (id) {
        case IDC_SALES_MONTHS:
            if (code == CBN_SELCHANGE) ShowMonths(w, ChosenMonths(w));
            return;
        case IDC_SALES_COPY: CmdCopy(w); return;
        case IDC_SALES_PRINT: CmdPrint(w); return;
        case IDC_SALES_PDF: CmdSavePdf(w); return;
        case IDCANCEL:
        case IDC_SALES_CLOSE: DestroyWindow(w->hwnd); return;
    }
}

void OnGetMinMaxInfo(HWND hwnd, MINMAXINFO* info) {
    KvSetMinimumTrackSize(info, kMinWidth, kMinHeight, KvDpiForWindow(hwnd));
}

void OnDpiChanged(SalesWindow* w, WPARAM wp, LPARAM lp) {
    KvTakeSuggestedRect(w->hwnd, lp);
    ApplyDpi(w, KvDpiOfDpiChanged(wp));
}

// The owner comes back as the window goes, before anything else is activated.
void OnDestroy(SalesWindow* w) {
    EnableWindow(w->owner, TRUE);
    SetActiveWindow(w->owner);
}

LRESULT CALLBACK SalesProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_GETMINMAXINFO) {
        OnGetMinMaxInfo(hwnd, (MINMAXINFO*)lp);
        return 0;
    }
    SalesWindow* w = KvWindowState<SalesWindow>(hwnd, msg, lp);
    if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
    switch (msg) {
        case WM_CREATE: return OnCreate(w, hwnd);
        case WM_SIZE: Layout(w); return 0;
        case WM_COMMAND: OnCommand(w, LOWORD(wp), HIWORD(wp)); return 0;
        case WM_DPICHANGED: OnDpiChanged(w, wp, lp); return 0;
        case WM_CLOSE: DestroyWindow(hwnd); return 0;
        case WM_DESTROY: OnDestroy(w); return 0;
        case WM_NCDESTROY: KvDetachState(hwnd); return 0;  // the state lives on RunSalesWindow's stack
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

// Escape closes the window (but first a dropped-down month list); Tab and
// the arrows move between the controls.
bool PreTranslate(void* context, MSG* msg) {
    SalesWindow* w = (SalesWindow*)context;
    if (msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE &&
        (msg->hwnd == w->hwnd || IsChild(w->hwnd, msg->hwnd)) && !SendMessageA(w->months, CB_GETDROPPEDSTATE, 0, 0)) {
        DestroyWindow(w->hwnd);
        return true;
    }
    return IsDialogMessageA(w->hwnd, msg) != FALSE;
}

bool RegisterClasses() {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExA(g_app.instance, kSalesWindowClass, &wc)) {
        wc = WNDCLASSEXA{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = SalesProc;
        wc.hInstance = g_app.instance;
        wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
        wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
        wc.lpszClassName = kSalesWindowClass;
        if (!RegisterClassExA(&wc)) return false;
    }
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExA(g_app.instance, kChartClass, &wc)) return true;
    wc = WNDCLASSEXA{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = ChartProc;
    wc.hInstance = g_app.instance;
    wc.hCursor = LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    wc.lpszClassName = kChartClass;
    return RegisterClassExA(&wc) != 0;
}

}  // namespace

void RunSalesWindow(HWND owner, const RegisterRows* allOrders) {
    SalesWindow w;
    w.owner = owner;
    char msg[KV_MSG_LEN] = "";
    int read;
    {
        ScopedWaitCursor wait;
        if (allOrders) {
            SalesFromRows(*allOrders, g_app.settings.idWalPrg, kSalesMaxMonths, &w.all);
            read = 1;
        } else {
            read = ComputeSalesOverview(g_app.settings.idWalPrg, kSalesMaxMonths, &w.all, msg);
        }
    }
    if (!read) {
        KvShowError(owner, msg);
        return;
    }
    if (!RegisterClasses()) {
        KvShowSystemText(owner, GetLastError());
        return;
    }
    // Centred over the owner, at the owner's scale.
    const int dpi = KvDpiForWindow(owner);
    RECT o;
    GetWindowRect(owner, &o);
    const int cx = KvScale(kWidth, dpi), cy = KvScale(kHeight, dpi);
    const int x = o.left + (o.right - o.left - cx) / 2, y = o.top + (o.bottom - o.top - cy) / 2;
    HWND hwnd = CreateWindowExA(WS_EX_DLGMODALFRAME, kSalesWindowClass, kTitle, WS_OVERLAPPEDWINDOW & ~WS_MINIMIZEBOX,
                                x < 0 ? 0 : x, y < 0 ? 0 : y, cx, cy, owner, nullptr, g_app.instance, &w);
    if (!hwnd) {
        KvShowSystemText(owner, GetLastError());
        return;
    }
    EnableWindow(owner, FALSE);
    ShowWindow(hwnd, SW_SHOW);
    SetFocus(w.table);
    KvRunModalLoop(hwnd, PreTranslate, &w);
}
