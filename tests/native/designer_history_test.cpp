// The designer's history: steps recorded after accepted changes, undone to
// the opening state and redone to the last, a state equal to the current
// one not being a step, a new step after undos dropping the redo steps.
#include <gtest/gtest.h>
#include <string.h>

#include <vector>

#include "tests/native/sample_windows.h"
#include "ui/designer/history.h"
#include "model/structure.h"
#include "ui/designer/limits.h"
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
    TestWindow o;
    o << DrawFrame(2000, 1000);
    DesignHistory h;
    ASSERT_TRUE(h.Reset(o.r, DesignNames{}));
    EXPECT_FALSE(h.CanUndo());
    EXPECT_FALSE(h.CanRedo());

    // Six steps of every kind, with a repeat of the current state between.
    std::vector<std::vector<unsigned char>> seen = {Bytes(o.r)};
    auto step = [&] {
        ASSERT_TRUE(h.Record(o.r, DesignNames{}));
        seen.push_back(Bytes(o.r));
    };
    o << DrawMullion(false, 1000, false, 0, 0);
    step();
    o << DrawFilling(0, "G", 0, 0, 1, 0);
    step();
    ASSERT_TRUE(h.Record(o.r, DesignNames{"Typed", ""}));  // nothing changed but a name: no step
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
    ASSERT_TRUE(h.Record(o.r, DesignNames{}));
    EXPECT_FALSE(h.CanRedo());
    EXPECT_EQ(5u, h.Steps());
    ASSERT_EQ(1, PutDesignState(*h.Undo(), &o.r, msg));
    EXPECT_EQ(seen[4], Bytes(o.r));
}

// An opening without elements (a new window) and a list taken back to none.
TEST(DesignHistory, AnEmptyWindowIsAState) {
    TestWindow o;
    DesignHistory h;
    ASSERT_TRUE(h.Reset(o.r, DesignNames{}));
    o << DrawFrame(1000, 1000);
    ASSERT_TRUE(h.Record(o.r, DesignNames{}));
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(1, PutDesignState(*h.Undo(), &o.r, msg));
    EXPECT_EQ(0, o.n());
    EXPECT_EQ(nullptr, o.r.oper);
    ASSERT_EQ(1, PutDesignState(*h.Redo(), &o.r, msg));
    ASSERT_EQ(1, o.n());
    EXPECT_EQ(1000, o.r.oper[0].rama.x1);
}

// Register choices: each one a step holding the name with the values it
// brought, so that undo and redo put them back together (the name shown
// before a choice, typed or chosen, comes back with the values before it);
// a pass of choices through one list is one step, and a pass that ends
// where it began is none; a step of the drawing leaves the names alone.
TEST(DesignHistory, ARegisterChoiceKeepsItsNameWithItsValues) {
    TestWindow o;
    o << DrawFrame(2000, 2000);
    DesignHistory h;
    ASSERT_TRUE(h.Reset(o.r, DesignNames{"", "Bar"}));
    char msg[KV_MSG_LEN] = "";
    auto choose = [&](DesignChoice which, const char* before, const char* after, int32_t t) {
        DesignNames was = {"", "Bar"}, now = was;
        strcpy(which == kChoiceProfile ? was.profile : was.muntin, before);
        strcpy(which == kChoiceProfile ? now.profile : now.muntin, after);
        if (which == kChoiceProfile) o.r.sGrubProf = strGrubProf{t, t, t, t};
        else o.r.grubSzpros = t;
        ASSERT_TRUE(h.RecordChoice(o.r, which, was, now));
    };
    struct Move {
        bool redo;
        int32_t frame;         // the frame thickness put back
        const char* profile;   // the profile name put back, or null for none
    };
    auto check = [&](const std::vector<Move>& moves) {
        for (const Move& m : moves) {
            const DesignNames* names = nullptr;
            const DesignState* s = m.redo ? h.Redo(&names) : h.Undo(&names);
            ASSERT_NE(nullptr, s);
            ASSERT_EQ(1, PutDesignState(*s, &o.r, msg)) << msg;
            EXPECT_EQ(m.frame, o.r.sGrubProf.rama) << (m.redo ? "redo" : "undo");
            if (!m.profile) {
                EXPECT_EQ(nullptr, names) << "a step of the drawing put names back";
            } else {
                ASSERT_NE(nullptr, names);
                EXPECT_STREQ(m.profile, names->profile) << "with the frame of " << m.frame;
                EXPECT_STREQ("Bar", names->muntin);
            }
        }
    };
    const int32_t t0 = o.r.sGrubProf.rama;
    choose(kChoiceProfile, "Typed", "Normal 70", 70);
    h.EndPass();
    choose(kChoiceProfile, "Normal 70", "Huge 400", 400);
    h.EndPass();
    o.r.oper[0].rama.x1 = 1900;
    ASSERT_TRUE(h.Record(o.r, DesignNames{"Typed over", "Bar"}));
    EXPECT_EQ(3u, h.Steps());
    check({{false, 400, nullptr},
           {false, 70, "Normal 70"},
           {false, t0, "Typed"},
           {true, 70, "Normal 70"},
           {true, 400, "Huge 400"},
           {true, 400, nullptr}});

    // Arrowing through the list: one step, undone to where the pass began.
    choose(kChoiceProfile, "Huge 400", "Normal 70", 70);
    choose(kChoiceProfile, "Normal 70", "Wide 90", 90);
    choose(kChoiceProfile, "Wide 90", "Normal 70", 70);
    h.EndPass();
    EXPECT_EQ(4u, h.Steps());
    check({{false, 400, "Huge 400"}, {true, 70, "Normal 70"}});
    // A pass back to where it began leaves no step behind.
    choose(kChoiceProfile, "Normal 70", "Huge 400", 400);
    choose(kChoiceProfile, "Huge 400", "Normal 70", 70);
    h.EndPass();
    EXPECT_EQ(4u, h.Steps());
    EXPECT_FALSE(h.CanRedo());
    // The same entry chosen again is no step; the muntin's list is another.
    choose(kChoiceProfile, "Normal 70", "Normal 70", 70);
    EXPECT_EQ(4u, h.Steps());
    choose(kChoiceMuntin, "Bar", "Bar 26", 26);
    EXPECT_EQ(5u, h.Steps());
    const DesignNames* names = nullptr;
    ASSERT_EQ(1, PutDesignState(*h.Undo(&names), &o.r, msg));
    ASSERT_NE(nullptr, names);
    EXPECT_STREQ("Bar", names->muntin);
    EXPECT_EQ(70, o.r.sGrubProf.rama);
    EXPECT_EQ(kTMuntin, o.r.grubSzpros);
}

// New thicknesses whose geometry cannot be computed (a mullion whose edge
// would leave 32 bits) leave the window as it was, the geometry of the
// elements before the failing one included.
TEST(ApplyThicknesses, AFailedPassTakesTheChangeBack) {
    TestWindow o;
    o << DrawFrame(1000, 1000) << DrawMullion(false, 500, false, 0, 0);
    o.r.oper[0].rama.x0 = INT32_MAX - 1000;
    o.r.oper[0].rama.x1 = INT32_MAX;
    o.r.oper[1].slupek.poz = INT32_MAX - 50;  // 90 mm thick: its right edge 5 mm short of the end
    char msg[KV_MSG_LEN] = "";
    ASSERT_EQ(1, ComputeGeometry(o.r.oper, o.n(), 5, &o.r, msg)) << msg;
    const std::vector<unsigned char> before = Bytes(o.r);

    EXPECT_EQ(0, ApplyThicknesses(&o.r, strGrubProf{kTFrame + 10, kTSash, 120, kTFalse}, kTMuntin, msg));
    EXPECT_STREQ("Wrong definition of the mullion", msg);
    EXPECT_EQ(before, Bytes(o.r));

    EXPECT_EQ(1, ApplyThicknesses(&o.r, strGrubProf{kTFrame + 10, kTSash, 60, kTFalse}, kTMuntin, msg)) << msg;
    EXPECT_EQ(kTFrame + 10, o.r.sGrubProf.rama);
    EXPECT_EQ(INT32_MAX - 1000 + kTFrame + 10, o.r.oper[0].rama.wewn.left);
    EXPECT_EQ(INT32_MAX - 20, o.r.oper[1].slupek.prost.right);
}

}  // namespace
