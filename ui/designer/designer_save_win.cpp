// The designer's data panel seen from the window: the figures it shows, the
// choices and numbers it reports, and Save.

#include "ui/designer/designer_internal_win.h"
#include "util/dialog_fields_win.h"

// ---- Panel figures -----------------------------------------------------------------

namespace {

// An amount of the window's line, or what says that it does not fit.
void SetAmount(DesignerState* s, int id, const ValuationLine& l, uint32_t bit, int64_t amount) {
    char text[64];
    if (l.przepelnione & bit) snprintf(text, sizeof text, "%s", kAmountTooLarge);
    else if (!AmountDisplayText(amount, text, (int)sizeof text)) LLX100NaNap(amount, text);
    SetWindowTextA(PanelItem(s, id), text);
}

}  // namespace

// The unit gross, the line net and gross for the quantity, and the Uw.
void UpdateFigures(DesignerState* s) {
    ValuationLine l = {};
    WindowLine(&l, &s->orderValuation, s->windowRec, kLineUnitNet | kLineNet | kLineUnitGross | kLineGross);
    SetAmount(s, IDC_PNL_GROSS, l, kLineUnitGross, l.unitGross);
    SetAmount(s, IDC_PNL_TOTAL_NET, l, kLineNet, l.lineNet);
    SetAmount(s, IDC_PNL_TOTAL_GROSS, l, kLineGross, l.lineGross);
    int32_t uw = WindowUw(s->windowRec);
    char text[KV_AMOUNT_LEN] = "-";
    if (uw >= 0) LLX100NaNap(uw, text);
    SetWindowTextA(PanelItem(s, IDC_PNL_UW), text);
    UpdatePriceList(s);
}

namespace {

void SetSpin(DesignerState* s, int which, int32_t value) {
    SendMessageA(s->spins[which].hUd, UDM_SETPOS32, 0, value);
}

void CheckProfileType(DesignerState* s) {
    if (s->windowRec->iProfSch >= 0 && s->windowRec->iProfSch <= 2)
        CheckRadioButton(s->panel, IDC_PNL_PVC, IDC_PNL_ALUMINIUM, IDC_PNL_PVC + s->windowRec->iProfSch);
}

void CheckColourType(DesignerState* s) {
    if (s->windowRec->iKolor >= 0 && s->windowRec->iKolor <= 3)
        CheckRadioButton(s->panel, IDC_PNL_WHITE, IDC_PNL_DOUBLE, IDC_PNL_WHITE + s->windowRec->iKolor);
}

void SetThicknessSpins(DesignerState* s) {
    const strGrubProf& g = s->windowRec->sGrubProf;
    SetSpin(s, kSpinFrame, g.rama);
    SetSpin(s, kSpinSash, g.skrzydlo);
    SetSpin(s, kSpinFixed, g.slupekStaly);
    SetSpin(s, kSpinFalse, g.slupekRuchomy);
}

}  // namespace

void FillPanel(DesignerState* s) {
    strOkno* o = s->windowRec;
    SetWindowTextA(NameControl(s, IDC_PNL_PROFILE_LIST), o->nazProfil);
    CheckProfileType(s);
    SetThicknessSpins(s);
    SetWindowTextA(NameControl(s, IDC_PNL_COLOR_LIST), o->nazKolor);
    CheckColourType(s);
    SetWindowTextA(NameControl(s, IDC_PNL_MUNTIN_LIST), o->nazSzpros);
    SetSpin(s, kSpinMuntin, o->grubSzpros);
    SetWindowTextA(NameControl(s, IDC_PNL_HARDWARE_LIST), o->nazOkucie);
    SetWindowTextA(NameControl(s, IDC_PNL_BEAD_LIST), o->nazListwa);
    const char* currency = s->zam ? CurrencyCode(s->zam->idWalZam) : "";
    char text[64];
    snprintf(text, sizeof text, "Price (%s)", currency);
    SetWindowTextA(PanelItem(s, IDC_PNL_PRICE_BOX), text);
    char price[KV_AMOUNT_LEN];
    LLX100NaNap(o->cenaZReki, price);
    SetWindowTextA(PanelItem(s, IDC_PNL_NET), price);
    SendMessageA(PanelItem(s, IDC_PNL_NET), EM_SETMODIFY, FALSE, 0);
    SetSpin(s, kSpinQuantity, o->ilOkien);
    snprintf(text, sizeof text, "Total (%s)", currency);
    SetWindowTextA(PanelItem(s, IDC_PNL_TOTAL_BOX), text);
    SetWindowTextA(PanelItem(s, IDC_PNL_NOTES), o->uwagi);
    SendMessageA(s->panel, UM_PNL_KEEP_NAMES, 0, 0);
    UpdateFigures(s);
}

// View only: every input is switched off (edits stay selectable).
void SwitchOffPanel(DesignerState* s) {
    const int ids[] = {
        IDC_PNL_PROFILE_LIST, IDC_PNL_PROFILE_EDIT,  IDC_PNL_PVC,           IDC_PNL_WOOD,
        IDC_PNL_ALUMINIUM,    IDC_PNL_COLOR_LIST,    IDC_PNL_COLOR_EDIT,    IDC_PNL_WHITE,
        IDC_PNL_INTERNAL,     IDC_PNL_EXTERNAL,      IDC_PNL_DOUBLE,        IDC_PNL_MUNTIN_LIST,
        IDC_PNL_MUNTIN_EDIT,  IDC_PNL_HARDWARE_LIST, IDC_PNL_HARDWARE_EDIT, IDC_PNL_BEAD_LIST,
        IDC_PNL_BEAD_EDIT,    IDC_PNL_NET,           IDC_PNL_NOTES};
    for (int id : ids)
        if (HWND c = PanelItem(s, id)) AktDeaktKntrl(c, 0);
    for (strEdUd& e : s->spins) {
        AktDeaktKntrl(e.hEd, 0);
        AktDeaktKntrl(e.hUd, 0);
    }
}

// ---- Save ------------------------------------------------------------------------

namespace {

void ReadName(DesignerState* s, int listId, char (&field)[128]) {
    char text[128] = "";
    GetWindowTextA(NameControl(s, listId), text, (int)sizeof text);
    memcpy(field, text, sizeof field);
}

}  // namespace

// ---- The price list ------------------------------------------------------------------

void LoadPriceList(DesignerState* s) {
    char msg[KV_MSG_LEN] = "";
    // A price list that cannot be read is no price list: the window is
    // still designed and priced by hand.
    LoadStoredPriceList(&s->prices, msg);
    s->programCurrency = DbPriceListCurrency();
}

void UpdatePriceList(DesignerState* s) {
    HWND value = PanelItem(s, IDC_PNL_PRICE_LIST);
    if (!value) return;
    // The names as the panel shows them now, which Save will store.
    strOkno named = *s->windowRec;
    ReadName(s, IDC_PNL_PROFILE_LIST, named.nazProfil);
    ReadName(s, IDC_PNL_COLOR_LIST, named.nazKolor);
    ReadName(s, IDC_PNL_MUNTIN_LIST, named.nazSzpros);
    ReadName(s, IDC_PNL_HARDWARE_LIST, named.nazOkucie);
    ReadName(s, IDC_PNL_BEAD_LIST, named.nazListwa);
    PriceSuggestion suggestion;
    s->suggestionOk = SuggestWindowPrice(&named, s->prices, &suggestion);
    s->suggestion = suggestion.net;
    char text[96] = "-";
    if (s->suggestionOk) {
        char amount[64];
        if (!AmountDisplayText(suggestion.net, amount, (int)sizeof amount))
            LLX100NaNap(suggestion.net, amount);
        snprintf(text, sizeof text, "%s %s", amount, CurrencyCode(s->programCurrency));
    }
    SetWindowTextA(value, text);
    const std::string missing =
        suggestion.missing.empty() ? "" : "No price for: " + JoinMissing(suggestion.missing);
    SetWindowTextA(PanelItem(s, IDC_PNL_PRICE_LIST_MISSING), missing.c_str());
    // Rates are in the program currency, and there are no exchange rates.
    const bool sameCurrency = !s->zam || s->zam->idWalZam == s->programCurrency;
    if (HWND use = PanelItem(s, IDC_PNL_PRICE_LIST_USE))
        EnableWindow(use, s->editable && s->suggestionOk && sameCurrency);
}

void CmdUsePriceList(DesignerState* s) {
    HWND use = PanelItem(s, IDC_PNL_PRICE_LIST_USE);
    if (!s->editable || !use) return;
    UpdatePriceList(s);
    if (!IsWindowEnabled(use)) return;
    if (!PriceInRange(s->suggestion)) {
        char text[KV_MSG_LEN];
        PriceRefusalText("The price list's price is too large for the price field.", text, (int)sizeof text);
        KvShowError(s->hwnd, text);
        return;
    }
    char price[KV_AMOUNT_LEN];
    LLX100NaNap(s->suggestion, price);
    SetWindowTextA(PanelItem(s, IDC_PNL_NET), price);
    OnPrice(s);
}

namespace {

bool ReadSpin(DesignerState* s, int which, int32_t* value) {
    BOOL error = FALSE;
    LRESULT pos = SendMessageA(s->spins[which].hUd, UDM_GETPOS32, 0, (LPARAM)&error);
    if (error) return false;
    *value = (int32_t)pos;
    return true;
}

// The typed net price; false (and *price untouched) when it is beyond the
// largest price a seller may type.
bool ReadPrice(DesignerState* s, int64_t* price) {
    return KvReadAmount(PanelItem(s, IDC_PNL_NET), 100, -kMaxEnteredPrice, kMaxEnteredPrice, price);
}

int FirstChecked(DesignerState* s, int first, int count) {
    for (int i = 0; i < count - 1; i++)
        if (IsDlgButtonChecked(s->panel, first + i) == BST_CHECKED) return i;
    return count - 1;
}

// Reads the panel into the record in the fixed order, stopping at the first
// refusal; what was read before it stays in the record.
bool ReadPanel(DesignerState* s) {
    strOkno* o = s->windowRec;
    struct SpinField {
        int which;
        int32_t* field;
        const char* refusal;
    };
    ReadName(s, IDC_PNL_PROFILE_LIST, o->nazProfil);
    o->iProfSch = FirstChecked(s, IDC_PNL_PVC, 3);
    const SpinField thick[] = {
        {kSpinFrame, &o->sGrubProf.rama, "Incorrect value in the field Thickness in mm - Frame"},
        {kSpinSash, &o->sGrubProf.skrzydlo, "Incorrect value in the field Thickness in mm - Sash"},
        {kSpinFixed, &o->sGrubProf.slupekStaly,
         "Incorrect value in the field Thickness in mm - Fixed mullion"},
        {kSpinFalse, &o->sGrubProf.slupekRuchomy,
         "Incorrect value in the field Thickness in mm - False mullion"},
    };
    for (const SpinField& f : thick) {
        if (!ReadSpin(s, f.which, f.field)) {
            KvShowError(s->hwnd, f.refusal);
            return false;
        }
    }
    ReadName(s, IDC_PNL_COLOR_LIST, o->nazKolor);
    o->iKolor = FirstChecked(s, IDC_PNL_WHITE, 4);
    ReadName(s, IDC_PNL_MUNTIN_LIST, o->nazSzpros);
    if (!ReadSpin(s, kSpinMuntin, &o->grubSzpros)) {
        KvShowError(s->hwnd, "Incorrect value in the field Muntin's thickness");
        return false;
    }
    ReadName(s, IDC_PNL_HARDWARE_LIST, o->nazOkucie);
    ReadName(s, IDC_PNL_BEAD_LIST, o->nazListwa);
    if (!ReadPrice(s, &o->cenaZReki)) {
        char text[KV_MSG_LEN];
        PriceRefusalText("Incorrect value in the field Price - net", text, sizeof text);
        KvShowError(s->hwnd, text);
        return false;
    }
    if (!ReadSpin(s, kSpinQuantity, &o->ilOkien)) {
        KvShowError(s->hwnd, "Incorrect value in the field Quantity");
        return false;
    }
    GetWindowTextA(PanelItem(s, IDC_PNL_NOTES), o->uwagi, (int)sizeof o->uwagi);
    return true;
}

void Trim(char* text) {
    mojLtrim(text);
    mojPtrim(text);
}

// The names are trimmed in the record itself, then filed in the six
// registers in one transaction.
int UpdateRegisters(DesignerState* s, char* msg) {
    strOkno* o = s->windowRec;
    for (char* name : {o->nazProfil, o->nazKolor, o->nazSzpros, o->nazOkucie, o->nazListwa}) Trim(name);
    for (int32_t i = 0; i < o->liczbaOper; i++)
        if (o->oper[i].typ == kOpFilling) {
            o->oper[i].wypeln.nazwa[kFillingNameLen - 1] = 0;
            Trim(o->oper[i].wypeln.nazwa);
        }
    return DbSaveWindowRegisters(o, &s->regs, msg);
}

}  // namespace

void CmdSave(DesignerState* s) {
    if (!s->editable) return;
    if (s->windowRec->liczbaOper == 0) {
        KvShowError(s->hwnd, "No window");
        return;
    }
    if (!ReadPanel(s)) return;
    char msg[KV_MSG_LEN] = "";
    if (!UpdateRegisters(s, msg)) {
        KvShowError(s->hwnd, msg);
        return;
    }
    s->saved = 1;
    DestroyWindow(s->hwnd);
}

// ---- Panel messages ------------------------------------------------------------------

void RefreshCanvas(DesignerState* s) {
    if (s->canvas) SendMessageA(s->canvas, UM_OBS_ODSWIEZ, 0, 0);
    UpdateFigures(s);
}

namespace {

int SelectedEntry(DesignerState* s, int listId, const char* refusal) {
    HWND list = PanelItem(s, listId);
    int sel = list ? (int)SendMessageA(list, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (sel == CB_ERR) KvShowError(s->hwnd, refusal);
    return sel;
}

// The profile or the muntin thicknesses (the other null) that a choice or a
// spin brings, after the limit check: the geometry computed again with
// them, or nothing changed and the failure shown (false).
bool TakeThicknesses(DesignerState* s, const strGrubProf* profile, const int32_t* muntin) {
    char msg[KV_MSG_LEN] = "";
    if (!CheckLimits(s->windowRec, 0, nullptr, kLimNoChange, profile, muntin, msg) ||
        !ApplyThicknesses(s->windowRec, profile ? *profile : s->windowRec->sGrubProf, muntin ? *muntin : s->windowRec->grubSzpros,
                          msg)) {
        KvShowError(s->hwnd, msg);
        return false;
    }
    return true;
}

void Copy(char (&to)[128], const char* from) {
    snprintf(to, sizeof to, "%s", from ? from : "");
}

// A choice from the profile or muntin register as one step: the names shown
// before it (`before`, the panel's last accepted or typed text of that list)
// and after it, with the entry's name, go into the history with the values.
void RecordChoice(DesignerState* s, DesignChoice which, const char* before, const char* entry) {
    if (!s->editable) return;
    DesignNames was = CurrentNames(s), now = was;
    Copy(which == kChoiceProfile ? was.profile : was.muntin, before);
    Copy(which == kChoiceProfile ? now.profile : now.muntin, entry);
    s->history.RecordChoice(*s->windowRec, which, was, now);
    UpdateUndoButtons(s);
}

}  // namespace

// 1 when the choice is refused (the panel then puts the list back). `before`
// is what the list showed before the choice, or null for its text now.
LRESULT OnProfileChosen(DesignerState* s, const char* before) {
    int sel = SelectedEntry(s, IDC_PNL_PROFILE_LIST, "Error of selecting profile from the list");
    if (sel < 0 || sel >= s->regs.profileCount) return 1;
    const strZstProfil& p = s->regs.profile[sel];
    const DesignNames shown = CurrentNames(s);
    if (!TakeThicknesses(s, &p.sGrubProf, nullptr)) return 1;
    SetThicknessSpins(s);
    s->windowRec->iProfSch = p.typ;
    CheckProfileType(s);
    RefreshCanvas(s);
    RecordChoice(s, kChoiceProfile, before ? before : shown.profile, p.nazwa);
    return 0;
}

void OnColourChosen(DesignerState* s) {
    int sel = SelectedEntry(s, IDC_PNL_COLOR_LIST, "Error of selecting color from the list");
    if (sel < 0 || sel >= s->regs.colourCount) return;
    s->windowRec->iKolor = s->regs.colourRows[sel].typ;
    CheckColourType(s);
}

// 1 when the choice is refused, as for the profile.
LRESULT OnMuntinChosen(DesignerState* s, const char* before) {
    int sel = SelectedEntry(s, IDC_PNL_MUNTIN_LIST, "Error of selecting muntin from the list");
    if (sel < 0 || sel >= s->regs.muntinCount) return 1;
    const strZstSzpros& m = s->regs.muntinRows[sel];
    const DesignNames shown = CurrentNames(s);
    if (!TakeThicknesses(s, nullptr, &m.grubSzpros)) return 1;
    SetSpin(s, kSpinMuntin, m.grubSzpros);
    RefreshCanvas(s);
    RecordChoice(s, kChoiceMuntin, before ? before : shown.muntin, m.nazwa);
    return 0;
}

namespace {

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : v > hi ? hi : v; }

}  // namespace

// A thickness spin is about to move to `value`: 1 refuses the move.
LRESULT OnThickness(DesignerState* s, int32_t value, int spinId) {
    strGrubProf g = s->windowRec->sGrubProf;
    int32_t muntin = s->windowRec->grubSzpros;
    switch (spinId) {
        case IDC_PNL_FRAME_SPIN: g.rama = Clamp(value, kMinFrameThickness, kMaxFrameThickness); break;
        case IDC_PNL_SASH_SPIN: g.skrzydlo = Clamp(value, kMinSashThickness, kMaxSashThickness); break;
        case IDC_PNL_FIXED_SPIN: g.slupekStaly = Clamp(value, kMinMullionThickness, kMaxMullionThickness); break;
        case IDC_PNL_FALSE_SPIN: g.slupekRuchomy = Clamp(value, kMinMullionThickness, kMaxMullionThickness); break;
        case IDC_PNL_MUNTIN_TH_SPIN: muntin = Clamp(value, kMinMuntinThickness, kMaxMuntinThickness); break;
        default: return 1;
    }
    const bool isMuntin = spinId == IDC_PNL_MUNTIN_TH_SPIN;
    if (!TakeThicknesses(s, isMuntin ? nullptr : &g, isMuntin ? &muntin : nullptr)) return 1;
    RefreshCanvas(s);
    RecordStep(s);
    return 0;
}

// ---- Undo and redo --------------------------------------------------------------------

void UpdateUndoButtons(DesignerState* s) {
    SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, CMD_DES_UNDO, s->editable && s->history.CanUndo());
    SendMessageA(s->bar.hwnd, TB_ENABLEBUTTON, CMD_DES_REDO, s->editable && s->history.CanRedo());
}

DesignNames CurrentNames(DesignerState* s) {
    DesignNames n = {};
    GetWindowTextA(NameControl(s, IDC_PNL_PROFILE_LIST), n.profile, (int)sizeof n.profile);
    GetWindowTextA(NameControl(s, IDC_PNL_MUNTIN_LIST), n.muntin, (int)sizeof n.muntin);
    return n;
}

void RecordStep(DesignerState* s) {
    if (!s->editable) return;
    s->history.Record(*s->windowRec, CurrentNames(s));  // without memory the step is only not undoable
    UpdateUndoButtons(s);
}

namespace {

// A name list shows `name`: its register's entry of that spelling selected,
// or no selection with the name in the field.
void ShowName(DesignerState* s, int listId, const char* name) {
    HWND c = NameControl(s, listId);
    if (c == PanelItem(s, listId)) {
        int sel = -1;
        const int count = listId == IDC_PNL_PROFILE_LIST ? s->regs.profileCount : s->regs.muntinCount;
        for (int i = 0; i < count && sel < 0; i++) {
            const char* entry =
                listId == IDC_PNL_PROFILE_LIST ? s->regs.profile[i].nazwa : s->regs.muntinRows[i].nazwa;
            if (strcmp(entry, name) == 0) sel = i;
        }
        SendMessageA(c, CB_SETCURSEL, (WPARAM)sel, 0);
    }
    SetWindowTextA(c, name);
}

}  // namespace

// The window as it stood: its elements, thicknesses and profile type back in
// the record, the spins and radio buttons showing them, after a register
// choice the names too, the drawing and the figures made again from them.
// The chosen tool stays while the window still offers it.
void CmdUndo(DesignerState* s, bool redo) {
    if (!s->editable) return;
    const DesignNames* names = nullptr;
    const DesignState* state = redo ? s->history.Redo(&names) : s->history.Undo(&names);
    if (!state) return;
    char msg[KV_MSG_LEN] = "";
    if (!PutDesignState(*state, s->windowRec, msg)) {
        // Nothing changed: the history goes back to where the record is.
        if (redo) s->history.Undo();
        else s->history.Redo();
        KvShowError(s->hwnd, msg);
        return;
    }
    if (names) {
        ShowName(s, IDC_PNL_PROFILE_LIST, names->profile);
        ShowName(s, IDC_PNL_MUNTIN_LIST, names->muntin);
        SendMessageA(s->panel, UM_PNL_KEEP_NAMES, 0, 0);  // what a refused choice comes back to
    }
    SetThicknessSpins(s);
    SetSpin(s, kSpinMuntin, s->windowRec->grubSzpros);
    CheckProfileType(s);
    RefreshCanvas(s);
    KeepToolState(s);
    UpdateUndoButtons(s);
}

LRESULT OnQuantity(DesignerState* s, int32_t value) {
    s->windowRec->ilOkien = Clamp(value, 1, 999);
    UpdateFigures(s);
    return 0;
}

// A price beyond the bound is not taken (Save refuses it); the figures say
// so meanwhile.
void OnPrice(DesignerState* s) {
    if (ReadPrice(s, &s->windowRec->cenaZReki)) {
        UpdateFigures(s);
        return;
    }
    for (int id : {IDC_PNL_GROSS, IDC_PNL_TOTAL_NET, IDC_PNL_TOTAL_GROSS})
        SetWindowTextA(PanelItem(s, id), kAmountTooLarge);
}
