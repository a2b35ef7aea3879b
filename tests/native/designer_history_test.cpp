// The designer's history: steps recorded after accepted changes, undone to
// the opening state and redone to the last, a state equal to the current
// one not being a step, a new step after undos dropping the redo steps.
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

#include "tests/native/sample_windows.h"
#include "ui/designer/history.h"
#include "util/msgbuf.h"

namespace {

// The window's elements and what the geometry is computed from, as bytes.
std::vector<unsigned char> Bytes(const strOkno& w) {
    std::vector<unsigned char> v((const unsigned char*)w.oper,
                                 (const unsigned char*)(w.oper + (w.oper ? w.liczbaOper : 0)));
    v.insert(v.end(), (const unsigned char*)&w.sGrubProf, (const unsigned char*)(&w.sGrubProf + 1));
    v.insert(v.end(), (const unsigned char*)&w.grubSzpros, (const unsigned char*)(&w.grubSzpros + 1));
    v.insert(v.end(), (const unsigned char*)&w.iProfSch, (const unsigned char*)(&w.iProfSch + 1));
    return v;
}

TEST(DesignHistory, StepsUndoneToTheStartAndRedoneToTheEnd) {
    TestOkno o;
    o << Rama(2000, 1000);
    DesignHistory h;
    ASSERT_TRUE(h.Reset(o.r));
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(h.CanRedo());

    // Six steps of every kind, with a repeat of the current state between.
    std::vector<std::vector<unsigned char>> seen = {Bytes(o.r)};
    auto step = [&] {
        ASSERT_TRUE(h.Record(o.r));
        seen.push_back(Bytes(o.r));
    };
    o << Slupek(false, 1000, false, 0, 0);
    step();
    o << Wypeln(0, "G", 0, 0, 1, 0);
    step();
    ASSERT_TRUE(h.Record(o.r));  // nothing changed: no step
    o.r.sGrubProf.rama += 5;
    step();
    o.r.iProfSch = 1;
    step();
    o.r.grubSzpros += 2;
    step();
    o.r.oper[1].slupek.poz = 900;
    step();
    EXPECT_EQ(6u, h.Steps());

    char msg[KV_MSG_LEN] = "";
    for (size_t k = seen.size() - 1; k > 0; k--) {
        const DesignState* s = h.Undo();
        ASSERT_NE(nullptr, s) << k;
        ASSERT_EQ(1, PutDesignState(*s, &o.r, msg)) << msg;
        EXPECT_EQ(seen[k - 1], Bytes(o.r)) << "after undoing step " << k;
    }
    EXPECT_FALSE(h.CanUndo());
    EXPECT_EQ(nullptr, h.Undo());
    EXPECT_EQ(1, o.n());
    for (size_t k = 1; k < seen.size(); k++) {
        const DesignState* s = h.Redo();
        ASSERT_NE(nullptr, s) << k;
        ASSERT_EQ(1, PutDesignState(*s, &o.r, msg)) << msg;
        EXPECT_EQ(seen[k], Bytes(o.r)) << "after redoing step " << k;
    }
    EXPECT_FALSE(h.CanRedo());

    // Two back, then a new change: nothing left to redo, the new state on
    // top of the one it was made from.
    ASSERT_EQ(1, PutDesignState(*h.Undo(), &o.r, msg));
    ASSERT_EQ(1, PutDesignState(*h.Undo(), &o.r, msg));
    EXPECT_TRUE(h.CanRedo());
    o.r.sGrubProf.skrzydlo += 1;
    ASSERT_TRUE(h.Record(o.r));
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(5u, h.Steps());
    ASSERT_EQ(1, PutDesignState(*h.Undo(), &o.r, msg));
    EXPECT_EQ(seen[4], Bytes(o.r));
}

// An opening without elements (a new window) and a list taken back to none.
TEST(DesignHistory, AnEmptyWindowIsAState) {
    TestOkno o;
    DesignHistory h;
    ASSERT_TRUE(h.Reset(o.r));
    o << Rama(1000, 1000);
    ASSERT_TRUE(h.Record(o.r));
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(1, PutDesignState(*h.Undo(), &o.r, msg));
    EXPECT_EQ(0, o.n());
    EXPECT_EQ(nullptr, o.r.oper);
    ASSERT_EQ(1, PutDesignState(*h.Redo(), &o.r, msg));
    ASSERT_EQ(1, o.n());
    EXPECT_EQ(1000, o.r.oper[0].rama.x1);
}

}  // namespace
