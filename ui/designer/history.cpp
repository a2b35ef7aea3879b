#include "ui/designer/history.h"

#include <string.h>

#include <new>

#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

bool Take(const strOkno& w, const DesignNames& names, bool choice, DesignState* s) {
    try {
        s->ops.assign(w.oper, w.oper + (w.oper && w.liczbaOper > 0 ? w.liczbaOper : 0));
    } catch (const std::bad_alloc&) {
        return false;
    }
    s->thickness = w.sGrubProf;
    s->muntinThickness = w.grubSzpros;
    s->profileType = w.iProfSch;
    s->names = names;
    s->names.profile[sizeof s->names.profile - 1] = 0;
    s->names.muntin[sizeof s->names.muntin - 1] = 0;
    s->choice = choice;
    s->before = s->names;
    return true;
}

bool SameNames(const DesignNames& a, const DesignNames& b) {
    return strcmp(a.profile, b.profile) == 0 && strcmp(a.muntin, b.muntin) == 0;
}

// The drawing and what it is computed from; with `names`, the names too.
bool Same(const DesignState& a, const DesignState& b, bool names) {
    return a.ops.size() == b.ops.size() &&
           (a.ops.empty() || memcmp(a.ops.data(), b.ops.data(), a.ops.size() * sizeof(uniOperRys)) == 0) &&
           memcmp(&a.thickness, &b.thickness, sizeof a.thickness) == 0 &&
           a.muntinThickness == b.muntinThickness && a.profileType == b.profileType &&
           (!names || SameNames(a.names, b.names));
}

}  // namespace

bool DesignHistory::Reset(const strOkno& window, const DesignNames& names) {
    states_.clear();
    at_ = 0;
    passOpen_ = false;
    DesignState s;
    if (!Take(window, names, false, &s)) return false;
    try {
        states_.push_back(std::move(s));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool DesignHistory::Record(const strOkno& window, const DesignNames& names) {
    passOpen_ = false;
    if (states_.empty()) return Reset(window, names);
    DesignState s;
    if (!Take(window, names, false, &s)) return false;
    if (Same(s, states_[at_], false)) return true;
    try {
        states_.resize(at_ + 1);
        states_.push_back(std::move(s));
    } catch (const std::bad_alloc&) {
        return false;
    }
    at_++;
    return true;
}

bool DesignHistory::RecordChoice(const strOkno& window, DesignChoice which, const DesignNames& before,
                                 const DesignNames& after) {
    if (states_.empty()) return Reset(window, after);
    DesignState s;
    if (!Take(window, after, true, &s)) return false;
    s.before = before;
    if (passOpen_ && passOf_ == which && at_ + 1 == states_.size() && at_ <= passBase_ + 1) {
        // The pass's step (when it made one yet) gives way to the new
        // choice, and undoing it still leads to what the pass started from.
        if (at_ == passBase_ + 1) {
            s.before = states_[at_].before;
            states_.pop_back();
            at_ = passBase_;
        } else {
            s.before = passBefore_;
        }
    } else {
        passOpen_ = true;
        passOf_ = which;
        passBase_ = at_;
        passBefore_ = before;
    }
    if (Same(s, states_[at_], false) && SameNames(s.names, s.before)) return true;
    try {
        states_.resize(at_ + 1);
        states_.push_back(std::move(s));
    } catch (const std::bad_alloc&) {
        passOpen_ = false;
        return false;
    }
    at_++;
    return true;
}

const DesignState* DesignHistory::Undo(const DesignNames** names) {
    passOpen_ = false;
    if (!CanUndo()) return nullptr;
    if (names) *names = states_[at_].choice ? &states_[at_].before : nullptr;
    return &states_[--at_];
}

const DesignState* DesignHistory::Redo(const DesignNames** names) {
    passOpen_ = false;
    if (!CanRedo()) return nullptr;
    ++at_;
    if (names) *names = states_[at_].choice ? &states_[at_].names : nullptr;
    return &states_[at_];
}

int PutDesignState(const DesignState& state, strOkno* window, char* msg) {
    uniOperRys* ops = nullptr;
    const size_t n = state.ops.size();
    if (n > 0) {
        ops = (uniOperRys*)KvAlloc(n * sizeof(uniOperRys));
        if (!ops) {
            KvMsg(msg, "Error of allocation the uniOperRys union");
            return 0;
        }
        memcpy(ops, state.ops.data(), n * sizeof(uniOperRys));
    }
    KvFree(window->oper);
    window->oper = ops;
    window->liczbaOper = (int32_t)n;
    window->sGrubProf = state.thickness;
    window->grubSzpros = state.muntinThickness;
    window->iProfSch = state.profileType;
    return 1;
}
