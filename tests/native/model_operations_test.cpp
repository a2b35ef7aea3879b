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
    unsigned char b[kOperBlobLen];
    memset(b, 0, sizeof b);
    PutLE(b, 0, 4);
    PutLE(b, 4, 1);
    memcpy(b + 8, "Float 4/16/4", 12);
    for (int s = 0; s < 4; s++) PutLE(b, 136 + 4 * s, 20 + s);
    uniOperRys op;
    BlobNaOperRys(b, sizeof b, &op);
    EXPECT_EQ(kOperWypeln, op.typ);
    EXPECT_EQ(1, op.wypeln.typWypeln);
    EXPECT_STREQ("Float 4/16/4", op.wypeln.nazwa);
    for (int s = 0; s < 4; s++) EXPECT_EQ(20 + s, op.wypeln.ogr[s]);

    // A muntin: the fields a mullion does not have sit where no mullion's do.
    memset(b, 0, sizeof b);
    const uint32_t pola[] = {5, 450, 1, 2, 3, 4, 25, 1};
    for (int k = 0; k < 8; k++) PutLE(b, 4 * k, pola[k]);
    BlobNaOperRys(b, sizeof b, &op);
    const strOperSzpros& m = op.szpros;
    const int32_t got[] = {(int32_t)m.typ, m.poz, m.poziomy, m.ogrPocz, m.ogrKon, m.wypeln, m.grub, m.flagi};
    for (int k = 0; k < 8; k++) EXPECT_EQ((int32_t)pola[k], got[k]) << "byte " << 4 * k;

    // And the record writes back exactly the bytes it was read from.
    unsigned char back[kOperBlobLen];
    OperRysNaBlob(&op, back);
    EXPECT_EQ(0, memcmp(b, back, sizeof b));
}

TEST(OperBlob, ShortNullAndStaleBlobs) {
    uniOperRys op;
    memset(&op, 0x5A, sizeof op);
    BlobNaOperRys(nullptr, 0, &op);
    for (size_t i = 0; i < sizeof op; i++) ASSERT_EQ(0, op.bajty[i]) << i;

    // A short blob fills the start and nothing else.
    unsigned char b[20];
    memset(b, 0, sizeof b);
    PutLE(b, 0, 0);
    PutLE(b, 12, 900);
    PutLE(b, 16, 123456);  // cut after its first byte
    memset(&op, 0x5A, sizeof op);
    BlobNaOperRys(b, 17, &op);
    EXPECT_EQ(900, op.rama.x1);
    EXPECT_EQ(123456 & 0xFF, op.rama.y1);
    EXPECT_EQ(0, op.rama.grub);

    // Derived values stored with a sash are not taken over.
    uniOperRys s = Skrzydlo(1, 0, 0);
    s.skrzydlo.zewn = strProst{1, 2, 3, 4};
    s.skrzydlo.wewnUrz = strProst{5, 6, 7, 8};
    unsigned char blob[kOperBlobLen];
    OperRysNaBlob(&s, blob);
    BlobNaOperRys(blob, sizeof blob, &op);
    EXPECT_EQ(0, op.skrzydlo.zewn.left);
    EXPECT_EQ(0, op.skrzydlo.wewnUrz.bottom);
    EXPECT_EQ(0, memcmp(op.bajty, s.bajty, 36));
}

TEST(OperBlob, UnterminatedFillingNameReadsAs127Characters) {
    uniOperRys w = Wypeln(0, "", 0);
    memset(w.wypeln.nazwa, 'G', sizeof w.wypeln.nazwa);
    char nazwa[kNazwaWypelnLen];
    EXPECT_EQ(127, DajNazweWypeln(&w.wypeln, nazwa));
    EXPECT_EQ(std::string(127, 'G'), nazwa);

    strcpy(w.wypeln.nazwa, "Short");
    EXPECT_EQ(5, DajNazweWypeln(&w.wypeln, nazwa));
    EXPECT_STREQ("Short", nazwa);
}

// ---- Operation lists -------------------------------------------------------

TEST(OperList, AppendRemoveAndOverwrite) {
    uniOperRys* lista = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    for (int i = 0; i < 4; i++) {
        uniOperRys op = Slupek(false, 100 * (i + 1), false, 0, 0);
        ASSERT_EQ(1, DodajOperRys(&lista, &n, &op, msg));
    }
    ASSERT_EQ(4, n);
    ASSERT_EQ(1, UsunOperRys(&lista, &n, 1, msg));
    ASSERT_EQ(3, n);
    EXPECT_EQ(100, lista[0].slupek.poz);
    EXPECT_EQ(300, lista[1].slupek.poz);
    EXPECT_EQ(400, lista[2].slupek.poz);

    uniOperRys r = Rama(10, 10);
    NadpiszOperRys(lista, n, 2, &r);
    EXPECT_EQ(kOperRama, lista[2].typ);
    NadpiszOperRys(lista, n, 3, &r);  // past the end: nothing
    EXPECT_EQ(0, UsunOperRys(&lista, &n, 3, msg));
    EXPECT_EQ(3, n);

    // Appending an element of the list itself while the list moves.
    ASSERT_EQ(1, DodajOperRys(&lista, &n, &lista[0], msg));
    EXPECT_EQ(100, lista[3].slupek.poz);

    while (n > 0) ASSERT_EQ(1, UsunOperRys(&lista, &n, 0, msg));
    EXPECT_EQ(nullptr, lista);
}

TEST(OperList, AllocationFailuresKeepTheList) {
    uniOperRys* lista = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    uniOperRys op = Rama(500, 500);

    KvHeapFailAt(1);
    EXPECT_EQ(0, DodajOperRys(&lista, &n, &op, msg));
    EXPECT_STREQ("Error of allocation the uniOperRys union", msg);
    EXPECT_EQ(nullptr, lista);
    EXPECT_EQ(0, n);

    ASSERT_EQ(1, DodajOperRys(&lista, &n, &op, msg));
    op = Slupek(false, 250, false, 0, 0);
    ASSERT_EQ(1, DodajOperRys(&lista, &n, &op, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, DodajOperRys(&lista, &n, &op, msg));
    EXPECT_STREQ("Error of reallocation of uniOperRys union", msg);
    EXPECT_EQ(2, n);

    op.slupek.poz = 375;
    ASSERT_EQ(1, DodajOperRys(&lista, &n, &op, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, UsunOperRys(&lista, &n, 0, msg));
    EXPECT_STREQ("Error of reallocation of uniOperRys union", msg);
    ASSERT_EQ(3, n);
    EXPECT_EQ(kOperRama, lista[0].typ);  // everything moved back into place
    EXPECT_EQ(250, lista[1].slupek.poz);
    EXPECT_EQ(375, lista[2].slupek.poz);

    uniOperRys* kopia = &op;
    int32_t nk = 7;
    KvHeapFailAt(1);
    EXPECT_EQ(0, KopiujListeOper(lista, n, &kopia, &nk, msg));
    EXPECT_STREQ("Error of allocation and copying uniOperRys union", msg);
    EXPECT_EQ(&op, kopia);
    EXPECT_EQ(7, nk);
    KvHeapFailAt(0);
    KvFree(lista);
}

// ---- One window ------------------------------------------------------------

void Wypelnij(TestOkno& o) {
    strcpy(o.r.nazProfil, "Profile");
    strcpy(o.r.uwagi, "Notes");
    o.r.cenaZReki = 123456;
    o << Rama(1000, 800) << Slupek(false, 500, false, 0, 0) << Wypeln(0, "Glass 4/16/4", 0, 0, 1, 0)
      << Wypeln(1, "Acrylic", 1, 0, 0, 0);
}

TEST(Window, CopyIsDeepAndEmptyWindowsHaveNoList) {
    TestOkno pusty;
    strOkno* kopia = nullptr;
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, KopiujOkno(&kopia, &pusty.r, msg));
    EXPECT_EQ(0, kopia->liczbaOper);
    EXPECT_EQ(nullptr, kopia->oper);
    EXPECT_EQ(1, PorownajOkna(kopia, &pusty.r));

    TestOkno o;
    Wypelnij(o);
    // Copying over an existing window releases what it held (leak-checked).
    ASSERT_EQ(1, KopiujOkno(&kopia, &o.r, msg));
    ASSERT_EQ(4, kopia->liczbaOper);
    EXPECT_NE(o.r.oper, kopia->oper);
    EXPECT_EQ(1, PorownajOkna(kopia, &o.r));
    kopia->oper[1].slupek.poz = 400;
    EXPECT_EQ(500, o[1].slupek.poz);
    EXPECT_EQ(0, PorownajOkna(kopia, &o.r));

    // A window copied onto itself stays whole.
    ASSERT_EQ(1, KopiujOkno(&kopia, kopia, msg));
    EXPECT_EQ(400, kopia->oper[1].slupek.poz);
    ZwolnijOkno(kopia);
}

TEST(Window, FailedCopyLeavesTheDestination) {
    TestOkno o;
    Wypelnij(o);
    strOkno* cel = nullptr;
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, KopiujOkno(&cel, &o.r, msg));
    strOkno* przed = cel;

    TestOkno inny;
    inny << Rama(300, 300);
    KvHeapFailAt(1);
    EXPECT_EQ(0, KopiujOkno(&cel, &inny.r, msg));
    EXPECT_STREQ("Error of allocation of strOkno structure", msg);
    KvHeapFailAt(2);
    EXPECT_EQ(0, KopiujOkno(&cel, &inny.r, msg));
    EXPECT_STREQ("Error of allocation and copying uniOperRys union", msg);
    KvHeapFailAt(0);
    EXPECT_EQ(przed, cel);
    EXPECT_EQ(1, PorownajOkna(cel, &o.r));
    ZwolnijOkno(cel);
}

// The comparison decides whether an order has unsaved changes: it must see
// every byte the user decided and nothing that a redraw recomputes.
TEST(WindowComparison, SeesEveryDefiningByteAndNoDerivedOne) {
    TestOkno a, b;
    a << Rama(1000, 800) << Slupek(false, 500, false, 0, 0) << Slupek(true, 400, true, 0, 1)
      << Skrzydlo(3, 1, 0, 0, 1, 2) << Wypeln(0, "Glass", 4) << Szpros(300, false, 4, 4, 5);
    b << Rama(1000, 800) << Slupek(false, 500, false, 0, 0) << Slupek(true, 400, true, 0, 1)
      << Skrzydlo(3, 1, 0, 0, 1, 2) << Wypeln(0, "Glass", 4) << Szpros(300, false, 4, 4, 5);
    ASSERT_EQ(1, PorownajOkna(&a.r, &b.r));

    for (int i = 0; i < a.n(); i++) {
        const int32_t def = DlugoscDefinicji(a[i].typ);
        for (int32_t k = 0; k < (int32_t)sizeof(uniOperRys); k++) {
            b[i].bajty[k] ^= 0x10;
            EXPECT_EQ(k < def ? 0 : 1, PorownajOkna(&a.r, &b.r)) << "element " << i << " byte " << k;
            b[i].bajty[k] ^= 0x10;
        }
    }

    // After the NUL of a filling name still counts.
    b[4].wypeln.nazwa[100] = 'x';
    EXPECT_EQ(0, PorownajOkna(&a.r, &b.r));
    b[4].wypeln.nazwa[100] = 0;

    // A type above 5 is never equal, even to itself.
    a[5].typ = 6;
    b[5].typ = 6;
    EXPECT_EQ(0, PorownajOkna(&a.r, &b.r));
}

TEST(WindowComparison, RecordBytesAndCounts) {
    TestOkno a, b;
    a << Rama(1000, 800);
    b << Rama(1000, 800);
    ASSERT_EQ(1, PorownajOkna(&a.r, &b.r));
    b.r.uwagi[500] = 'z';  // after the terminator
    EXPECT_EQ(0, PorownajOkna(&a.r, &b.r));
    b.r.uwagi[500] = 0;
    b.r.status = 12;
    EXPECT_EQ(0, PorownajOkna(&a.r, &b.r));
    b.r.status = a.r.status;
    b.r.cenaZReki = 1;
    EXPECT_EQ(0, PorownajOkna(&a.r, &b.r));
    b.r.cenaZReki = 0;
    b << Slupek(false, 500, false, 0, 0);
    EXPECT_EQ(0, PorownajOkna(&a.r, &b.r));
}

// ---- Windows of an order ---------------------------------------------------

TEST(WindowList, AppendReplaceRemove) {
    strOkno* okna = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    TestOkno a, b, pusty;
    Wypelnij(a);
    b << Rama(600, 600);
    strcpy(b.r.nazKolor, "B");

    ASSERT_EQ(1, DodajOkno(&okna, &n, &a.r, msg));
    ASSERT_EQ(1, DodajOkno(&okna, &n, &b.r, msg));
    ASSERT_EQ(1, DodajOkno(&okna, &n, &okna[0], msg));  // an entry of the moving array
    ASSERT_EQ(3, n);
    EXPECT_EQ(1, PorownajOkna(&okna[0], &a.r));
    EXPECT_EQ(1, PorownajOkna(&okna[1], &b.r));
    EXPECT_EQ(1, PorownajOkna(&okna[2], &a.r));
    EXPECT_NE(okna[0].oper, okna[2].oper);

    // Replace: longer list resized in place, empty list released, list given
    // to an entry that had none.
    ASSERT_EQ(1, ZastapOkno(okna, n, 1, &a.r, msg));
    EXPECT_EQ(1, PorownajOkna(&okna[1], &a.r));
    ASSERT_EQ(1, ZastapOkno(okna, n, 1, &pusty.r, msg));
    EXPECT_EQ(nullptr, okna[1].oper);
    EXPECT_EQ(0, okna[1].liczbaOper);
    ASSERT_EQ(1, ZastapOkno(okna, n, 1, &b.r, msg));
    EXPECT_EQ(1, PorownajOkna(&okna[1], &b.r));
    EXPECT_EQ(0, ZastapOkno(okna, n, 3, &b.r, msg));

    ASSERT_EQ(1, UsunOkno(&okna, &n, 0, msg));
    ASSERT_EQ(2, n);
    EXPECT_EQ(1, PorownajOkna(&okna[0], &b.r));
    EXPECT_EQ(1, PorownajOkna(&okna[1], &a.r));
    ASSERT_EQ(1, UsunOkno(&okna, &n, 1, msg));
    ASSERT_EQ(1, UsunOkno(&okna, &n, 0, msg));
    EXPECT_EQ(0, n);
    EXPECT_EQ(nullptr, okna);
    EXPECT_EQ(0, UsunOkno(&okna, &n, 0, msg));

    ASSERT_EQ(1, DodajOkno(&okna, &n, &a.r, msg));
    ASSERT_EQ(1, DodajOkno(&okna, &n, &b.r, msg));
    ZwolnijOkna(okna, n);  // leak-checked
}

TEST(WindowList, AllocationFailuresKeepThePreviousList) {
    strOkno* okna = nullptr;
    int32_t n = 0;
    char msg[KV_MSG_LEN];
    TestOkno a, b;
    Wypelnij(a);
    b << Rama(600, 600) << Slupek(false, 300, false, 0, 0);

    KvHeapFailAt(2);  // the list copy succeeds, the first array does not
    EXPECT_EQ(0, DodajOkno(&okna, &n, &a.r, msg));
    EXPECT_STREQ("Error of allocation of strOkno structure", msg);
    EXPECT_EQ(0, n);
    EXPECT_EQ(nullptr, okna);

    ASSERT_EQ(1, DodajOkno(&okna, &n, &a.r, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, DodajOkno(&okna, &n, &b.r, msg));
    EXPECT_STREQ("Error of allocation the uniOperRys union", msg);
    KvHeapFailAt(2);
    EXPECT_EQ(0, DodajOkno(&okna, &n, &b.r, msg));
    EXPECT_STREQ("Error of reallocation the strOkno structure", msg);
    ASSERT_EQ(1, n);
    EXPECT_EQ(1, PorownajOkna(&okna[0], &a.r));

    ASSERT_EQ(1, DodajOkno(&okna, &n, &b.r, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, ZastapOkno(okna, n, 1, &a.r, msg));
    EXPECT_STREQ("Error of reallocation of uniOperRys union", msg);
    EXPECT_EQ(1, PorownajOkna(&okna[1], &b.r));

    KvHeapFailAt(1);
    EXPECT_EQ(0, UsunOkno(&okna, &n, 0, msg));
    EXPECT_STREQ("Error of reallocation the strOkno structure", msg);
    ASSERT_EQ(2, n);
    EXPECT_EQ(1, PorownajOkna(&okna[0], &a.r));
    EXPECT_EQ(1, PorownajOkna(&okna[1], &b.r));
    KvHeapFailAt(0);

    // Replacing an entry that has no list allocates one.
    TestOkno pusty;
    ASSERT_EQ(1, ZastapOkno(okna, n, 0, &pusty.r, msg));
    KvHeapFailAt(1);
    EXPECT_EQ(0, ZastapOkno(okna, n, 0, &b.r, msg));
    EXPECT_STREQ("Error of allocation the uniOperRys union", msg);
    EXPECT_EQ(1, PorownajOkna(&okna[0], &pusty.r));
    KvHeapFailAt(0);
    ZwolnijOkna(okna, n);
}

// A window with every element type, saved to its blobs and read back, is the
// same window and rebuilds the same geometry.
TEST(OperBlob, RoundTripOfEveryElementType) {
    TestOkno o;
    strcpy(o.r.nazProfil, "Round trip");
    o << Rama(1500, 1400)                  // 0
      << Slupek(false, 700, false, 0, 0)   // 1 fixed, vertical
      << Slupek(true, 700, true, 1, 0)     // 2 false, horizontal right of 1
      << Skrzydlo(3, 1, 1, 0, 0, 2)        // 3 sash above 2
      << Wypeln(0, "Glass 4/16/4", 3)      // 4 in the sash
      << Szpros(1100, false, 3, 3, 4)      // 5 muntin on it
      << Wypeln(1, "Acrylic", 0, 0, 1, 0)  // 6 left of 1
      << Skrzydlo(0, 0, 1, 2, 0, 0)        // 7 fixed sash below 2
      << Wypeln(0, "glass 4/16/4 ", 7);    // 8
    o[6].wypeln.nazwa[120] = 'q';          // junk after the terminator is kept too
    o[1].slupek.flagi = kFlagaWlGrub;
    o[1].slupek.grub = 110;
    char msg[KV_MSG_LEN];
    ASSERT_EQ(1, ObliczGeometrie(o.r.oper, o.n(), 5, &o.r, msg)) << msg;

    TestOkno wczyt;
    memcpy(&wczyt.r, &o.r, offsetof(strOkno, liczbaOper));
    for (int i = 0; i < o.n(); i++) {
        unsigned char blob[kOperBlobLen];
        OperRysNaBlob(&o[i], blob);
        uniOperRys op;
        BlobNaOperRys(blob, sizeof blob, &op);
        wczyt << op;
    }
    EXPECT_EQ(1, PorownajOkna(&wczyt.r, &o.r));
    ASSERT_EQ(1, ObliczGeometrie(wczyt.r.oper, wczyt.n(), 5, &wczyt.r, msg)) << msg;
    for (int i = 0; i < o.n(); i++)
        EXPECT_EQ(0, memcmp(&o[i], &wczyt[i], sizeof(uniOperRys))) << "element " << i;
}

}  // namespace
