// Operation records, their stored form and the window containers.
#include <gtest/gtest.h>

#include <string.h>

#include <string>

#include "model/structure.h"
#include "tests/native/sample_windows.h"
#include "util/msgbuf.h"

namespace {

void PutLE(unsigned char* b, int at, uint32_t v) {
    for (int i = 0; i < 4; i++) b[at + i] = (unsigned char)(v >> (8 * i));
}

// Stored blobs written byte by byte as the file format has them; a change of
// field order, width or byte order breaks every database already saved.
TEST(OperBlob, FieldsSitAtTheirStoredOffsets) {
    unsigned char b[kOpBlobLen];
    memset(b, 0, sizeof b);
    PutLE(b, 0, 4);
    PutLE(b, 4, 1);
    memcpy(b + 8, "Float 4/16/4", 12);
    for (int s = 0; s < 4; s++) PutLE(b, 136 + 4 * s, 20 + s);
    uniOperRys op;
    BlobToDrawOp(b, sizeof b, &op);
    EXPECT_EQ(kOpFilling, op.typ);
    EXPECT_EQ(1, op.wypeln.typWypeln);
    EXPECT_STREQ("Float 4/16/4", op.wypeln.nazwa);
    for (int s = 0; s < 4; s++) EXPECT_EQ(20 + s, op.wypeln.ogr[s]);

    // A muntin: the fields a mullion does not have sit where no mullion's do.
    memset(b, 0, sizeof b);
    const uint32_t pola[] = {5, 450, 1, 2, 3, 4, 25, 1};
    for (int k = 0; k < 8; k++) PutLE(b, 4 * k, pola[k]);
    BlobToDrawOp(b, sizeof b, &op);
    const strOperSzpros& m = op.szpros;
    const int32_t got[] = {(int32_t)m.typ, m.poz, m.poziomy, m.ogrPocz, m.ogrKon, m.wypeln, m.grub, m.flagi};
    for (int k = 0; k < 8; k++) EXPECT_EQ((int32_t)pola[k], got[k]) << "byte " << 4 * k;

    // And the record writes back exactly the bytes it was read from.
    unsigned char back[kOpBlobLen];
    DrawOpToBlob(&op, back);
    EXPECT_EQ(0, memcmp(b, back, sizeof b));
}

TEST(OperBlob, ShortNullAndStaleBlobs) {
    uniOperRys op;
    memset(&op, 0x5A, sizeof op);
    BlobToDrawOp(nullptr, 0, &op);
    for (size_t i = 0; i < sizeof op; i++) ASSERT_EQ(0, op.rawBytes[i]) << i;

    // A short blob fills the start and nothing else.
    unsigned char b[20];
    memset(b, 0, sizeof b);
    PutLE(b, 0, 0);
    PutLE(b, 12, 900);
    PutLE(b, 16, 123456);  // cut after its first byte
    memset(&op, 0x5A, sizeof op);
    BlobToDrawOp(b, 17, &op);
    EXPECT_EQ(900, op.rama.x1);
    EXPECT_EQ(123456 & 0xFF, op.rama.y1);
    EXPECT_EQ(0, op.rama.grub);

    // Derived values stored with a sash are not taken over.
    uniOperRys s = SashElement(1, 0, 0);
    s.skrzydlo.zewn = strProst{1, 2, 3, 4};
    s.skrzydlo.wewnUrz = strProst{5, 6, 7, 8};
    unsigned char blob[kOpBlobLen];
    DrawOpToBlob(&s, blob);
    BlobToDrawOp(blob, sizeof blob, &op);
    EXPECT_EQ(0, op.skrzydlo.zewn.left);
    EXPECT_EQ(0, op.skrzydlo.wewnUrz.bottom);
    EXPECT_EQ(0, memcmp(op.rawBytes, s.rawBytes, 36));
}

TEST(OperBlob, UnterminatedFillingNameReadsAs127Characters) {
    uniOperRys w = DrawFilling(0, "", 0);
    memset(w.wypeln.nazwa, 'G', sizeof w.wypeln.nazwa);
    char nazwa[kFillingNameLen];
    EXPECT_EQ(127, GetFillingName(&w.wypeln, nazwa));
    EXPECT_EQ(std::string(127, 'G'), nazwa);

    strcpy(w.wypeln.nazwa, "Short");
    EXPECT_EQ(5, GetFillingName(&w.wypeln, nazwa));
    EXPECT_STREQ("Short", nazwa);
}

// ---- Operation lists -------------------------------------------------------

TEST(OperList, AppendRemoveAndOverwrite) {
    uniOperRys* lista = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    for (int i = 0; i < 4; i++) {
        uniOperRys op = DrawMullion(false, 100 * (i + 1), false, 0, 0);
        ASSERT_EQ(1, AddDrawOp(&lista, &n, &op, msg));
    }
    ASSERT_EQ(4, n);
    ASSERT_EQ(1, DeleteDrawOp(&lista, &n, 1, msg));
    ASSERT_EQ(3, n);
    EXPECT_EQ(100, lista[0].slupek.poz);
    EXPECT_EQ(300, lista[1].slupek.poz);
    EXPECT_EQ(400, lista[2].slupek.poz);

    uniOperRys r = DrawFrame(10, 10);
    OverwriteDrawOp(lista, n, 2, &r);
    EXPECT_EQ(kOpFrame, lista[2].typ);
    OverwriteDrawOp(lista, n, 3, &r);  // past the end: nothing
    EXPECT_EQ(0, DeleteDrawOp(&lista, &n, 3, msg));
    EXPECT_EQ(3, n);

    // Appending an element of the list itself while the list moves.
    ASSERT_EQ(1, AddDrawOp(&lista, &n, &lista[0], msg));
    EXPECT_EQ(100, lista[3].slupek.poz);

    while (n > 0) ASSERT_EQ(1, DeleteDrawOp(&lista, &n, 0, msg));
    EXPECT_EQ(nullptr, lista);
}

TEST(OperList, AllocationFailuresKeepTheList) {
    uniOperRys* lista = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    uniOperRys op = DrawFrame(500, 500);

    KvHeapFailAt(1);
    EXPECT_EQ(0, AddDrawOp(&lista, &n, &op, msg));
    EXPECT_STREQ("Error of allocation the uniOperRys union", msg);
    EXPECT_EQ(nullptr, lista);
    EXPECT_EQ(0, n);

    ASSERT_EQ(1, AddDrawOp(&lista, &n, &op, msg));
    op = DrawMullion(false, 250, false, 0, 0);
    ASSERT_EQ(1, AddDrawOp(&lista, &n, &op, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, AddDrawOp(&lista, &n, &op, msg));
    EXPECT_STREQ("Error of reallocation of uniOperRys union", msg);
    EXPECT_EQ(2, n);

    op.slupek.poz = 375;
    ASSERT_EQ(1, AddDrawOp(&lista, &n, &op, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, DeleteDrawOp(&lista, &n, 0, msg));
    EXPECT_STREQ("Error of reallocation of uniOperRys union", msg);
    ASSERT_EQ(3, n);
    EXPECT_EQ(kOpFrame, lista[0].typ);  // everything moved back into place
    EXPECT_EQ(250, lista[1].slupek.poz);
    EXPECT_EQ(375, lista[2].slupek.poz);

    uniOperRys* kopia = &op;
    int32_t nk = 7;
    KvHeapFailAt(1);
    EXPECT_EQ(0, CopyOpList(lista, n, &kopia, &nk, msg));
    EXPECT_STREQ("Error of allocation and copying uniOperRys union", msg);
    EXPECT_EQ(&op, kopia);
    EXPECT_EQ(7, nk);
    KvHeapFailAt(0);
    KvFree(lista);
}

// ---- One window ------------------------------------------------------------

void FillWindow(TestWindow& o) {
    strcpy(o.r.nazProfil, "Profile");
    strcpy(o.r.uwagi, "Notes");
    o.r.cenaZReki = 123456;
    o << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawFilling(0, "Glass 4/16/4", 0, 0, 1, 0)
      << DrawFilling(1, "Acrylic", 1, 0, 0, 0);
}

TEST(Window, CopyIsDeepAndEmptyWindowsHaveNoList) {
    TestWindow pusty;
    strOkno* kopia = nullptr;
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, CopyWindow(&kopia, &pusty.r, msg));
    EXPECT_EQ(0, kopia->liczbaOper);
    EXPECT_EQ(nullptr, kopia->oper);
    EXPECT_EQ(1, CompareWindows(kopia, &pusty.r));

    TestWindow o;
    FillWindow(o);
    // Copying over an existing window releases what it held (leak-checked).
    ASSERT_EQ(1, CopyWindow(&kopia, &o.r, msg));
    ASSERT_EQ(4, kopia->liczbaOper);
    EXPECT_NE(o.r.oper, kopia->oper);
    EXPECT_EQ(1, CompareWindows(kopia, &o.r));
    kopia->oper[1].slupek.poz = 400;
    EXPECT_EQ(500, o[1].slupek.poz);
    EXPECT_EQ(0, CompareWindows(kopia, &o.r));

    // A window copied onto itself stays whole.
    ASSERT_EQ(1, CopyWindow(&kopia, kopia, msg));
    EXPECT_EQ(400, kopia->oper[1].slupek.poz);
    FreeWindow(kopia);
}

TEST(Window, FailedCopyLeavesTheDestination) {
    TestWindow o;
    FillWindow(o);
    strOkno* cel = nullptr;
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, CopyWindow(&cel, &o.r, msg));
    strOkno* przed = cel;

    TestWindow inny;
    inny << DrawFrame(300, 300);
    KvHeapFailAt(1);
    EXPECT_EQ(0, CopyWindow(&cel, &inny.r, msg));
    EXPECT_STREQ("Error of allocation of strOkno structure", msg);
    KvHeapFailAt(2);
    EXPECT_EQ(0, CopyWindow(&cel, &inny.r, msg));
    EXPECT_STREQ("Error of allocation and copying uniOperRys union", msg);
    KvHeapFailAt(0);
    EXPECT_EQ(przed, cel);
    EXPECT_EQ(1, CompareWindows(cel, &o.r));
    FreeWindow(cel);
}

// The comparison decides whether an order has unsaved changes: it must see
// every byte the user decided and nothing that a redraw recomputes.
TEST(WindowComparison, SeesEveryDefiningByteAndNoDerivedOne) {
    TestWindow a, b;
    a << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(true, 400, true, 0, 1)
      << SashElement(3, 1, 0, 0, 1, 2) << DrawFilling(0, "Glass", 4) << DrawMuntin(300, false, 4, 4, 5);
    b << DrawFrame(1000, 800) << DrawMullion(false, 500, false, 0, 0) << DrawMullion(true, 400, true, 0, 1)
      << SashElement(3, 1, 0, 0, 1, 2) << DrawFilling(0, "Glass", 4) << DrawMuntin(300, false, 4, 4, 5);
    ASSERT_EQ(1, CompareWindows(&a.r, &b.r));

    for (int i = 0; i < a.n(); i++) {
        const int32_t def = DefinitionLength(a[i].typ);
        for (int32_t k = 0; k < (int32_t)sizeof(uniOperRys); k++) {
            b[i].rawBytes[k] ^= 0x10;
            EXPECT_EQ(k < def ? 0 : 1, CompareWindows(&a.r, &b.r)) << "element " << i << " byte " << k;
            b[i].rawBytes[k] ^= 0x10;
        }
    }

    // After the NUL of a filling name still counts.
    b[4].wypeln.nazwa[100] = 'x';
    EXPECT_EQ(0, CompareWindows(&a.r, &b.r));
    b[4].wypeln.nazwa[100] = 0;

    // A type above 5 is never equal, even to itself.
    a[5].typ = 6;
    b[5].typ = 6;
    EXPECT_EQ(0, CompareWindows(&a.r, &b.r));
}

TEST(WindowComparison, RecordBytesAndCounts) {
    TestWindow a, b;
    a << DrawFrame(1000, 800);
    b << DrawFrame(1000, 800);
    ASSERT_EQ(1, CompareWindows(&a.r, &b.r));
    b.r.uwagi[500] = 'z';  // after the terminator
    EXPECT_EQ(0, CompareWindows(&a.r, &b.r));
    b.r.uwagi[500] = 0;
    b.r.status = 12;
    EXPECT_EQ(0, CompareWindows(&a.r, &b.r));
    b.r.status = a.r.status;
    b.r.cenaZReki = 1;
    EXPECT_EQ(0, CompareWindows(&a.r, &b.r));
    b.r.cenaZReki = 0;
    b << DrawMullion(false, 500, false, 0, 0);
    EXPECT_EQ(0, CompareWindows(&a.r, &b.r));
}

// ---- Windows of an order ---------------------------------------------------

TEST(WindowList, AppendReplaceRemove) {
    strOkno* okna = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    TestWindow a, b, pusty;
    FillWindow(a);
    b << DrawFrame(600, 600);
    strcpy(b.r.nazKolor, "B");

    ASSERT_EQ(1, AddWindow(&okna, &n, &a.r, msg));
    ASSERT_EQ(1, AddWindow(&okna, &n, &b.r, msg));
    ASSERT_EQ(1, AddWindow(&okna, &n, &okna[0], msg));  // an entry of the moving array
    ASSERT_EQ(3, n);
    EXPECT_EQ(1, CompareWindows(&okna[0], &a.r));
    EXPECT_EQ(1, CompareWindows(&okna[1], &b.r));
    EXPECT_EQ(1, CompareWindows(&okna[2], &a.r));
    EXPECT_NE(okna[0].oper, okna[2].oper);

    // Replace: longer list resized in place, empty list released, list given
    // to an entry that had none.
    ASSERT_EQ(1, ReplaceWindow(okna, n, 1, &a.r, msg));
    EXPECT_EQ(1, CompareWindows(&okna[1], &a.r));
    ASSERT_EQ(1, ReplaceWindow(okna, n, 1, &pusty.r, msg));
    EXPECT_EQ(nullptr, okna[1].oper);
    EXPECT_EQ(0, okna[1].liczbaOper);
    ASSERT_EQ(1, ReplaceWindow(okna, n, 1, &b.r, msg));
    EXPECT_EQ(1, CompareWindows(&okna[1], &b.r));
    EXPECT_EQ(0, ReplaceWindow(okna, n, 3, &b.r, msg));

    ASSERT_EQ(1, DeleteWindow(&okna, &n, 0, msg));
    ASSERT_EQ(2, n);
    EXPECT_EQ(1, CompareWindows(&okna[0], &b.r));
    EXPECT_EQ(1, CompareWindows(&okna[1], &a.r));
    ASSERT_EQ(1, DeleteWindow(&okna, &n, 1, msg));
    ASSERT_EQ(1, DeleteWindow(&okna, &n, 0, msg));
    EXPECT_EQ(0, n);
    EXPECT_EQ(nullptr, okna);
    EXPECT_EQ(0, DeleteWindow(&okna, &n, 0, msg));

    ASSERT_EQ(1, AddWindow(&okna, &n, &a.r, msg));
    ASSERT_EQ(1, AddWindow(&okna, &n, &b.r, msg));
    FreeWindows(okna, n);  // leak-checked
}

TEST(WindowList, AllocationFailuresKeepThePreviousList) {
    strOkno* okna = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    TestWindow a, b;
    FillWindow(a);
    b << DrawFrame(600, 600) << DrawMullion(false, 300, false, 0, 0);

    KvHeapFailAt(2);  // the list copy succeeds, the first array does not
    EXPECT_EQ(0, AddWindow(&okna, &n, &a.r, msg));
    EXPECT_STREQ("Error of allocation of strOkno structure", msg);
    EXPECT_EQ(0, n);
    EXPECT_EQ(nullptr, okna);

    ASSERT_EQ(1, AddWindow(&okna, &n, &a.r, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, AddWindow(&okna, &n, &b.r, msg));
    EXPECT_STREQ("Error of allocation the uniOperRys union", msg);
    KvHeapFailAt(2);
    EXPECT_EQ(0, AddWindow(&okna, &n, &b.r, msg));
    EXPECT_STREQ("Error of reallocation the strOkno structure", msg);
    ASSERT_EQ(1, n);
    EXPECT_EQ(1, CompareWindows(&okna[0], &a.r));

    ASSERT_EQ(1, AddWindow(&okna, &n, &b.r, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, ReplaceWindow(okna, n, 1, &a.r, msg));
    EXPECT_STREQ("Error of reallocation of uniOperRys union", msg);
    EXPECT_EQ(1, CompareWindows(&okna[1], &b.r));

    KvHeapFailAt(1);
    EXPECT_EQ(0, DeleteWindow(&okna, &n, 0, msg));
    EXPECT_STREQ("Error of reallocation the strOkno structure", msg);
    ASSERT_EQ(2, n);
    EXPECT_EQ(1, CompareWindows(&okna[0], &a.r));
    EXPECT_EQ(1, CompareWindows(&okna[1], &b.r));
    KvHeapFailAt(0);

    // Replacing an entry that has no list allocates one.
    TestWindow pusty;
    ASSERT_EQ(1, ReplaceWindow(okna, n, 0, &pusty.r, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, ReplaceWindow(okna, n, 0, &b.r, msg));
    EXPECT_STREQ("Error of allocation the uniOperRys union", msg);
    EXPECT_EQ(1, CompareWindows(&okna[0], &pusty.r));
    KvHeapFailAt(0);
    FreeWindows(okna, n);
}

// A window with every element type, saved to its blobs and read back, is the
// same window and rebuilds the same geometry.
TEST(OperBlob, RoundTripOfEveryElementType) {
    TestWindow o;
    strcpy(o.r.nazProfil, "Round trip");
    o << DrawFrame(1500, 1400)                  // 0
      << DrawMullion(false, 700, false, 0, 0)   // 1 fixed, vertical
      << DrawMullion(true, 700, true, 1, 0)     // 2 false, horizontal right of 1
      << SashElement(3, 1, 1, 0, 0, 2)        // 3 sash above 2
      << DrawFilling(0, "Glass 4/16/4", 3)      // 4 in the sash
      << DrawMuntin(1100, false, 3, 3, 4)      // 5 muntin on it
      << DrawFilling(1, "Acrylic", 0, 0, 1, 0)  // 6 left of 1
      << SashElement(0, 0, 1, 2, 0, 0)        // 7 fixed sash below 2
      << DrawFilling(0, "glass 4/16/4 ", 7);    // 8
    o[6].wypeln.nazwa[120] = 'q';          // junk after the terminator is kept too
    o[1].slupek.flagi = kFlagOwnThickness;
    o[1].slupek.grub = 110;
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, ComputeGeometry(o.r.oper, o.n(), 5, &o.r, msg)) << msg;

    TestWindow wczyt;
    memcpy(&wczyt.r, &o.r, offsetof(strOkno, liczbaOper));
    for (int i = 0; i < o.n(); i++) {
        unsigned char blob[kOpBlobLen];
        DrawOpToBlob(&o[i], blob);
        uniOperRys op;
        BlobToDrawOp(blob, sizeof blob, &op);
        wczyt << op;
    }
    EXPECT_EQ(1, CompareWindows(&wczyt.r, &o.r));
    ASSERT_EQ(1, ComputeGeometry(wczyt.r.oper, wczyt.n(), 5, &wczyt.r, msg)) << msg;
    for (int i = 0; i < o.n(); i++)
        EXPECT_EQ(0, memcmp(&o[i], &wczyt[i], sizeof(uniOperRys))) << "element " << i;
}

}  // namespace
