// driver.h - what the drivers share: they work the program's windows from
// another process, through their messages only, and print what they saw as
// "key: value" lines for the calling script. Every wait has a time-out; a
// failure prints "FAILED: ..." and ends the driver with exit status 1.
#ifndef KV_TESTS_JOURNEY_DRIVER_H
#define KV_TESTS_JOURNEY_DRIVER_H

#include <windows.h>

#include <functional>
#include <string>

// Commands and control ids of the program's windows.
enum : int {
    kCmdExit = 2,
    kCmdOk = 1,
    kRegNew = 10017,
    kRegPreview = 10018,
    kRegSettings = 10032,
    kRegPriceList = 13410,
    kRegSalesOverview = 13415,
    kSalesClose = 13428,
    kRegList = 10060,
    kRegSearch = 10021,
    kRegAbout = 10042,
    kAboutDatabase = 10072,
    kRegStatus3 = 10024,
    kRegCorrect = 10028,
    kSearchText = 10323,
    kOrdSave = 1,
    kOrdNumber = 10129,
    kOrdNet = 10131,
    kOrdGross = 10134,
    kOrdCancel = 2,
    kOrdPrint = 10029,
    kOrdCorrect = 10028,
    kOrdPricesFromList = 13416,
    kOrdSaveAsFirst = 10044,
    kOrdWinAdd = 10050,
    kOrdWinEdit = 10051,
    kOrdWindows = 10187,
    kOrdAccAdd = 10054,
    kOrdTab = 10139,
    kGenBuyer = 10156,
    kGenSymbol = 10155,
    kDesFrame = 10217,
    kDesPointer = 10216,
    kDesFixedMullion = 10224,
    kDesTiltLeft = 10231,
    kDesTiltRight = 10232,
    kDesNewFilling = 10233,
    kDesFactors = 10222,
    kDesSave = 1,
    kPnlProfile = 10237,
    kPnlColor = 10257,
    kPnlHardware = 10271,
    kPnlBead = 10274,
    kPnlNet = 10277,
    kPnlNotes = 10292,
    kFrameWidth = 10296,
    kFrameHeight = 10297,
    kFillingName = 10319,
    kFillingGlass = 10320,
    kAccName = 10189,
    kAccNameCombo = 10190,
    kAccUnit = 10193,
    kAccPrice = 10203,
    kAccQuantity = 10207,
    kPrvPrint = 1010,
    kPrvClose = 1011,
};

extern DWORD g_pid;        // the program's process
extern HANDLE g_process;
extern std::string g_shots;  // the folder of the pictures, "" for none
const DWORD kWait = 20000;   // ms any one wait may take

// Starts the program `exe` in the folder `cwd`.
void StartProgram(const std::string& exe, const std::string& cwd);

void Say(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
// Says what failed and which windows of the program are open, and ends.
[[noreturn]] void Fail(const char* fmt, ...) __attribute__((format(printf, 1, 2)));

std::string ClassOf(HWND h);
std::string TextOf(HWND h);
bool OfProgram(HWND h);
// A visible top-level window of the program with this class (and title, when given).
HWND Top(const char* cls, const char* title = nullptr);
// The descendant of `parent` with control id `id`; fails when there is none.
HWND Item(HWND parent, int id);
// A name the panel offers either as a list of the names used before or as a plain edit.
HWND ItemEither(HWND parent, int list, int edit);
HWND ChildOfClass(HWND parent, const char* cls);
// A message box of the program, or null.
HWND MessageBoxOpen();
// "Caption: text" of a message box.
std::string BoxText(HWND box);
// Polls `ready` until it gives a window; a message box nobody expected, the
// program's end or the time-out fails the run.
HWND WaitFor(const char* what, const std::function<HWND()>& ready, bool boxesAllowed = false);
HWND WaitTop(const char* cls, const char* title = nullptr);
void WaitGone(HWND h, const char* what);
// Lets the program catch up with what was posted to `h`.
void Settle(HWND h);
// Waits until `h` is enabled again and no designer is open.
void WaitReady(HWND h, const char* what);
// Answers the next message box with OK and returns "caption: text".
std::string AnswerBox(const char* what);
// A box that may come within a few seconds: answered (Yes when it asks),
// its text; "" when none came.
std::string AnswerBoxIfAny();
HWND Dialog(const char* title);
void Command(HWND h, int id);
// Types `text` into a control as typing does.
void SetText(HWND h, const char* text);
// The window as it is on the screen, as g_shots\<name>.bmp (with --shots).
void Shot(HWND h, const char* name);
// A cell of a list view of the program.
std::string Cell(HWND list, int row, int column);
void SelectOnly(HWND list, int row);
// The row of the order `number` in the register; fails when it is not there.
int RowOf(HWND list, const std::string& number);
// Shows page `page` of the order window's tabs by a click on its tab.
void ShowPage(HWND order, int page);
// Adds the accessory "Window sill", pcs, 45.90, `quantity` pieces, through
// the order window's "Accessory" dialog (its picture as `shot`, when given).
void AddAccessory(HWND order, const char* quantity, const char* shot = nullptr);
// Waits for the program's end; a message box meanwhile fails the run.
void EndWithoutBox();

#endif  // KV_TESTS_JOURNEY_DRIVER_H
