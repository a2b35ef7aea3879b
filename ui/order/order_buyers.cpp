// Returning buyers: the buyer field of the General page offers the buyers of
// earlier orders as the user types (read once, at the first typing, and
// filtered in memory), and a buyer chosen from the list brings the address
// and other information of its latest order into those fields that are
// still empty. What was typed is never overwritten.
#include <string>
#include <vector>

#include "db/buyers.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window_internal.h"
#include "util/codepage.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/suggest_list.h"
#include "util/suggest_list_win.h"

namespace {

// The buyers and the upper-casing of the code page their names are kept in.
// A reading that fails is told once; nothing is offered after it.
bool LoadBuyers(OrderWindow* w) {
    BuyerSuggestions& b = w->buyers;
    if (b.loaded) return !b.all.empty();
    b.loaded = true;
    KvCodePage page;
    for (int c = 0; c < 256; c++) b.upper[c] = (unsigned char)(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    if (KvLoadCodePage(0, &page)) KvUpperCaseTable(page, b.upper);
    char msg[KV_MSG_LEN];
    if (!DbLoadBuyers(&b.all, msg)) {
        KvShowError(w->hwnd, msg);
        return false;
    }
    return !b.all.empty();
}

void FillIfEmpty(HWND page, int id, const std::string& text) {
    HWND edit = GetDlgItem(page, id);
    if (GetWindowTextLengthA(edit) == 0) SetWindowTextA(edit, text.c_str());
}

void ChooseBuyer(void* context, int entry) {
    OrderWindow* w = (OrderWindow*)context;
    BuyerSuggestions& b = w->buyers;
    if (entry < 0 || (size_t)entry >= b.shown.size()) return;
    const Buyer& buyer = b.all[b.shown[(size_t)entry]];
    b.filling = true;
    HWND edit = GetDlgItem(b.page, IDC_GEN_BUYER);
    SetWindowTextA(edit, buyer.name.c_str());
    SendMessageA(edit, EM_SETSEL, (WPARAM)buyer.name.size(), (LPARAM)buyer.name.size());
    FillIfEmpty(b.page, IDC_GEN_ADDRESS, buyer.address);
    FillIfEmpty(b.page, IDC_GEN_INFO, buyer.info);
    b.filling = false;
}

}  // namespace

void OfferBuyers(HWND orderWnd, HWND page) {
    OrderWindow* w = (OrderWindow*)GetWindowLongPtrA(orderWnd, GWLP_USERDATA);
    if (!w || w->buyers.filling) return;
    BuyerSuggestions& b = w->buyers;
    HWND edit = GetDlgItem(page, IDC_GEN_BUYER);
    // Only what the user types into a field that takes it is answered.
    const bool typing = GetFocus() == edit && !(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
    if (ModeOf(w) == kModePreview || !typing || !LoadBuyers(w)) {
        KvHideSuggestions(b.list);
        return;
    }
    if (!b.list) {
        b.list = KvCreateSuggestList(edit, ChooseBuyer, w);
        b.page = page;
        if (!b.list) return;
    }
    char typed[256] = "";
    GetWindowTextA(edit, typed, (int)sizeof typed);
    b.shown = KvSuggestMatches(
        b.all.size(), [&](size_t i) { return b.all[i].name.c_str(); }, typed, b.upper);
    std::vector<const char*> names;
    for (size_t i : b.shown) names.push_back(b.all[i].name.c_str());
    KvShowSuggestions(b.list, names);
}
