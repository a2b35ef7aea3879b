// journey_driver - plays a seller's day on the installed program from a
// separate process, through the real windows' messages only: a new order
// from the register, two windows drawn in the designer, one accessory, a
// save with a status, the order found again in the register, its preview
// and its printout sent to the printer. Prints what it saw as "key: value"
// lines for the calling script, which checks them against the database and
// the printed PDF.
//
//   journey_driver --lnk SHORTCUT.lnk [--shots DIR]
//   journey_driver --exe PROGRAM.exe --cwd FOLDER [--shots DIR] [--no-print]
//
// With --shots every window met on the way is also saved as DIR/<name>.bmp
// (the pictures of the help page). Every wait has a time-out; a failure
// prints "FAILED: ..." and ends with exit status 1.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <ctype.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/journey/driver.h"

namespace {

bool g_print = true;
std::string g_password;     // answers the login dialog of a register on a server
bool g_serverSteps = false;  // a correction, a search and a status change after the printout
bool g_wrongFirst = false;   // a refused password before the right one
bool g_startFails = false;   // the start is to end with an error box
bool g_cancelLogin = false;  // the login is cancelled: the program ends without a box
bool g_startOnly = false;    // the register shows (no login dialog), then the program is closed

// ---- The designer ------------------------------------------------------------------

// Where millimetre (X, Y) of a W x H window lies on the canvas: the frame
// fitted into the client area less a margin each side (50 pixels at 96
// dpi, scaled with the display), centred.
POINT CanvasPoint(HWND canvas, int W, int H, int X, int Y) {
    RECT c;
    GetClientRect(canvas, &c);
    HDC screen = GetDC(nullptr);
    const int margin = MulDiv(50, GetDeviceCaps(screen, LOGPIXELSY), 96);
    ReleaseDC(nullptr, screen);
    const double s =
        std::min((double)(c.right - c.left - 2 * margin) / W, (double)(c.bottom - c.top - 2 * margin) / H);
    POINT p;
    p.x = (LONG)((X - W / 2) * s + c.left + (c.right - c.left) / 2);
    p.y = (LONG)((Y - H / 2) * s + c.top + (c.bottom - c.top) / 2);
    return p;
}

void Click(HWND canvas, POINT p) {
    PostMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
    PostMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    Settle(canvas);
}

void Drag(HWND canvas, POINT a, POINT b) {
    PostMessageA(canvas, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(a.x, a.y));
    PostMessageA(canvas, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(b.x, b.y));
    PostMessageA(canvas, WM_LBUTTONUP, 0, MAKELPARAM(b.x, b.y));
    Settle(canvas);
}


struct WindowDesign {
    int width, height;
    const char* profile;
    const char* price;
    const char* glass;
};

// One window: a frame, a vertical mullion in its middle, a tilt & turn sash
// on each side and glass in both sashes, described and saved.
// "Prices from the price list..." on an order in correction: its question,
// answered No, so the order stays as it was.
void ShootPricesQuestion(HWND order) {
    Command(order, kOrdCorrect);
    WaitReady(order, "the order in correction");
    Command(order, kOrdPricesFromList);
    HWND box = WaitFor("the prices' question", MessageBoxOpen, true);
    SetCursorPos(0, 0);  // no tooltip of the windows list over the box
    Settle(box);
    Shot(box, "order-prices");
    PostMessageA(box, WM_COMMAND, IDNO, 0);
    WaitGone(box, "the prices' question");
}

void DesignWindow(HWND order, const WindowDesign& d, bool shots) {
    WaitReady(order, "the order window");
    Command(order, kOrdWinAdd);
    HWND des = WaitTop("oknoOkTrDowOkno");
    HWND canvas = WaitFor("the canvas", [des]() -> HWND {
        HWND c = ChildOfClass(des, "obsProj");
        RECT r = {};
        if (c) GetClientRect(c, &r);
        return r.right > 200 && r.bottom > 200 ? c : nullptr;
    });
    Settle(des);
    const int W = d.width, H = d.height;

    Command(des, kDesFrame);
    Settle(des);
    Click(canvas, CanvasPoint(canvas, W, H, W / 2, H / 2));
    HWND dim = Dialog("Dimension of frame");
    char t[32];
    snprintf(t, sizeof t, "%d", W);
    SetText(GetDlgItem(dim, kFrameWidth), t);
    snprintf(t, sizeof t, "%d", H);
    SetText(GetDlgItem(dim, kFrameHeight), t);
    Command(dim, IDOK);
    WaitGone(dim, "the frame dialog");

    Command(des, kDesFixedMullion);
    Settle(des);
    Drag(canvas, CanvasPoint(canvas, W, H, W / 2, -20), CanvasPoint(canvas, W, H, W / 2, H + 20));

    Command(des, kDesTiltLeft);
    Settle(des);
    Click(canvas, CanvasPoint(canvas, W, H, W / 4, H / 2));
    Command(des, kDesTiltRight);
    Settle(des);
    Click(canvas, CanvasPoint(canvas, W, H, 3 * W / 4, H / 2));

    Command(des, kDesNewFilling);
    HWND fill = Dialog("New filling name");
    SetText(GetDlgItem(fill, kFillingName), d.glass);
    SendMessageA(GetDlgItem(fill, kFillingGlass), BM_SETCHECK, BST_CHECKED, 0);
    Command(fill, IDOK);
    WaitGone(fill, "the filling dialog");
    Click(canvas, CanvasPoint(canvas, W, H, W / 4, H / 2));
    Click(canvas, CanvasPoint(canvas, W, H, 3 * W / 4, H / 2));
    Command(des, kDesPointer);

    SetText(ItemEither(des, kPnlProfile - 1, kPnlProfile), d.profile);
    SetText(ItemEither(des, kPnlColor - 1, kPnlColor), "White");
    SetText(ItemEither(des, kPnlHardware - 1, kPnlHardware), "Standard hardware");
    SetText(ItemEither(des, kPnlBead - 1, kPnlBead), "Round bead");
    SetText(Item(des, kPnlNet), d.price);
    SetText(Item(des, kPnlNotes), "Two sashes on a fixed mullion");
    Settle(des);
    if (HWND box = MessageBoxOpen()) Fail("designer: \"%s\"", BoxText(box).c_str());
    if (shots) {
        Shot(des, "designer");
        // The in-place editor of a dimension: a click with the pointer on the
        // label of the left sash's width, found by walking down from the frame.
        HWND editor = nullptr;
        POINT p = CanvasPoint(canvas, W, H, W / 4, H);
        for (int dy = 4; dy < 60 && !editor; dy += 3) {
            Click(canvas, POINT{p.x, p.y + dy});
            HWND e = GetDlgItem(canvas, 10293);
            if (e && IsWindowVisible(e)) editor = e;
        }
        if (editor) {
            Shot(des, "dimension");
            PostMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
            Settle(des);
        } else {
            Say("no dimension label found below the frame");
        }
        Command(des, kDesFactors);
        HWND f = WaitFor("the Factors dialog", [] { return Top("#32770", "Factors"); });
        Shot(f, "factors");
        Command(f, IDCANCEL);
        WaitGone(f, "the Factors dialog");
    }
    Command(des, kDesSave);
    WaitGone(des, "the designer after Save");
    Say("window: %d x %d mm, %s, price %s", W, H, d.profile, d.price);
}

// The buyer field of a new order offering a returning buyer: the focus put
// in the field as the program's own thread would have it, "Ma" typed, the
// first entry marked with Down; Escape closes the list again.
void ShotReturningBuyer(HWND order) {
    HWND buyer = Item(order, kGenBuyer);
    const DWORD program = GetWindowThreadProcessId(buyer, nullptr);
    AttachThreadInput(GetCurrentThreadId(), program, TRUE);
    SetFocus(buyer);
    AttachThreadInput(GetCurrentThreadId(), program, FALSE);
    DWORD_PTR r = 0;
    for (char c : std::string("Ma")) SendMessageTimeoutA(buyer, WM_CHAR, (WPARAM)c, 1, SMTO_ABORTIFHUNG, 5000, &r);
    HWND list = WaitFor("the returning buyers", [] {
        HWND h = FindWindowA("kvSuggestList", nullptr);
        return h && IsWindowVisible(h) ? h : nullptr;
    });
    PostMessageA(buyer, WM_KEYDOWN, VK_DOWN, 1);
    Settle(list);
    Shot(order, "order-buyers");
    PostMessageA(buyer, WM_KEYDOWN, VK_ESCAPE, 1);
    SetText(buyer, "");
}

void Start(int argc, char** argv) {
    std::string lnk, exe, cwd;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        if (a == "--lnk" && i + 1 < argc) lnk = argv[++i];
        else if (a == "--exe" && i + 1 < argc) exe = argv[++i];
        else if (a == "--cwd" && i + 1 < argc) cwd = argv[++i];
        else if (a == "--shots" && i + 1 < argc) g_shots = argv[++i];
        else if (a == "--no-print") g_print = false;
        else if (a == "--password" && i + 1 < argc) g_password = argv[++i];
        else if (a == "--server-steps") g_serverSteps = true;
        else if (a == "--wrong-password-first") g_wrongFirst = true;
        else if (a == "--start-fails") g_startFails = true;
        else if (a == "--cancel-login") g_cancelLogin = true;
        else if (a == "--start-only") g_startOnly = true;
        else Fail("unknown argument %s", a.c_str());
    }
    if (!lnk.empty()) {
        CoInitialize(nullptr);
        IShellLinkA* link = nullptr;
        IPersistFile* file = nullptr;
        if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                    (void**)&link)))
            Fail("no shell link object");
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, lnk.c_str(), -1, wide, MAX_PATH);
        if (FAILED(link->QueryInterface(IID_IPersistFile, (void**)&file)) ||
            FAILED(file->Load(wide, STGM_READ)))
            Fail("cannot read the shortcut %s", lnk.c_str());
        char path[MAX_PATH] = "", dir[MAX_PATH] = "";
        link->GetPath(path, MAX_PATH, nullptr, 0);
        link->GetWorkingDirectory(dir, MAX_PATH);
        file->Release();
        link->Release();
        exe = path;
        cwd = dir;
        Say("shortcut: target %s, working directory %s", path, dir);
    }
    StartProgram(exe, cwd);
}


// The register on a server asks for the password first.
void LogIn() {
    HWND login = WaitFor("the login dialog", [] { return Top("#32770", "Login and password"); });
    Settle(login);
    if (g_wrongFirst) {
        SetText(GetDlgItem(login, 1205), "not-the-password");
        Command(login, IDOK);
        WaitGone(login, "the login dialog");
        Say("refused: %s", AnswerBox("the refusal").c_str());
        login = WaitFor("the login dialog again", [] { return Top("#32770", "Login and password"); });
        Settle(login);
    }
    Say("login dialog: login %s", TextOf(GetDlgItem(login, 1204)).c_str());
    Shot(login, "login");
    SetText(GetDlgItem(login, 1205), g_password.c_str());
    Command(login, IDOK);
    WaitGone(login, "the login dialog");
}

// What a second desk's day adds on a server: the order corrected, found by
// its number typed in lower case, and moved to status 3.
void ServerSteps(HWND main, HWND list, const std::string& number) {
    WaitReady(main, "the register");
    SelectOnly(list, RowOf(list, number));
    Command(main, kRegCorrect);
    HWND order = WaitTop("oknoZamowienia");
    WaitReady(order, "the order window in correction");
    SetText(Item(order, kGenSymbol), "Corrected");
    Command(order, kOrdSave);
    Say("corrected: %s", AnswerBoxIfAny().c_str());
    WaitGone(order, "the order window after the correction");

    WaitReady(main, "the register");
    Command(main, kRegSearch);
    HWND search = Dialog("Searched order's number");
    std::string typed = number;
    for (char& c : typed) c = (char)tolower((unsigned char)c);
    SetText(GetDlgItem(search, kSearchText), typed.c_str());
    Command(search, IDOK);
    order = WaitTop("oknoZamowienia");
    WaitReady(order, "the order found");
    Say("found: %s as %s", typed.c_str(), TextOf(Item(order, kOrdNumber)).c_str());
    Command(order, kOrdCancel);
    WaitGone(order, "the order found");

    WaitReady(main, "the register");
    Command(main, kRegAbout);
    HWND about = Dialog("About the program");
    Say("about: %s", TextOf(GetDlgItem(about, kAboutDatabase)).c_str());
    Shot(about, "about-server");
    Command(about, IDOK);
    WaitGone(about, "the about box");

    WaitReady(main, "the register");
    SelectOnly(list, RowOf(list, number));
    Command(main, kRegStatus3);
    const std::string asked = AnswerBoxIfAny();
    Settle(main);
    Say("status changed: %s%s", Cell(list, RowOf(list, number), 1).c_str(), asked.empty() ? "" : " (asked)");
}

// A start that cannot open its database: one error box, then the end.
void StartThatFails() {
    Say("start: %s", AnswerBox("the start's error").c_str());
    if (WaitForSingleObject(g_process, kWait) != WAIT_OBJECT_0) Fail("the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(g_process, &code);
    Say("program ended: exit code %lu", (unsigned long)code);
}

// The sales overview over the demo orders and the journey's own, for the
// help page; closed again with its Close button.
void ShotSalesOverview(HWND main) {
    WaitReady(main, "the register");
    Command(main, kRegSalesOverview);
    HWND sales = WaitTop("salesOverview");
    SetCursorPos(0, 0);  // no bar's tooltip in the picture
    Settle(sales);
    Shot(sales, "sales-overview");
    Command(sales, kSalesClose);
    WaitGone(sales, "the sales overview");
}

void Journey() {
    if (g_startFails) return StartThatFails();
    if (g_cancelLogin) {
        HWND login = WaitFor("the login dialog", [] { return Top("#32770", "Login and password"); });
        Settle(login);
        Command(login, IDCANCEL);
        Say("login cancelled");
        return EndWithoutBox();
    }
    if (g_startOnly) {
        HWND main = WaitTop("kelvaro");
        Settle(main);
        Say("register: %d orders", (int)SendMessageA(Item(main, kRegList), LVM_GETITEMCOUNT, 0, 0));
        Command(main, kCmdExit);
        return EndWithoutBox();
    }
    if (!g_password.empty()) LogIn();
    HWND main = WaitTop("kelvaro");
    HWND list = Item(main, kRegList);
    const int rowsBefore = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    Say("register: %d orders at the start", rowsBefore);
    if (!g_shots.empty()) {
        Command(main, kRegSettings);
        HWND set = WaitFor("the settings", [] { return Top("#32770", "Settings"); });
        Shot(set, "settings");
        Command(set, IDCANCEL);
        WaitGone(set, "the settings");
        Command(main, kRegPriceList);
        HWND prices = WaitFor("the price list", [] { return Top("#32770", "Price list"); });
        Shot(prices, "price-list");
        Command(prices, IDCANCEL);
        WaitGone(prices, "the price list");
    }
    if (!g_shots.empty()) {
        // Demo order 5 in preview, and its first window (two sashes beside a
        // mullion) in the designer.
        const int n = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
        int row = -1;
        for (int i = 0; i < n; i++)
            if (Cell(list, i, 2).rfind("5-", 0) == 0) row = i;
        if (row < 0) Fail("demo order 5 is not in the register");
        SelectOnly(list, row);
        WaitReady(main, "the register");
        Command(main, kRegPreview);
        HWND order = WaitTop("oknoZamowienia");
        WaitReady(order, "demo order 5");
        Shot(order, "order-5");
        HWND windows = Item(order, kOrdWindows);
        PostMessageA(windows, LB_SETCURSEL, 0, 0);
        Command(order, kOrdWinEdit);
        HWND des = WaitTop("oknoOkTrDowOkno");
        Settle(des);
        Shot(des, "designer-two-sashes");
        Shot(GetDlgItem(des, 10234), "designer-panel");  // the data panel with the price list's line
        PostMessageA(des, WM_CLOSE, 0, 0);
        WaitGone(des, "the designer of order 5");
        ShootPricesQuestion(order);
        Command(order, kOrdCancel);
        WaitGone(order, "demo order 5");
    }

    // A new order: the buyer, two windows, one accessory.
    WaitReady(main, "the register");
    Command(main, kRegNew);
    HWND order = WaitTop("oknoZamowienia");
    const std::string number = TextOf(Item(order, kOrdNumber));
    if (!g_shots.empty()) ShotReturningBuyer(order);
    SetText(Item(order, kGenBuyer), "Anna Kowalska");
    SetText(Item(order, kGenSymbol), "Journey");
    DesignWindow(order, {1200, 1400, "PVC 70 journey", "1500", "Glass 4/16/4"}, !g_shots.empty());
    DesignWindow(order, {900, 1100, "PVC 70 journey", "980.50", "Glass 4/16/4"}, false);

    WaitReady(order, "the order window");
    AddAccessory(order, "2", "accessory");
    Settle(order);
    Shot(order, "order");
    if (!g_shots.empty()) {
        const char* pages[] = {"order-valuation", "order-notes"};
        for (int i = 0; i < 2; i++) {
            ShowPage(order, i + 1);
            Shot(order, pages[i]);
        }
        ShowPage(order, 0);
    }
    Say("order window: net %s, gross %s", TextOf(Item(order, kOrdNet)).c_str(),
        TextOf(Item(order, kOrdGross)).c_str());

    WaitReady(order, "the order window");
    Command(order, kOrdSaveAsFirst);
    Say("saved: %s", AnswerBox("the save's message").c_str());
    WaitGone(order, "the order window after saving");
    Say("order number: %s", number.c_str());

    // The register lists it with its total.
    Settle(main);
    const int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    int row = -1;
    for (int i = 0; i < rows; i++)
        if (Cell(list, i, 2) == number) row = i;
    if (row < 0) Fail("the order %s is not in the register (%d rows)", number.c_str(), rows);
    Say("register row: key %s, status %s, buyer %s, total %s, windows %s", Cell(list, row, 0).c_str(),
        Cell(list, row, 1).c_str(), Cell(list, row, 4).c_str(), Cell(list, row, 7).c_str(),
        Cell(list, row, 8).c_str());
    Say("register total: %s", Cell(list, row, 7).c_str());
    SelectOnly(list, row);
    Settle(main);
    Shot(main, "register");
    if (!g_shots.empty()) ShotSalesOverview(main);

    // Its preview, and the printout from the print preview.
    WaitReady(main, "the register");
    Command(main, kRegPreview);
    order = WaitTop("oknoZamowienia");
    WaitReady(order, "the order window in preview");
    Command(order, kOrdPrint);
    HWND preview = WaitTop("podgladDruk");
    Shot(preview, "preview");
    if (g_print) {
        Command(preview, kPrvPrint);
        HWND dlg = Dialog("Print");
        Say("print dialog: printer %s", TextOf(GetDlgItem(dlg, 0x473)).c_str());
        Command(dlg, IDOK);
        WaitGone(dlg, "the print dialog");
        Settle(preview);
        Sleep(500);
        if (HWND box = MessageBoxOpen()) Fail("printing: \"%s\"", BoxText(box).c_str());
        Say("printed");
    }
    if (IsWindow(preview) && IsWindowVisible(preview)) {
        Command(preview, kPrvClose);
        WaitGone(preview, "the print preview");
    }
    WaitReady(order, "the order window in preview");
    Command(order, kOrdCancel);
    WaitGone(order, "the order window");

    if (g_serverSteps) ServerSteps(main, list, number);

    WaitReady(main, "the register");
    Command(main, kCmdExit);
    if (WaitForSingleObject(g_process, kWait) != WAIT_OBJECT_0) Fail("the program did not end");
    DWORD code = 0;
    GetExitCodeProcess(g_process, &code);
    Say("program ended: exit code %lu", (unsigned long)code);
}

}  // namespace

int main(int argc, char** argv) {
    Start(argc, argv);
    Journey();
    return 0;
}
