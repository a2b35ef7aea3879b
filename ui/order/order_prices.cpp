// "Prices from the price list...": every window of the order priced from the
// seller's price list in one step. The suggestion of each window is the one
// the designer's price line shows; one question lists what will happen to
// each window before anything changes.

#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "db/price_table.h"
#include "ui/order/order_rc.h"
#include "ui/order/order_window_internal.h"
#include "util/amounttext.h"
#include "util/kvutil.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "valuation/price_list.h"
#include "valuation/valuation.h"

namespace {

// The question lists at most this many windows, then says how many more.
const int kMaxListedWindows = 30;

// What the price list makes of one window.
struct WindowPricing {
    bool priced = false;  // the list prices it fully, and the price fits the field
    int64_t price = 0;    // the new price when priced
    std::string line;     // its line of the question
};

std::string Amount(int64_t amount) {
    char text[64];
    if (!AmountDisplayText(amount, text, (int)sizeof text)) LLX100NaNap(amount, text);
    return text;
}

WindowPricing PriceWindow(const strOkno& okno, int index, const PriceList& list) {
    WindowPricing p;
    char head[32];
    snprintf(head, sizeof head, "Window %d: ", index + 1);
    p.line = head;
    PriceSuggestion s;
    if (!SuggestWindowPrice(&okno, list, &s)) {
        p.line += "its drawing cannot be priced";
    } else if (!s.missing.empty()) {
        p.line += "no price for " + JoinMissing(s.missing);
    } else if (!PriceInRange(s.net)) {
        p.line += "the price list's price " + Amount(s.net) + " is too large for the price field";
    } else {
        p.priced = true;
        p.price = s.net;
        p.line += Amount(okno.cenaZReki) + " -> " + Amount(s.net);
        if (s.net == okno.cenaZReki) p.line += " (unchanged)";
    }
    return p;
}

// The lines of the question: every window up to the limit, then a count of
// the rest.
std::string ListLines(const std::vector<WindowPricing>& all) {
    std::string text;
    int priced = 0, kept = 0;
    for (size_t i = 0; i < all.size(); i++) {
        if ((int)i < kMaxListedWindows) {
            text += all[i].line + "\r\n";
        } else if (all[i].priced) {
            priced++;
        } else {
            kept++;
        }
    }
    if (priced + kept) {
        char more[160];
        snprintf(more, sizeof more, "... and %d more windows: %d priced from the list, %d keeping their prices\r\n",
                 priced + kept, priced, kept);
        text += more;
    }
    return text;
}

// The rates are in the program currency (the settings' idWalPrg), and there
// are no exchange rates.
bool OrderInProgramCurrency(const OrderWindow* w) { return w->z->zam.idWalZam == w->settings.idWalPrg; }

}  // namespace

void LoadPriceListState(OrderWindow* w) {
    std::vector<PriceEntry> entries;
    char msg[KV_MSG_LEN] = "";
    // A list that cannot be read prices nothing; the command says why when used.
    w->priceListEntries = DbLoadPriceList(&entries, msg) ? entries.size() : 0;
}

bool PricesFromListAllowed(const OrderWindow* w) {
    return ModeOf(w) != kModePreview && w->z->zam.liczbaOkien > 0 && w->priceListEntries > 0 &&
           OrderInProgramCurrency(w);
}

void UpdatePricesFromListItem(OrderWindow* w) {
    Enable(OrderMenu(w), ORD_PRICES_FROM_LIST, PricesFromListAllowed(w));
}

void CmdPricesFromList(OrderWindow* w) {
    if (!PricesFromListAllowed(w)) return;
    // Read again: the list may have been changed at another desk meanwhile.
    PriceList list;
    char msg[KV_MSG_LEN] = "";
    if (!LoadStoredPriceList(&list, msg)) {
        KvShowError(w->hwnd, msg);
        return;
    }
    strZam& o = w->z->zam;
    std::vector<WindowPricing> all;
    int priced = 0;
    for (int i = 0; i < o.liczbaOkien; i++) {
        all.push_back(PriceWindow(o.okna[i], i, list));
        if (all.back().priced) priced++;
    }
    if (priced == 0) {
        KvShowInfo(w->hwnd, ("The price list prices no window of the order fully:\r\n" + ListLines(all)).c_str());
        return;
    }
    const std::string question = "Prices from the price list:\r\n" + ListLines(all) +
                                 "\r\nDo you want to set these prices ?";
    if (!KvAskYesNo(w->hwnd, question.c_str())) return;
    for (int i = 0; i < o.liczbaOkien; i++) {
        if (all[i].priced) o.okna[i].cenaZReki = all[i].price;
    }
    RecomputeOrder(w->z, kRecomputeAll);
    SendMessageA(w->hwnd, UM_SHOW_TOTALS, 0, 0);
}
