#include "ui/designer/history.h"

#include <string.h>

#include <new>

#include "util/heap.h"
#include "util/msgbuf.h"

namespace {

bool Take(const strOkno& w, DesignState* s) {
    try {
        s->ops.assign(w.oper, w.oper + (w.oper && w.liczbaOper > 0 ? w.liczbaOper : 0));
    } catch (const std::bad_alloc&) {
        return false;
    }
    s->thickness = w.sGrubProf;
    s->muntinThickness = w.grubSzpros;
    s->profileType = w.iProfSch;
    return true;
}

bool Same(const DesignState& a, const DesignState& b) {
    return a.ops.size() == b.ops.size() &&
           (a.ops.empty() || memcmp(a.ops.data(), b.ops.data(), a.ops.size() * sizeof(uniOperRys)) == 0) &&
           memcmp(&a.thickness, &b.thickness, sizeof a.thickness) == 0 &&
           a.muntinThickness == b.muntinThickness && a.profileType == b.profileType;
}

}  // namespace

bool DesignHistory::Reset(const strOkno& window) {
    states_.clear();
    at_ = 0;
    DesignState s;
    if (!Take(window, &s)) return false;
    try {
        states_.push_back(std::move(s));
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool DesignHistory::Record(const strOkno& window) {
    if (states_.empty()) return Reset(window);
    DesignState s;
    if (!Take(window, &s)) return false;
    if (Same(s, states_[at_])) return true;
    try {
        states_.resize(at_ + 1);
        states_.push_back(std::move(s));
    } catch (const std::bad_alloc&) {
        return false;
    }
    at_++;
    return true;
}

const DesignState* DesignHistory::Undo() {
    if (!CanUndo()) return nullptr;
    return &states_[--at_];
}

const DesignState* DesignHistory::Redo() {
    if (!CanRedo()) return nullptr;
    return &states_[++at_];
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
