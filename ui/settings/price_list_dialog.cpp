// The price list dialog and its entry dialog.
#include "ui/settings/price_list_dialog.h"

#include <commctrl.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "db/connection.h"
#include "db/names.h"
#include "db/price_table.h"
#include "db/registers.h"
#include "ui/settings/settings_rc.h"
#include "util/amounttext.h"
#include "util/dpi_win.h"
#include "util/file_dialog_win.h"
#include "util/help_win.h"
#include "util/keys_win.h"
#include "util/kvutil.h"
#include "util/listview_win.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/window_win.h"
#include "valuation/price_list.h"

namespace {

// How each kind is shown: its tab, what the entry dialog calls its rates
// and their unit, and the list's columns.
struct KindView {
    const char* tab;
    const char* entry;  // the entry dialog's first line
    const char* labels[4];
    const char* unit;
    ListColumn columns[5];
};

const KindView kKinds[kPriceKindCount] = {
    {"Profiles",
     "Profile: a price per metre of each element",
     {"Frame:", "Sash:", "Fixed mullion:", "False mullion:"},
     "per m",
     {{"Name", 104, LVCFMT_LEFT},
      {"Frame /m", 70, LVCFMT_RIGHT},
      {"Sash /m", 70, LVCFMT_RIGHT},
      {"Fixed mullion /m", 94, LVCFMT_RIGHT},
      {"False mullion /m", 94, LVCFMT_RIGHT}}},
    {"Colours",
     "Colour: a surcharge on what the profiles cost",
     {"Surcharge:"},
     "%",
     {{"Name", 260, LVCFMT_LEFT}, {"Surcharge %", 100, LVCFMT_RIGHT}}},
    {"Fillings",
     "Filling: a price per square metre",
     {"Price:"},
     "per m2",
     {{"Name", 260, LVCFMT_LEFT}, {"Per m2", 100, LVCFMT_RIGHT}}},
    {"Hardware",
     "Hardware: a price per opening sash",
     {"Price:"},
     "per sash",
     {{"Name", 260, LVCFMT_LEFT}, {"Per opening sash", 100, LVCFMT_RIGHT}}},
    {"Muntins",
     "Muntin: a price per metre",
     {"Price:"},
     "per m",
     {{"Name", 260, LVCFMT_LEFT}, {"Per m", 100, LVCFMT_RIGHT}}},
    {"Glazing beads",
     "Glazing bead: a price per metre of glazed edge",
     {"Price:"},
     "per m",
     {{"Name", 260, LVCFMT_LEFT}, {"Per m", 100, LVCFMT_RIGHT}}},
    {"Window",
     "A price per window, whatever its content",
     {"Price:"},
     "per window",
     {{"Name", 260, LVCFMT_LEFT}, {"Per window", 100, LVCFMT_RIGHT}}},
};

struct PriceListDialog {
    HWND dlg;
    HWND tab;
    HWND list;
    PriceList prices;  // the dialog's copy, saved by OK
    std::vector<PriceEntry> loaded;  // the stored entries as read: OK writes only over these
    WindowRegisters registers;
    bool writable;
    bool saved;
    int kind;                  // the kind the list shows
    std::vector<size_t> rows;  // the list's rows: entries of prices
};

// A rate in the amount form, as the list shows it.
std::string RateText(int64_t v) {
    char text[64];
    if (!AmountDisplayText(v, text, (int)sizeof text)) LLX100NaNap(v, text);
    return text;
}

void Fill(PriceListDialog* d, size_t select);

// ---- The entry dialog ----------------------------------------------------------------

struct EntryDialog {
    PriceListDialog* owner;
    int32_t kind;
    size_t index;    // PriceList::kNew for Add
    char name[128];  // after OK: the name the entry was put under
};

const int kRateIds[4] = {IDC_PRE_RATE1, IDC_PRE_RATE2, IDC_PRE_RATE3, IDC_PRE_RATE4};
const int kLabelIds[4] = {IDC_PRE_LABEL1, IDC_PRE_LABEL2, IDC_PRE_LABEL3, IDC_PRE_LABEL4};
const int kUnitIds[4] = {IDC_PRE_UNIT1, IDC_PRE_UNIT2, IDC_PRE_UNIT3, IDC_PRE_UNIT4};

// The names the registers of used elements offer for the kind.
void OfferNames(EntryDialog* e, HWND combo) {
    const WindowRegisters& r = e->owner->registers;
    const void* rows = nullptr;
    int32_t count = 0;
    size_t size = 0;
    switch (e->kind) {
        case kPriceProfile: rows = r.profile, count = r.profileCount, size = sizeof *r.profile; break;
        case kPriceColour: rows = r.colourRows, count = r.colourCount, size = sizeof *r.colourRows; break;
        case kPriceFilling: rows = r.wypeln, count = r.fillingCount, size = sizeof *r.wypeln; break;
        case kPriceHardware: rows = r.hardwareRows, count = r.hardwareCount, size = sizeof *r.hardwareRows; break;
        case kPriceMuntin: rows = r.muntinRows, count = r.muntinCount, size = sizeof *r.muntinRows; break;
        case kPriceBead: rows = r.beadRows, count = r.beadCount, size = sizeof *r.beadRows; break;
    }
    for (int32_t i = 0; rows && i < count; i++)
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)((const char*)rows + (size_t)i * size));
}

BOOL OnEntryInit(EntryDialog* e, HWND dlg) {
    const KindView& v = kKinds[e->kind];
    SetDlgItemTextA(dlg, IDC_PRE_KIND, v.entry);
    HWND name = GetDlgItem(dlg, IDC_PRE_NAME);
    SendMessageA(name, CB_LIMITTEXT, 127, 0);
    OfferNames(e, name);
    const PriceEntry* old = e->index != PriceList::kNew ? &e->owner->prices.entries()[e->index] : nullptr;
    if (old) SetWindowTextA(name, old->name);
    if (e->kind == kPriceWindow) EnableWindow(name, FALSE);  // the one entry without a name
    for (int i = 0; i < 4; i++) {
        const bool has = i < PriceKindRates(e->kind);
        for (int id : {kRateIds[i], kLabelIds[i], kUnitIds[i]})
            ShowWindow(GetDlgItem(dlg, id), has ? SW_SHOW : SW_HIDE);
        if (!has) continue;
        SetDlgItemTextA(dlg, kLabelIds[i], v.labels[i]);
        SetDlgItemTextA(dlg, kUnitIds[i], v.unit);
        SendDlgItemMessageA(dlg, kRateIds[i], EM_LIMITTEXT, 20, 0);
        char text[KV_AMOUNT_LEN] = "";
        if (old) LLX100NaNap(old->rates[i], text);
        SetDlgItemTextA(dlg, kRateIds[i], text);
    }
    return TRUE;
}

// OK: the entry goes into the owner's list, or a message says why not and
// the dialog stays.
void OnEntryOk(EntryDialog* e, HWND dlg) {
    PriceEntry entry{};
    entry.kind = e->kind;
    GetDlgItemTextA(dlg, IDC_PRE_NAME, entry.name, (int)sizeof entry.name);
    for (int i = 0; i < PriceKindRates(e->kind); i++) {
        char text[64] = "";
        GetDlgItemTextA(dlg, kRateIds[i], text, (int)sizeof text);
        const char* why = "";
        if (!ParsePriceAmount(text, e->kind, &entry.rates[i], &why)) {
            char msg[KV_MSG_LEN];
            KvMsg(msg, "The rate \"%s\" %s.", text, why);
            KvShowError(dlg, msg);
            SetFocus(GetDlgItem(dlg, kRateIds[i]));
            return;
        }
    }
    char msg[KV_MSG_LEN] = "";
    if (!e->owner->prices.Put(entry, e->index, msg)) {
        KvShowError(dlg, msg);
        return;
    }
    memcpy(e->name, entry.name, sizeof e->name);
    EndDialog(dlg, IDOK);
}

INT_PTR CALLBACK EntryProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    EntryDialog* e = KvDialogState<EntryDialog>(dlg, msg, lp);
    if (!e) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return OnEntryInit(e, dlg);
        case WM_COMMAND:
            if (LOWORD(wp) == IDOK) OnEntryOk(e, dlg);
            if (LOWORD(wp) == IDCANCEL) EndDialog(dlg, IDCANCEL);
            return TRUE;
        case WM_HELP: OpenHelp(dlg, HELP_PRICE_LIST); return TRUE;
    }
    return FALSE;
}

// The entry dialog for a new entry (kNew) or entry `index`; the list again,
// with the entry as put selected, after OK.
void RunEntry(PriceListDialog* d, size_t index) {
    EntryDialog e = {d, d->kind, index, ""};
    if (DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PRICE_ENTRY), d->dlg, EntryProc,
                        (LPARAM)&e) != IDOK)
        return;
    const PriceEntry* put = d->prices.Find(d->kind, e.name);
    Fill(d, put ? (size_t)(put - d->prices.entries().data()) : PriceList::kNew);
}

// ---- The list -------------------------------------------------------------------------

void MakeColumns(PriceListDialog* d) {
    while (SendMessageA(d->list, LVM_DELETECOLUMN, 0, 0)) {}
    InsertListColumns(d->list, kKinds[d->kind].columns, 1 + PriceKindRates(d->kind), KvDpiForWindow(d->dlg));
}

size_t Selected(PriceListDialog* d) {
    const int row = (int)SendMessageA(d->list, LVM_GETNEXTITEM, (WPARAM)-1, LVNI_SELECTED);
    return row >= 0 && (size_t)row < d->rows.size() ? d->rows[(size_t)row] : PriceList::kNew;
}

void EnableButtons(PriceListDialog* d) {
    const HWND focus = GetFocus();
    const bool one = Selected(d) != PriceList::kNew;
    // The window kind has one entry at most.
    bool room = true;
    if (d->kind == kPriceWindow) room = d->rows.empty();
    EnableWindow(GetDlgItem(d->dlg, IDC_PRICE_LIST_ADD), d->writable && room);
    EnableWindow(GetDlgItem(d->dlg, IDC_PRICE_LIST_EDIT), d->writable && one);
    EnableWindow(GetDlgItem(d->dlg, IDC_PRICE_LIST_DELETE), d->writable && one);
    EnableWindow(GetDlgItem(d->dlg, IDC_PRICE_LIST_IMPORT), d->writable);
    // A button switched off under the focus takes the focus with it, and
    // the keys (Escape included) would go nowhere: the list gets it.
    if (focus && !IsWindowEnabled(focus) && IsChild(d->dlg, focus))
        SendMessageA(d->dlg, WM_NEXTDLGCTL, (WPARAM)d->list, TRUE);
}

// Fills the list with the kind's entries, selecting `select` when it is one.
void Fill(PriceListDialog* d, size_t select) {
    SendMessageA(d->list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(d->list, LVM_DELETEALLITEMS, 0, 0);
    d->rows.clear();
    const std::vector<PriceEntry>& all = d->prices.entries();
    for (size_t i = 0; i < all.size(); i++) {
        if (all[i].kind != d->kind) continue;
        std::string cells[5] = {d->kind == kPriceWindow ? "Every window" : all[i].name};
        const int rates = PriceKindRates(d->kind);
        for (int r = 0; r < rates; r++) cells[r + 1] = RateText(all[i].rates[r]);
        const int row = AppendListRow(d->list, cells, rates + 1);
        if (i == select) {
            LVITEMA state = {};
            state.stateMask = state.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(d->list, LVM_SETITEMSTATE, row, (LPARAM)&state);
        }
        d->rows.push_back(i);
    }
    SendMessageA(d->list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(d->list, nullptr, TRUE);
    EnableButtons(d);
}

void ShowKind(PriceListDialog* d, int kind) {
    d->kind = kind;
    SendMessageA(d->tab, TCM_SETCURSEL, (WPARAM)kind, 0);
    MakeColumns(d);
    Fill(d, PriceList::kNew);
}

// ---- Commands ---------------------------------------------------------------------------

void CmdAdd(PriceListDialog* d) {
    if (d->writable) RunEntry(d, PriceList::kNew);
}

void CmdEdit(PriceListDialog* d) {
    const size_t i = Selected(d);
    if (d->writable && i != PriceList::kNew) RunEntry(d, i);
}

void CmdDelete(PriceListDialog* d) {
    const size_t i = Selected(d);
    if (!d->writable || i == PriceList::kNew) return;
    d->prices.Remove(i);
    Fill(d, PriceList::kNew);
}

const char kCsvFilter[] = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";

void CmdImport(PriceListDialog* d) {
    if (!d->writable) return;
    char path[MAX_PATH] = "";
    KvFileQuestion q = {false, "Import a price list", kCsvFilter, "csv", nullptr};
    if (!KvAskFile(d->dlg, q, path, (int)sizeof path)) return;
    char msg[KV_MSG_LEN] = "";
    PriceList imported;
    if (!ImportPriceListFile(path, 0, &imported, msg)) {
        KvShowError(d->dlg, msg);  // the list stays as it was
        return;
    }
    d->prices = imported;
    Fill(d, PriceList::kNew);
}

void CmdExport(PriceListDialog* d) {
    char path[MAX_PATH] = "prices.csv";
    KvFileQuestion q = {true, "Export the price list", kCsvFilter, "csv", nullptr};
    if (!KvAskFile(d->dlg, q, path, (int)sizeof path)) return;
    char msg[KV_MSG_LEN] = "";
    if (!ExportPriceListFile(path, 0, d->prices, msg)) KvShowError(d->dlg, msg);
}

void CmdOk(PriceListDialog* d) {
    if (d->writable) {
        char msg[KV_MSG_LEN] = "";
        if (!DbSavePriceList(d->prices.entries(), msg, &d->loaded)) {
            KvShowError(d->dlg, msg);  // the dialog stays, with the seller's changes
            return;
        }
        d->saved = true;
    }
    EndDialog(d->dlg, IDOK);
}

// ---- The dialog ------------------------------------------------------------------------------

BOOL OnInitDialog(PriceListDialog* d, HWND dlg) {
    d->dlg = dlg;
    d->tab = GetDlgItem(dlg, IDC_PRICE_LIST_TAB);
    d->list = GetDlgItem(dlg, IDC_PRICE_LIST_ITEMS);
    SendMessageA(d->list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int k = 0; k < kPriceKindCount; k++) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = (char*)kKinds[k].tab;
        SendMessageA(d->tab, TCM_INSERTITEMA, k, (LPARAM)&item);
    }
    std::string note =
        std::string("Rates in ") + CurrencyCode(DbPriceListCurrency()) + ", the program currency.";
    if (!d->writable) note += " The database cannot be written: the price list is shown but cannot be saved.";
    SetDlgItemTextA(dlg, IDC_PRICE_LIST_NOTE, note.c_str());
    ShowKind(d, kPriceProfile);
    KvTurnTabsWithKeys(dlg, d->tab);
    return TRUE;
}

void OnCommand(PriceListDialog* d, int id) {
    switch (id) {
        case IDC_PRICE_LIST_ADD: CmdAdd(d); return;
        case IDC_PRICE_LIST_EDIT: CmdEdit(d); return;
        case IDC_PRICE_LIST_DELETE: CmdDelete(d); return;
        case IDC_PRICE_LIST_IMPORT: CmdImport(d); return;
        case IDC_PRICE_LIST_EXPORT: CmdExport(d); return;
        case IDC_PRICE_LIST_HELP: OpenHelp(d->dlg, HELP_PRICE_LIST); return;
        case IDOK: CmdOk(d); return;
        case IDCANCEL: EndDialog(d->dlg, IDCANCEL); return;
    }
}

void OnNotify(PriceListDialog* d, const NMHDR* nm) {
    if (nm->hwndFrom == d->tab && nm->code == TCN_SELCHANGE)
        ShowKind(d, (int)SendMessageA(d->tab, TCM_GETCURSEL, 0, 0));
    if (nm->hwndFrom == d->list && nm->code == LVN_ITEMCHANGED) EnableButtons(d);
    if (nm->hwndFrom == d->list && nm->code == NM_DBLCLK) CmdEdit(d);
    if (nm->hwndFrom == d->list && nm->code == LVN_KEYDOWN && ((const NMLVKEYDOWN*)nm)->wVKey == VK_DELETE)
        CmdDelete(d);
}

INT_PTR CALLBACK PriceListProc(HWND dlg, UINT msg, WPARAM wp, LPARAM lp) {
    PriceListDialog* d = KvDialogState<PriceListDialog>(dlg, msg, lp);
    if (!d) return FALSE;
    switch (msg) {
        case WM_INITDIALOG: return OnInitDialog(d, dlg);
        case WM_COMMAND: OnCommand(d, LOWORD(wp)); return TRUE;
        case WM_NOTIFY: OnNotify(d, (const NMHDR*)lp); return TRUE;
        case WM_HELP: OpenHelp(dlg, HELP_PRICE_LIST); return TRUE;
    }
    return FALSE;
}

}  // namespace

int RunPriceListDialog(HWND owner) {
    char msg[KV_MSG_LEN] = "";
    PriceListDialog d = {};
    if (!LoadStoredPriceList(&d.prices, msg, &d.loaded)) {
        KvShowError(owner, msg);
        return 0;
    }
    // The registers only offer names; without them names are typed.
    if (!LoadWindowRegisters(&d.registers, msg)) d.registers = WindowRegisters{};
    d.writable = DbPriceListWritable();
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PRICE_LIST), owner, PriceListProc,
                    (LPARAM)&d);
    FreeWindowRegisters(&d.registers);
    return d.saved ? 1 : 0;
}
