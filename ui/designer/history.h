// history.h - the designer's undo and redo: the window as it stood after
// each step of one opening of the designer.
//
// A step is whatever changed the window's drawing: its elements (insert,
// delete, move, a chain edit, a grid, a filling, a sash kind, the frame's
// size) or what the geometry is computed from (the four thicknesses, the
// muntin thickness, the profile type). Choosing a profile or a muntin from
// its register is a step too, and it holds the name with the values the
// entry brought, so that undo and redo never part a register's name from
// its thicknesses (Save files the name with the values it finds). Price,
// quantity, notes and typed names are not steps. Portable: the designer
// records a step after each accepted change and puts a recalled state back
// into its window record and its panel.
#ifndef KV_UI_DESIGNER_HISTORY_H
#define KV_UI_DESIGNER_HISTORY_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "db/records.h"
#include "model/operations.h"

// The profile and muntin names as the panel shows them, typed or chosen.
struct DesignNames {
    char profile[128];
    char muntin[128];
};

// The two registers whose entries bring thicknesses with their names.
enum DesignChoice { kChoiceProfile, kChoiceMuntin };

// What a step changes of a window record.
struct DesignState {
    std::vector<uniOperRys> ops;
    strGrubProf thickness;
    int32_t muntinThickness;
    int32_t profileType;
    DesignNames names;   // as they stood at this step
    bool choice;         // the step was a choice from a register ...
    DesignNames before;  // ... and these the names shown before it
};

class DesignHistory {
public:
    // Forgets every step; `window` with `names` as it is now is where undo
    // stops. False when there was no memory for it (there is then no
    // history).
    bool Reset(const strOkno& window, const DesignNames& names);
    // The window as it stands after a step of its drawing. A state equal to
    // the current one is no step (the names alone make none); a step after
    // undos drops the steps that could be redone. False when there was no
    // memory (the step is then not recorded). Ends a pass of choices.
    bool Record(const strOkno& window, const DesignNames& names);
    // The window after a choice from register `which`: `before` are the
    // names the panel showed just before it (a typed name included), which
    // undoing the choice brings back with the values of the state before;
    // `after` the names with the chosen entry's, which redoing it brings
    // back with the entry's values. Further choices from the
    // same register before EndPass() (arrowing through its list) replace
    // that step, so the whole pass is one step, and a pass that ends where
    // it began leaves none.
    bool RecordChoice(const strOkno& window, DesignChoice which, const DesignNames& before,
                      const DesignNames& after);
    // The list closed or lost the focus: the next choice is a step of its own.
    void EndPass() { passOpen_ = false; }

    bool CanUndo() const { return at_ > 0; }
    bool CanRedo() const { return at_ + 1 < states_.size(); }
    size_t Steps() const { return states_.empty() ? 0 : states_.size() - 1; }

    // The state to put back, or null when there is none to go to. When the
    // step crossed was a choice, `*names` (may be null) points at the names
    // to show with the state's values: those before the choice for undo,
    // those it brought for redo; after any other step it is null and the
    // names stay as they are shown.
    const DesignState* Undo(const DesignNames** names = nullptr);
    const DesignState* Redo(const DesignNames** names = nullptr);

private:
    std::vector<DesignState> states_;
    size_t at_ = 0;
    bool passOpen_ = false;
    DesignChoice passOf_ = kChoiceProfile;
    size_t passBase_ = 0;      // the state the open pass started from ...
    DesignNames passBefore_{};  // ... and the names shown then
};

// Writes `state` into `window`: a new operation list from the private heap
// (the old one released) and the thicknesses and profile type. 0 with the
// allocation's message, the record unchanged. The names are the panel's to
// show; the record takes them on Save.
int PutDesignState(const DesignState& state, strOkno* window, char* msg);

#endif  // KV_UI_DESIGNER_HISTORY_H
