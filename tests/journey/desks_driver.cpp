// desks_driver - plays one of two desks working one register on a server
// at the same time, through the program's windows. The two drivers (and
// the calling script) keep step by files in a folder they share: a desk
// marks "<desk>-<step>" when it has done a step and waits for the other's
// mark before the next.
//
//   desks_driver --exe PROGRAM.exe --cwd FOLDER --desk A|B --sync FOLDER
//
// 1. Both desks save a new order at the same moment: "first number: ...".
// 2. B saves an order while A watches its register: "live: N ms" from the
//    moment B pressed Save to the row in A's list.
// 3. Both open A's first order for correction; B saves a change, then A
//    saves its own: refused, A's window stays with what A typed, then is
//    closed.
// 4. (A alone) A saves while the script stops the server in the middle of
//    it: the message, the window kept; once the script has started the
//    server again ("script-back4"), the same Save goes through.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "tests/journey/driver.h"

namespace {

std::string g_desk, g_other, g_sync;

std::string MarkPath(const std::string& desk, const char* step) { return g_sync + "\\" + desk + "-" + step; }

void Mark(const char* step) {
    HANDLE f = CreateFileA(MarkPath(g_desk, step).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) Fail("cannot mark %s", step);
    CloseHandle(f);
}

void Await(const std::string& desk, const char* step) {
    const std::string path = MarkPath(desk, step);
    const DWORD start = GetTickCount();
    while (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (HWND box = MessageBoxOpen()) Fail("waiting for %s-%s: \"%s\"", desk.c_str(), step, BoxText(box).c_str());
        if (GetTickCount() - start > 120000) Fail("%s did not come to %s", desk.c_str(), step);
        Sleep(20);
    }
}

// A new order from the register with the buyer `buyer` and one accessory
// (an order needs something to be saved); the order window, ready.
HWND NewOrder(HWND main, const char* buyer) {
    WaitReady(main, "the register");
    Command(main, kRegNew);
    HWND order = WaitTop("oknoZamowienia");
    WaitReady(order, "the new order");
    SetText(Item(order, kGenBuyer), buyer);
    AddAccessory(order, "1");
    WaitReady(order, "the new order");
    return order;
}

// The row whose buyer is `buyer`, or -1.
int RowOfBuyer(HWND list, const char* buyer) {
    const int rows = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < rows; i++)
        if (Cell(list, i, 4) == buyer) return i;
    return -1;
}

// "Information: The order 12-QW-2026 has been saved": 12-QW-2026.
std::string NumberIn(const std::string& box) {
    const std::string before = "The order ", after = " has been saved";
    const size_t a = box.find(before), b = box.find(after);
    if (a == std::string::npos || b == std::string::npos || b < a) Fail("no order number in \"%s\"", box.c_str());
    return box.substr(a + before.size(), b - a - before.size());
}

void BothSaveAtOnce(HWND main) {
    HWND order = NewOrder(main, g_desk == "A" ? "Desk A first" : "Desk B first");
    Say("shown number: %s", TextOf(Item(order, kOrdNumber)).c_str());
    Mark("ready1");
    Await(g_other, "ready1");
    Command(order, kOrdSave);
    const std::string box = AnswerBox("the first save");
    Say("first save: %s", box.c_str());
    WaitGone(order, "the order window after the first save");
    Say("first number: %s", NumberIn(box).c_str());
    Mark("saved1");
    Await(g_other, "saved1");
}

void LiveRegister(HWND main, HWND list) {
    if (g_desk == "B") {
        HWND order = NewOrder(main, "Desk B live");
        Mark("saving2");
        Command(order, kOrdSave);
        Say("live save: %s", AnswerBox("the save watched").c_str());
        WaitGone(order, "the order window after the save watched");
    } else {
        Await("B", "saving2");
        const DWORD start = GetTickCount();
        while (RowOfBuyer(list, "Desk B live") < 0) {
            if (GetTickCount() - start > 10000) Fail("B's order did not come into A's register");
            Sleep(10);
        }
        Say("live: %lu ms", (unsigned long)(GetTickCount() - start));
    }
    Mark("live2");
    Await(g_other, "live2");
}

void Conflict(HWND main, HWND list) {
    WaitReady(main, "the register");
    const int row = RowOfBuyer(list, "Desk A first");
    if (row < 0) Fail("A's first order is not in %s's register", g_desk.c_str());
    SelectOnly(list, row);
    Command(main, kRegCorrect);
    HWND order = WaitTop("oknoZamowienia");
    WaitReady(order, "the order in correction");
    Mark("open3");
    Await(g_other, "open3");
    if (g_desk == "B") {
        SetText(Item(order, kGenSymbol), "Changed at B");
        Command(order, kOrdSave);
        Say("correction: %s", AnswerBoxIfAny().c_str());
        WaitGone(order, "B's correction");
        Mark("corrected3");
        Await("A", "conflict3");
        return;
    }
    Await("B", "corrected3");
    SetText(Item(order, kGenSymbol), "Changed at A");
    Command(order, kOrdSave);
    Say("conflict: %s", AnswerBox("the refused correction").c_str());
    Settle(order);
    Say("window kept: %s, symbol \"%s\"", IsWindow(order) && IsWindowVisible(order) ? "yes" : "no",
        TextOf(Item(order, kGenSymbol)).c_str());
    Command(order, kOrdCancel);
    Say("closing: %s", AnswerBoxIfAny().c_str());
    WaitGone(order, "A's refused correction");
    Mark("conflict3");
}

void ServerStopped(HWND main) {
    HWND order = NewOrder(main, "Desk A during stop");
    Mark("saving4");
    Command(order, kOrdSave);
    Say("stopped: %s", AnswerBox("the save the server's stop cut").c_str());
    Settle(order);
    Say("window kept: %s, buyer \"%s\"", IsWindow(order) && IsWindowVisible(order) ? "yes" : "no",
        TextOf(Item(order, kGenBuyer)).c_str());
    Mark("failed4");
    Await("script", "back4");
    WaitReady(order, "the order after the stop");
    Command(order, kOrdSave);
    const std::string box = AnswerBox("the save after the stop");
    Say("after the stop: %s", box.c_str());
    WaitGone(order, "the order window after the save");
    Say("after the stop number: %s", NumberIn(box).c_str());
}

}  // namespace

int main(int argc, char** argv) {
    std::string exe, cwd;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--exe") exe = argv[i + 1];
        else if (a == "--cwd") cwd = argv[i + 1];
        else if (a == "--desk") g_desk = argv[i + 1];
        else if (a == "--sync") g_sync = argv[i + 1];
        else Fail("unknown argument %s", a.c_str());
    }
    if (g_desk != "A" && g_desk != "B") Fail("--desk A or B");
    g_other = g_desk == "A" ? "B" : "A";
    StartProgram(exe, cwd);
    HWND main = WaitTop("kelvaro");
    HWND list = Item(main, kRegList);
    Settle(main);
    Say("register: %d orders", (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    Mark("up");
    Await(g_other, "up");
    BothSaveAtOnce(main);
    LiveRegister(main, list);
    Conflict(main, list);
    if (g_desk == "A") ServerStopped(main);
    WaitReady(main, "the register");
    Command(main, kCmdExit);
    EndWithoutBox();
    return 0;
}
