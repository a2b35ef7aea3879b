// history.h - the designer's undo and redo: the window as it stood after
// each step of one opening of the designer.
//
// A step is whatever changed the window's drawing: its elements (insert,
// delete, move, a chain edit, a grid, a filling, a sash kind, the frame's
// size) or what the geometry is computed from (the four thicknesses, the
// muntin thickness, the profile type). Price, quantity, names and notes are
// not steps. Portable: the designer records a step after each accepted
// change and puts a recalled state back into its window record.
#ifndef KV_UI_DESIGNER_HISTORY_H
#define KV_UI_DESIGNER_HISTORY_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "db/records.h"
#include "model/operations.h"

// What a step changes of a window record.
struct DesignState {
    std::vector<uniOperRys> ops;
    strGrubProf thickness;
    int32_t muntinThickness;
    int32_t profileType;
};

class DesignHistory {
public:
    // Forgets every step; `window` as it is now is where undo stops.
    // False when there was no memory for it (there is then no history).
    bool Reset(const strOkno& window);
    // The window as it stands after a step. A state equal to the current one
    // is no step; a step after undos drops the steps that could be redone.
    // False when there was no memory (the step is then not recorded).
    bool Record(const strOkno& window);

    bool CanUndo() const { return at_ > 0; }
    bool CanRedo() const { return at_ + 1 < states_.size(); }
    size_t Steps() const { return states_.empty() ? 0 : states_.size() - 1; }

    // The state to put back, or null when there is none to go to.
    const DesignState* Undo();
    const DesignState* Redo();

private:
    std::vector<DesignState> states_;
    size_t at_ = 0;
};

// Writes `state` into `window`: a new operation list from the private heap
// (the old one released) and the thicknesses and profile type. 0 with the
// allocation's message, the record unchanged.
int PutDesignState(const DesignState& state, strOkno* window, char* msg);

#endif  // KV_UI_DESIGNER_HISTORY_H
