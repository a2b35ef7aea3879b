// Element geometry, areas, insertion rules, the change check, clearance,
// deletion and the queries over an operation list.
#include <gtest/gtest.h>

#include <string.h>

#include <random>
#include <string>
#include <vector>

#include "model/structure.h"
#include "tests/native/model_reference.h"
#include "tests/native/sample_windows.h"
#include "util/msgbuf.h"

namespace {

// The areas of a window, released with the test.
struct Areas {
    strObsOkno* tab = nullptr;
    int32_t n = 0;
    std::string msg;
    int wynik = 0;
    Areas(const TestWindow& o, int muntinsDivide = 0, int32_t limit = 0, int zUrz = 0) {
        char m[KV_MSG_LEN] = "";
        wynik = BuildStructure(o.r.oper, o.r.liczbaOper, limit, zUrz, muntinsDivide, &tab, &n, m);
        msg = m;
    }
    ~Areas() { FreeStructure(tab); }
    const strObsOkno& operator[](int i) const { return tab[i]; }
};

void ExpectRect(const strProst& r, int32_t l, int32_t t, int32_t p, int32_t b) {
    EXPECT_EQ(l, r.left);
    EXPECT_EQ(t, r.top);
    EXPECT_EQ(p, r.right);
    EXPECT_EQ(b, r.bottom);
}

void ExpectBounds(const int32_t* ogr, int32_t l, int32_t t, int32_t p, int32_t b) {
    EXPECT_EQ(l, ogr[0]);
    EXPECT_EQ(t, ogr[1]);
    EXPECT_EQ(p, ogr[2]);
    EXPECT_EQ(b, ogr[3]);
}
void ExpectBounds(const strObsOkno& o, int32_t l, int32_t t, int32_t p, int32_t b) {
    ExpectBounds(o.ogr, l, t, p, b);
}

std::string Geometria(TestWindow& o, int32_t format = 5) {
    char msg[KV_MSG_LEN] = "";
    return ComputeGeometry(o.r.oper, o.n(), format, &o.r, msg) ? "ok" : msg;
}

std::string CheckedChange(const TestWindow& o, const uniOperRys* op, int32_t pozycja, int32_t format = 5) {
    char msg[KV_MSG_LEN] = "";
    return CheckChange(o.r.oper, o.r.liczbaOper, op, pozycja, format, msg) ? "ok" : msg;
}

std::string AddOp(const TestWindow& o, const uniOperRys& op) { return CheckedChange(o, &op, -1); }

// ---- Thickness and geometry ------------------------------------------------

TEST(Thickness, StructureFormatFromStatus) {
    const int32_t przypadki[][2] = {{0, 0},  {1, 1},  {2, 2},  {3, -1}, {4, 5},
                                    {5, -1}, {6, -1}, {7, -1}, {12, 5}, {8 + 2, 2}};
    for (auto& p : przypadki) EXPECT_EQ(p[1], StructureFormat(p[0])) << p[0];
}

TEST(Thickness, OwnFlagFormatAndKind) {
    TestWindow o;
    uniOperRys els[] = {DrawFrame(1, 1), SashElement(0, 0, 0), DrawMullion(false, 1, false, 0, 0),
                        DrawMullion(true, 1, false, 0, 0), DrawMuntin(1, false, 0, 0, 0)};
    const int32_t domyslne[] = {kTFrame, kTSash, kTFixed, kTFalse, kTMuntin};
    for (int i = 0; i < 5; i++) {
        uniOperRys e = els[i];
        EXPECT_EQ(domyslne[i], ElementThickness(&e, 5, &o.r)) << i;
        EXPECT_EQ(-1, ElementThickness(&e, 0, &o.r)) << i;
        EXPECT_EQ(-1, ElementThickness(&e, 1, &o.r)) << i;
        EXPECT_EQ(-1, ElementThickness(&e, -1, &o.r)) << i;
        EXPECT_EQ(0, ElementThickness(&e, 2, &o.r)) << i;  // own thickness, here 0
        // The flag and the thickness sit at the same place in all four kinds
        // of profile but the frame and the sash.
        int32_t* grub = e.typ == kOpFrame       ? &e.rama.grub
                        : e.typ == kOpSash ? &e.skrzydlo.grub
                        : e.typ == kOpMuntin   ? &e.szpros.grub
                                                 : &e.slupek.grub;
        grub[0] = 33;
        grub[1] = kFlagOwnThickness;
        EXPECT_EQ(33, ElementThickness(&e, 5, &o.r)) << i;
        EXPECT_EQ(33, ElementThickness(&e, 0, &o.r)) << i;
    }
    uniOperRys s = DrawMullion(false, 1, false, 0, 0);
    s.slupek.rodzaj = 1;  // the kind, not the type, picks the default
    EXPECT_EQ(kTFalse, ElementThickness(&s, 5, &o.r));
    s.slupek.rodzaj = 7;
    EXPECT_EQ(-1, ElementThickness(&s, 5, &o.r));
    uniOperRys w = DrawFilling(0, "G", 0);
    EXPECT_EQ(0, ElementThickness(&w, 0, &o.r));
}

TEST(Geometry, RectanglesOfEveryElement) {
    TestWindow o;
    o << DrawFrame(1000, 800)                  // inner 70 70 930 730
      << DrawMullion(false, 500, false, 0, 0)  // 455..545
      << DrawMullion(true, 401, true, 0, 1)    // false, left half, 60 thick
      << SashElement(2, 1, 0, 2, 1, 0)       // below 2
      << DrawFilling(0, "Glass", 3) << DrawMuntin(250, false, 3, 3, 4);
    ASSERT_EQ("ok", Geometria(o));
    ExpectRect(o[0].rama.wewn, 70, 70, 930, 730);
    ExpectRect(o[1].slupek.prost, 455, 70, 545, 730);
    ExpectRect(o[2].slupek.prost, 70, 371, 455, 431);  // 401 - 60/2
    ExpectRect(o[3].skrzydlo.zewn, 70, 431, 455, 730);
    ExpectRect(o[3].skrzydlo.wewn, 150, 511, 375, 650);
    ExpectRect(o[4].wypeln.prost, 150, 511, 375, 650);
    ExpectRect(o[5].szpros.prost, 240, 511, 260, 650);

    // Odd thickness: the half is taken down, the rest goes past the centre.
    o[1].slupek.flagi = kFlagOwnThickness;
    o[1].slupek.grub = 91;
    ASSERT_EQ("ok", Geometria(o));
    ExpectRect(o[1].slupek.prost, 455, 70, 546, 730);
    EXPECT_EQ(455, o[2].slupek.prost.right);  // follows its bound's new edge

    EXPECT_EQ("Wrong definition of the frame", Geometria(o, 0));
}

// Lists read from a damaged or foreign database: every bad index and size is
// refused by both passes, never followed.
TEST(Geometry, DamagedListsAreRefusedByBothPasses) {
    struct Przypadek {
        const char* co;
        std::vector<uniOperRys> els;
        const char* geometria;
        const char* struktura;
        bool uszkodzony;  // an index or size no sound list holds
    };
    const uniOperRys F = DrawFrame(1000, 800);
    uniOperRys bezNazwy = DrawFilling(0, "", 0);
    memset(bezNazwy.wypeln.nazwa, 'N', sizeof bezNazwy.wypeln.nazwa);
    const Przypadek przypadki[] = {
        {"negative bound",
         {F, DrawMullion(false, 500, false, -1, 0)},
         "Wrong definition of the mullion",
         "Wrong structure of the window\r\nIncorrect mullion",
         true},
        {"bound is itself",
         {F, DrawMullion(false, 500, false, 0, 1)},
         "Wrong definition of the mullion",
         "Wrong structure of the window\r\nIncorrect mullion",
         true},
        {"bound past the count",
         {F, SashElement(0, 0, 0, 0, 99, 0)},
         "Wrong definition of the sash",
         "Wrong structure of the window\r\nIncorrect sash",
         true},
        {"bound far negative",
         {F, DrawFilling(0, "G", 0, INT32_MIN, 0, 0)},
         "Wrong definition of the filling",
         "Wrong structure of the window\r\nIncorrect filling",
         true},
        {"muntin on a mullion",
         {F, DrawMullion(false, 500, false, 0, 0), DrawMuntin(200, false, 0, 0, 1)},
         "Wrong definition of the muntin",
         "Wrong structure of the window\r\nIncorrect muntin",
         true},
        {"muntin on a later filling",
         {F, DrawMuntin(200, false, 0, 0, 2), DrawFilling(0, "G", 0)},
         "Wrong definition of the muntin",
         "Wrong structure of the window\r\nIncorrect muntin",
         true},
        {"zero width",
         {DrawFrame(0, 800)},
         "Wrong definition of the frame",
         "Wrong structure of the window\r\nIncorrect frame",
         true},
        {"negative height",
         {DrawFrame(1000, -5)},
         "Wrong definition of the frame",
         "Wrong structure of the window\r\nIncorrect frame",
         true},
        {"no frame first",
         {DrawMullion(false, 500, false, 0, 0), F},
         "Wrong definition of the mullion",
         "Wrong structure of the window",
         true},
        {"second frame",
         {F, DrawMullion(false, 500, false, 0, 0), F},
         "Wrong definition of the frame",
         "Wrong structure of the window\r\nIncorrect frame",
         true},
        {"thickness overflow",
         {F, DrawMullion(false, INT32_MAX, false, 0, 0)},
         "Wrong definition of the mullion",
         "Wrong structure of the window\r\nIncorrect mullion",
         false},
        {"mullion bounded by a filling",
         {F, DrawFilling(0, "G", 0), DrawMullion(false, 500, false, 1, 1)},
         "Wrong definition of the mullion",
         "Wrong structure of the window\r\nIncorrect mullion",
         false},
        {"filling beside a false mullion",
         {F, DrawMullion(true, 500, false, 0, 0), DrawFilling(0, "G", 0, 0, 1, 0)},
         "Wrong definition of the filling",
         "ok",
         false},
        {"unterminated name", {F, bezNazwy}, "ok", "ok", false},
    };
    for (const Przypadek& p : przypadki) {
        TestWindow o;
        for (const uniOperRys& e : p.els) o << e;
        EXPECT_EQ(p.geometria, Geometria(o)) << p.co;
        for (int dziela = 0; dziela < 2; dziela++) {
            Areas a(o, dziela);
            EXPECT_EQ(p.struktura, a.wynik ? std::string("ok") : a.msg) << p.co;
        }
        // The change check refuses a damaged index before following it.
        const std::string z = CheckedChange(o, nullptr, -2);
        if (p.uszkodzony) {
            EXPECT_EQ(p.struktura, z) << p.co;
        }
    }
}

// ---- Structure -------------------------------------------------------------

TEST(Structure, FrameAloneAndMullions) {
    TestWindow o;
    o << DrawFrame(1000, 800);
    ASSERT_EQ("ok", Geometria(o));
    {
        Areas a(o);
        ASSERT_EQ(1, a.wynik);
        ASSERT_EQ(1, a.n);
        ExpectBounds(a[0], 0, 0, 0, 0);
        ExpectRect(a[0].prost, 70, 70, 930, 730);
        EXPECT_EQ(0, a[0].os[0]);
        EXPECT_EQ(1000, a[0].os[2]);
        EXPECT_EQ(800, a[0].os[3]);
    }
    o << DrawMullion(false, 500, false, 0, 0);
    ASSERT_EQ("ok", Geometria(o));
    {
        Areas a(o);
        ASSERT_EQ(2, a.n);
        ExpectBounds(a[0], 0, 0, 1, 0);
        ExpectBounds(a[1], 1, 0, 0, 0);
        ExpectRect(a[0].prost, 70, 70, 455, 730);
        ExpectRect(a[1].prost, 545, 70, 930, 730);
        EXPECT_EQ(500, a[0].os[2]);
        EXPECT_EQ(500, a[1].os[0]);
    }
    // At three quarters it divides the right area, not the left one.
    o << DrawMullion(false, 750, false, 0, 0);
    ASSERT_EQ("ok", Geometria(o));
    {
        Areas a(o);
        ASSERT_EQ(3, a.n);
        ExpectBounds(a[0], 0, 0, 1, 0);
        ExpectBounds(a[1], 1, 0, 2, 0);
        ExpectBounds(a[2], 2, 0, 0, 0);
        ExpectRect(a[1].prost, 545, 70, 705, 730);
    }
    // The limit builds only the elements before it.
    Areas pierwsze(o, 0, 2);
    EXPECT_EQ(2, pierwsze.n);
}

TEST(Structure, MullionOnATakenPositionDividesNothing) {
    for (int32_t poz : {500, 0, 1000}) {
        TestWindow o;
        o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(true, poz, false, 0, 0);
        Areas a(o);
        EXPECT_EQ(0, a.wynik) << poz;
        EXPECT_EQ("Wrong structure of the window\r\nIncorrect mullion", a.msg) << poz;
        EXPECT_EQ(nullptr, a.tab);
        EXPECT_EQ("Error of trying to find area for the mullion", CheckedChange(o, nullptr, -2)) << poz;
    }
}

TEST(Structure, SashFillingAndMuntinsDividingOrNot) {
    TestWindow o;
    o << DrawFrame(1000, 800) << SashElement(3, 0, 0, 0, 0, 0) << DrawFilling(0, "Glass", 1)
      << DrawMuntin(500, false, 1, 1, 2);
    ASSERT_EQ("ok", Geometria(o));
    {
        Areas a(o);
        ASSERT_EQ(1, a.n);
        ExpectBounds(a[0], 1, 1, 1, 1);
        EXPECT_EQ(1, a[0].hasFilling);
        EXPECT_EQ(2, a[0].wypeln);
        ExpectRect(a[0].prost, 150, 150, 850, 650);
        EXPECT_EQ(1000, a[0].os[2]);  // a sash keeps the axes of the area it fills
    }
    {
        Areas a(o, 1);
        ASSERT_EQ(2, a.n);
        ExpectBounds(a[0], 1, 1, 3, 1);
        ExpectBounds(a[1], 3, 1, 1, 1);
        EXPECT_EQ(1, a[1].hasFilling);  // both halves lie on the filling
        EXPECT_EQ(2, a[1].wypeln);
        ExpectRect(a[0].prost, 150, 150, 490, 650);
        ExpectRect(a[1].prost, 510, 150, 850, 650);
    }
    // A sash whose bounds match no area.
    o << SashElement(0, 0, 0, 0, 0, 0);
    Areas a(o);
    EXPECT_EQ("Wrong structure of the window\r\nIncorrect sash", a.msg);
}

TEST(Structure, DeviceRectanglesOnlyWhenAsked) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0);
    ASSERT_EQ("ok", Geometria(o));
    o[0].rama.wewnUrz = strProst{17, 17, 183, 143};
    o[1].slupek.prostUrz = strProst{91, 17, 109, 143};
    {
        Areas a(o, 0, 0, 1);
        ASSERT_EQ(2, a.n);
        ExpectRect(a[0].prostUrz, 17, 17, 91, 143);
        ExpectRect(a[1].prostUrz, 109, 17, 183, 143);
    }
    Areas a(o);
    ExpectRect(a[1].prostUrz, 0, 0, 0, 0);
}

TEST(Structure, EmptyListHasNoAreas) {
    TestWindow o;
    Areas a(o);
    EXPECT_EQ(1, a.wynik);
    EXPECT_EQ(0, a.n);
    EXPECT_EQ(nullptr, a.tab);
    EXPECT_EQ("ok", CheckedChange(o, nullptr, -2));
}

TEST(Structure, TableAllocationFailure) {
    TestWindow o;
    o << DrawFrame(1000, 800);
    KvHeapFailAt(1);
    Areas a(o);
    KvHeapFailAt(0);
    EXPECT_EQ("Error of allocation the table of strObsOkno structures", a.msg);
}

// ---- Insertion rules and the change check ----------------------------------

TEST(Rules, SashInAnAreaThenASecondSashIsRefused) {
    TestWindow o;
    o << DrawFrame(1000, 800);
    uniOperRys s = SashElement(3, 1, 0, 0, 0, 0);
    EXPECT_EQ(14, KindCode(&s));
    EXPECT_EQ("ok", AddOp(o, s));
    o << s;
    Areas a(o);
    ExpectBounds(a[0], 1, 1, 1, 1);
    EXPECT_EQ("A sash cannot be inserted into area bounded by other sash", AddOp(o, SashElement(0, 0, 1)));
    char msg[KV_MSG_LEN] = "";
    EXPECT_EQ(0, CheckInsertion(kOpSash, 0, &a[0], o.r.oper, o.n(), 5, msg));
    EXPECT_STREQ("A sash cannot be inserted into area bounded by other sash", msg);
    EXPECT_EQ(0, CheckInsertion(kOpSash, 0, &a[0], o.r.oper, o.n(), 5, nullptr));
    // In the frame's place the sash finds no area any more.
    EXPECT_EQ("Error of trying to find area for the sash", AddOp(o, SashElement(0, 0, 0)));
}

TEST(Rules, FillingInsideASashAndMullionIntoAFilledArea) {
    TestWindow o;
    o << DrawFrame(1000, 800) << SashElement(1, 0, 0);
    EXPECT_EQ("ok", AddOp(o, DrawFilling(0, "Glass", 1)));
    o << DrawFilling(0, "Glass", 1);
    EXPECT_EQ("A mullion can be inserted only into area without a filling",
              AddOp(o, DrawMullion(false, 500, false, 1, 1)));
    EXPECT_EQ("A filling can be inserted only into area without another filling",
              AddOp(o, DrawFilling(1, "A", 1)));
    EXPECT_EQ("A sash cannot be inserted into area with filling", AddOp(o, SashElement(0, 0, 1)));
    EXPECT_EQ("Error of trying to find area for the filling", AddOp(o, DrawFilling(1, "A", 0)));
}

TEST(Rules, MuntinsOnGlassOnly) {
    for (int32_t typ : {0, 1}) {
        TestWindow o;
        o << DrawFrame(1000, 800) << DrawFilling(typ, "F", 0);
        const uniOperRys m = DrawMuntin(500, false, 0, 0, 1);
        EXPECT_EQ(typ == 0 ? "ok" : "A muntin can be set only on a filling of type \"glass\"", AddOp(o, m));
        // Only format 5 knows which filling is glass.
        EXPECT_EQ("A muntin can be set only on a filling of type \"glass\"", CheckedChange(o, &m, -1, 2));
    }
    TestWindow bez;
    bez << DrawFrame(1000, 800);
    // A muntin whose filling index names no filling is damage, not a rule.
    EXPECT_EQ("Wrong structure of the window\r\nIncorrect muntin", AddOp(bez, DrawMuntin(500, false, 0, 0, 0)));

    // Muntins divide the areas that later muntins look for.
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawFilling(0, "Glass", 0) << DrawMuntin(500, false, 0, 0, 1);
    EXPECT_EQ("ok", AddOp(o, DrawMuntin(400, true, 2, 0, 1)));  // right of the first
    EXPECT_EQ("Error of trying to find area for the muntin", AddOp(o, DrawMuntin(400, true, 0, 0, 1)));
}

// Bounds that only a hand-made area (or a damaged list) can put at the ends
// of a new element.
TEST(Rules, BoundsAtTheEnds) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(true, 500, false, 0, 0) << DrawFilling(0, "Glass", 0)
      << DrawMuntin(400, true, 0, 0, 2) << DrawMullion(false, 300, true, 0, 0);
    strObsOkno obs;
    memset(&obs, 0, sizeof obs);
    obs.hasFilling = 1;
    obs.wypeln = 2;
    char msg[KV_MSG_LEN] = "";

    // A muntin between a false mullion and the frame, either way round.
    obs.ogr[kSideLeft] = 1;
    EXPECT_EQ(0, CheckInsertion(kOpMuntin, 1, &obs, o.r.oper, o.n(), 5, msg));
    EXPECT_STREQ("A muntin cannot be bounded by the false mullion", msg);
    EXPECT_EQ(1, CheckInsertion(kOpMuntin, 0, &obs, o.r.oper, o.n(), 5, msg));  // vertical: top, bottom
    obs.ogr[kSideLeft] = 0;
    obs.ogr[kSideBottom] = 1;
    EXPECT_EQ(0, CheckInsertion(kOpMuntin, 0, &obs, o.r.oper, o.n(), 5, msg));

    // Mullions: a muntin at an end refuses, at a side does not.
    obs.hasFilling = 0;
    obs.ogr[kSideBottom] = 0;
    obs.ogr[kSideRight] = 3;
    EXPECT_EQ(0, CheckInsertion(kOpFixedMullion, 1, &obs, o.r.oper, o.n(), 5, msg));
    EXPECT_STREQ("A mullion cannot be inserted into area bounded by a muntin", msg);
    EXPECT_EQ(1, CheckInsertion(kOpFalseMullion, 0, &obs, o.r.oper, o.n(), 5, msg));
    // Sashes and fillings refuse a muntin on any side.
    EXPECT_EQ(0, CheckInsertion(kOpSash, 0, &obs, o.r.oper, o.n(), 5, msg));
    EXPECT_STREQ("A sash cannot be inserted into area bounded by the muntin", msg);
    EXPECT_EQ(0, CheckInsertion(kOpFilling, 0, &obs, o.r.oper, o.n(), 5, msg));
    EXPECT_STREQ("A filling cannot be inserted into area bounded by a muntin", msg);
    obs.ogr[kSideRight] = 4;  // a fixed mullion: fine for everything
    for (uint32_t t = kOpFixedMullion; t <= kOpFilling; t++)
        EXPECT_EQ(1, CheckInsertion(t, 0, &obs, o.r.oper, o.n(), 5, msg)) << t;
}

TEST(Rules, FillingBesideAFalseMullion) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(true, 500, false, 0, 0);
    EXPECT_EQ("A filling cannot be inserted into area bounded by a false mullion",
              AddOp(o, DrawFilling(0, "G", 0, 0, 1, 0)));
    EXPECT_EQ("A filling cannot be inserted into area bounded by a false mullion",
              AddOp(o, DrawFilling(0, "G", 1, 0, 0, 0)));
    // A sash may go there, and a filling into the sash.
    o << SashElement(2, 0, 0, 0, 1, 0);
    EXPECT_EQ("ok", AddOp(o, DrawFilling(0, "G", 2)));
}

TEST(ChangeCheck, ReplaceAppendAndTheListStaysAsItWas) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawFilling(0, "G", 0, 0, 1, 0);
    std::vector<unsigned char> przed((unsigned char*)o.r.oper, (unsigned char*)(o.r.oper + o.n()));
    EXPECT_EQ("ok", CheckedChange(o, nullptr, -2));

    uniOperRys m = o[1];
    m.slupek.poz = 1000;
    EXPECT_EQ("Error of trying to find area for the mullion", CheckedChange(o, &m, 1));
    m.slupek.poz = 200;
    EXPECT_EQ("ok", CheckedChange(o, &m, 1));
    // A filling moved onto the mullion's other side.
    uniOperRys w = DrawFilling(0, "G", 1, 0, 0, 0);
    EXPECT_EQ("ok", CheckedChange(o, &w, 2));
    w = DrawFilling(0, "G", 0, 0, 0, 0);
    EXPECT_EQ("Error of trying to find area for the filling", CheckedChange(o, &w, 2));
    // The frame itself changed: the mullion no longer fits.
    uniOperRys f = DrawFrame(400, 800);
    EXPECT_EQ("Error of trying to find area for the mullion", CheckedChange(o, &f, 0));
    // Positions that name no element.
    EXPECT_EQ("Wrong structure of the window", CheckedChange(o, &f, 3));
    EXPECT_EQ("Wrong structure of the window", CheckedChange(o, &f, -3));
    EXPECT_EQ("Wrong structure of the window", CheckedChange(o, nullptr, -1));

    EXPECT_EQ(0, memcmp(przed.data(), o.r.oper, przed.size()));
    KvHeapFailAt(1);
    EXPECT_EQ("Error of allocation and copying uniOperRys union", CheckedChange(o, nullptr, -2));
    KvHeapFailAt(2);
    EXPECT_EQ("Error of allocation the table of strObsOkno structures", CheckedChange(o, nullptr, -2));
    KvHeapFailAt(0);
}

// Random windows grown area by area, rules ignored, so that most are wrong
// somewhere: the one-pass check must answer exactly as the definition.
TEST(ChangeCheck, AgreesWithRebuildingEveryPrefix) {
    std::mt19937 rng(20261208);
    int zgodne = 0, poprawne = 0;
    for (int proba = 0; proba < 400; proba++) {
        TestWindow o;
        o << DrawFrame(2000, 1600);
        const int ile = 1 + (int)(rng() % 40);
        for (int k = 0; k < ile; k++) {
            Areas a(o, 1);
            if (!a.wynik || a.n == 0) break;
            const strObsOkno& obs = a[(int)(rng() % (uint32_t)a.n)];
            const bool poziomy = rng() % 2;
            const int32_t lo = obs.os[poziomy ? 1 : 0], hi = obs.os[poziomy ? 3 : 2];
            const int32_t poz = hi > lo ? lo + (int32_t)(rng() % (uint32_t)(hi - lo + 1)) : lo;
            const int32_t pocz = obs.ogr[poziomy ? 0 : 1], kon = obs.ogr[poziomy ? 2 : 3];
            switch (rng() % 6) {
                case 0: o << DrawMullion(false, poz, poziomy, pocz, kon); break;
                case 1: o << DrawMullion(true, poz, poziomy, pocz, kon); break;
                case 2:
                    o << SashElement((int32_t)(rng() % 4), 0, obs.ogr[0], obs.ogr[1], obs.ogr[2], obs.ogr[3]);
                    break;
                case 3:
                case 4:
                    o << DrawFilling((int32_t)(rng() % 2), "F", obs.ogr[0], obs.ogr[1], obs.ogr[2], obs.ogr[3]);
                    break;
                default: {
                    int32_t w = obs.hasFilling ? obs.wypeln : 0;
                    if (o[w].typ != kOpFilling) {
                        // Lie on any earlier filling, or the list is refused outright.
                        w = -1;
                        for (int i = 0; i < o.n(); i++)
                            if (o[i].typ == kOpFilling) w = i;
                        if (w < 0) break;
                    }
                    o << DrawMuntin(poz, poziomy, pocz, kon, w);
                }
            }
        }
        const std::string wzorzec = ReferenceChange(o.r.oper, o.n(), 5);
        EXPECT_EQ(wzorzec, CheckedChange(o, nullptr, -2)) << "attempt " << proba;
        zgodne += wzorzec == CheckedChange(o, nullptr, -2);
        poprawne += wzorzec == "ok";
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_GT(poprawne, 20);
    EXPECT_LT(poprawne, 380);
    EXPECT_EQ(400, zgodne);
}

// ---- Clearance -------------------------------------------------------------

TEST(Clearance, ProfileAndMuntinMinimums) {
    TestWindow o;
    o << DrawFrame(1000, 800)                  // inner 70..930
      << DrawMullion(false, 500, false, 0, 0)  // 455..545
      << DrawFilling(0, "G", 1, 0, 0, 0)       // 545..930
      << DrawMuntin(560, false, 0, 0, 2)      // 550..570
      << DrawMuntin(580, false, 0, 0, 2);     // 570..590
    ASSERT_EQ("ok", Geometria(o));
    Areas a(o, 1);
    ASSERT_EQ(4, a.n);
    const strObsOkno& mulSzp = a[1];  // mullion | muntin: 5 mm
    const strObsOkno& szpSzp = a[2];  // muntin | muntin: 0 mm
    ExpectBounds(mulSzp, 1, 0, 3, 0);
    ExpectBounds(szpSzp, 3, 0, 4, 0);
    const uniOperRys* l = o.r.oper;

    // A muntin on one side: both minimums apply, the profile's first.
    EXPECT_EQ(1, CheckClearance(&mulSzp, l, o.n(), 6, 3));
    EXPECT_EQ(1, CheckClearance(&mulSzp, l, o.n(), 6, 30));
    EXPECT_EQ(2, CheckClearance(&mulSzp, l, o.n(), 5, 6));
    EXPECT_EQ(0, CheckClearance(&mulSzp, l, o.n(), 5, 5));
    // Muntins on both sides: only the muntin minimum.
    EXPECT_EQ(0, CheckClearance(&szpSzp, l, o.n(), 100, 0));
    EXPECT_EQ(2, CheckClearance(&szpSzp, l, o.n(), 0, 1));
    // No muntin: only the profile minimum (385 mm wide, 660 high).
    EXPECT_EQ(0, CheckClearance(&a[0], l, o.n(), 20, 100000));
    EXPECT_EQ(1, CheckClearance(&a[0], l, o.n(), 386, 0));
    EXPECT_EQ(0, CheckClearance(&a[0], l, o.n(), 385, 0));
    // The height is checked as well as the width.
    strObsOkno niski = a[0];
    niski.ogr[kSideBottom] = 3;  // a vertical muntin as bottom bound: its top edge, 0 mm high
    EXPECT_EQ(2, CheckClearance(&niski, l, o.n(), 0, 1));
    EXPECT_EQ(0, CheckClearance(&niski, l, o.n(), 0, 0));

    strObsOkno zle = a[0];
    zle.ogr[kSideBottom] = 2;  // a filling cannot bound an area
    EXPECT_EQ(3, CheckClearance(&zle, l, o.n(), 0, 0));
    zle.ogr[kSideBottom] = 77;
    EXPECT_EQ(3, CheckClearance(&zle, l, o.n(), 0, 0));
}

// ---- Deletion --------------------------------------------------------------

void WindowForDeletion(TestWindow& o) {
    o << DrawFrame(1000, 800)                  // 0
      << DrawMullion(false, 500, false, 0, 0)  // 1 vertical
      << DrawMullion(false, 400, true, 0, 1)   // 2 left half, horizontal
      << SashElement(3, 0, 0, 2, 1, 0)       // 3 below 2
      << DrawFilling(0, "G", 3)                // 4 in the sash
      << DrawMuntin(250, false, 3, 3, 4)      // 5 on it
      << DrawMullion(false, 300, true, 1, 0)   // 6 right half
      << DrawFilling(0, "G", 1, 6, 0, 0)       // 7 below 6
      << DrawFilling(1, "A", 0, 0, 1, 2);      // 8 above 2
}

TEST(Deletion, CascadesThroughAMullionThatBoundsASash) {
    TestWindow o;
    WindowForDeletion(o);
    ASSERT_EQ("ok", CheckedChange(o, nullptr, -2));
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, DeleteElement(&o.r.oper, &o.r.liczbaOper, 2, msg));
    TestWindow oczek;
    oczek << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(false, 300, true, 1, 0)
          << DrawFilling(0, "G", 1, 2, 0, 0);
    ASSERT_EQ(4, o.n());
    EXPECT_EQ(1, CompareWindows(&o.r, &oczek.r));
    EXPECT_EQ("ok", CheckedChange(o, nullptr, -2));

    TestWindow p;
    WindowForDeletion(p);
    ASSERT_EQ(1, DeleteElement(&p.r.oper, &p.r.liczbaOper, 3, msg));
    ASSERT_EQ(6, p.n());
    EXPECT_EQ(kOpFixedMullion, p[3].typ);
    ExpectBounds(p[4].wypeln.ogr, 1, 3, 0, 0);
    EXPECT_EQ(2, p[5].wypeln.ogr[3]);  // the mullion above it kept its index

    // The frame takes everything with it.
    ASSERT_EQ(1, DeleteElement(&p.r.oper, &p.r.liczbaOper, 0, msg));
    EXPECT_EQ(0, p.n());
    EXPECT_EQ(nullptr, p.r.oper);
    EXPECT_EQ(0, DeleteElement(&p.r.oper, &p.r.liczbaOper, 0, msg));
}

TEST(Deletion, MuntinGoesWithItsFillingAndFailuresChangeNothing) {
    TestWindow o;
    WindowForDeletion(o);
    char msg[KV_MSG_LEN];
    for (int n = 1; n <= 2; n++) {
        KvHeapFailAt(n);
        EXPECT_EQ(0, DeleteElement(&o.r.oper, &o.r.liczbaOper, 4, msg));
        EXPECT_STREQ("Error of reallocation of uniOperRys union", msg);
        EXPECT_EQ(9, o.n());
    }
    KvHeapFailAt(0);
    ASSERT_EQ(1, DeleteElement(&o.r.oper, &o.r.liczbaOper, 4, msg));
    ASSERT_EQ(7, o.n());
    EXPECT_EQ(kOpSash, o[3].typ);
    EXPECT_EQ(kOpFixedMullion, o[4].typ);
    ExpectBounds(o[5].wypeln.ogr, 1, 4, 0, 0);
}

// Indices that point at the element itself or forward cannot make the
// cascade run for ever; they are renumbered like any other.
TEST(Deletion, DamagedIndicesEnd) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(false, 200, false, 2, 2)
      << DrawMullion(false, 100, false, 1, 0) << DrawMullion(false, 700, false, 5, -3);
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, DeleteElement(&o.r.oper, &o.r.liczbaOper, 1, msg));
    ASSERT_EQ(3, o.n());
    EXPECT_EQ(1, o[1].slupek.ogrPocz);  // was itself, still itself
    EXPECT_EQ(3, o[2].slupek.ogrPocz);  // past the end, closed up by the two removed
    EXPECT_EQ(-3, o[2].slupek.ogrKon);

    // The frame takes along even elements whose bounds nobody can read.
    o[1].typ = 9;
    ASSERT_EQ(1, DeleteElement(&o.r.oper, &o.r.liczbaOper, 0, msg));
    EXPECT_EQ(0, o.n());
}

// ---- Queries ---------------------------------------------------------------

TEST(Queries, EdgeCoordinates) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawMullion(true, 500, false, 0, 0) << SashElement(1, 0, 0, 0, 1, 0) << DrawFilling(0, "G", 2)
      << DrawMuntin(300, true, 2, 2, 3);
    ASSERT_EQ("ok", Geometria(o));
    const int32_t oczek[][4] = {
        {0, 0, 1000, 800}, {500, 500, 500, 500}, {70, 70, 470, 730}, {-1, -1, -1, -1}, {300, 300, 300, 300}};
    for (int i = 0; i < 5; i++)
        for (int s = 0; s < 4; s++)
            EXPECT_EQ(oczek[i][s], ElementEdge(i, s, o.r.oper, o.n())) << i << "," << s;
    EXPECT_EQ(-1, ElementEdge(5, 0, o.r.oper, o.n()));
    EXPECT_EQ(-1, ElementEdge(-1, 0, o.r.oper, o.n()));
    EXPECT_EQ(-1, ElementEdge(0, 4, o.r.oper, o.n()));
}

TEST(Queries, DistinctFillingsAndTheirNumbers) {
    TestWindow o;
    o << DrawFrame(1000, 800) << DrawFilling(0, "Glass", 0)  // 1
      << DrawFilling(0, " glass\t", 0)                  // 2 same as 1
      << DrawFilling(1, "GLASS", 0)                     // 3 other type
      << DrawFilling(0, "", 0)                          // 4 blank
      << DrawFilling(0, " \t ", 0)                      // 5 blank
      << DrawMullion(false, 1, false, 0, 0)             // 6
      << DrawFilling(0, "Other", 0);                    // 7
    std::vector<std::pair<std::string, int32_t>> got;
    char nazwa[kFillingNameLen];
    int32_t typ = -1;
    int32_t poz = 0;
    while (NextDistinctFilling(&poz, o.r.oper, o.n(), nazwa, &typ)) got.emplace_back(nazwa, typ);
    const std::vector<std::pair<std::string, int32_t>> oczek = {{"Glass", 0}, {"GLASS", 1}, {"Other", 0}};
    EXPECT_EQ(oczek, got);

    const int32_t numery[] = {0, 1, 1, 2, 0, 0, 0, 3};
    for (int i = 0; i < 8; i++) EXPECT_EQ(numery[i], FillingNumber(o.r.oper, o.n(), i)) << i;

    // The form with its own position: a restart begins again.
    ASSERT_EQ(1, GetDistinctFilling(1, o.r.oper, o.n(), nazwa, &typ));
    EXPECT_STREQ("Glass", nazwa);
    ASSERT_EQ(1, GetDistinctFilling(0, o.r.oper, o.n(), nazwa, &typ));
    EXPECT_STREQ("GLASS", nazwa);
    ASSERT_EQ(1, GetDistinctFilling(1, o.r.oper, o.n(), nazwa, nullptr));
    EXPECT_STREQ("Glass", nazwa);
}

TEST(Queries, FramesSashesAndWeight) {
    TestWindow o;
    EXPECT_EQ(0, FrameAndSashCount(&o.r));
    EXPECT_EQ(0, WindowWeight(&o.r, 30));
    o << DrawFrame(1000, 1500) << DrawMullion(false, 500, false, 0, 0) << SashElement(0, 0, 0, 0, 1, 0)
      << SashElement(1, 0, 1, 0, 0, 0) << DrawFilling(0, "G", 2);
    EXPECT_EQ(3, FrameAndSashCount(&o.r));

    struct {
        int32_t w, h, waga;
        int64_t kg;
    } przypadki[] = {
        {1000, 1500, 30, 45}, {1000, 1500, 31, 47},  // 46.5 rounds up
        {1000, 499, 1, 0},    {1000, 500, 1, 1},
        {999, 1001, 1, 1},    {10000, 10000, 2147483647, 214748364700LL},
        {0, 1500, 30, 0},
    };
    for (auto& p : przypadki) {
        o[0].rama.x1 = p.w;
        o[0].rama.y1 = p.h;
        EXPECT_EQ(p.kg, WindowWeight(&o.r, p.waga)) << p.w << "x" << p.h << " at " << p.waga;
    }
}

}  // namespace
