// Orders loaded from a database whose blobs, texts and numbers were damaged
// at random: each either loads whole or is refused with a message and an
// empty record; nothing crashes and the sanitizers stay quiet.
//
// KV_DAMAGE_RUNS (default 300) and KV_DAMAGE_SEED (default 1) set how many
// rounds of damage are tried and from which seed.
#include <gtest/gtest.h>

#include <inttypes.h>
#include <stdlib.h>
#include <string.h>

#include <random>
#include <string>

#include "db/connection.h"
#include "model/comparison.h"
#include "tests/native/order_patterns.h"
#include "tests/native/testdb.h"

class DbDamageTest : public DbTest {};

static int EnvInt(const char* name, int def) {
    const char* v = getenv(name);
    return v && *v ? atoi(v) : def;
}

namespace {

struct Uszkadzacz {
    std::mt19937 rng;
    explicit Uszkadzacz(unsigned seed) : rng(seed) {}
    int Los(int n) { return (int)(rng() % (unsigned)n); }

    std::string Blob(int len) {
        static const char* hex = "0123456789ABCDEF";
        std::string s = "X'";
        for (int i = 0; i < len; i++) {
            // Mostly small values, so damaged geometry sometimes still builds.
            unsigned b = Los(3) ? (unsigned)Los(4) : (unsigned)Los(256);
            s += hex[b >> 4];
            s += hex[b & 15];
        }
        return s + "'";
    }
    // A value of any storage class, lengths around the field's edges included.
    std::string AnyValue() {
        switch (Los(8)) {
            case 0: return "NULL";
            case 1: return Blob(Los(40));
            case 2: return Blob(150 + Los(8));
            case 3: return "printf('%." + std::to_string(Los(3000)) + "c', 'z')";
            case 4: return std::to_string((int64_t)rng() - (int64_t)rng() * 65536);
            case 5: return "'2010-13-45'";
            case 6: return "-1";
            default: return std::to_string(Los(8));
        }
    }
    // One row of the table, picked by our generator so a seed repeats a run.
    std::string Gdzie(const char* t) {
        return std::string(" WHERE rowid = (SELECT rowid FROM ") + t + " LIMIT 1 OFFSET " +
               std::to_string(Los(1000)) + " % (SELECT COUNT(*) FROM " + t + "))";
    }
    std::string Polecenie() {
        static const char* zam[] = {"idZam", "rok",    "dodOznaczZam", "dataZam",       "nazwaNabyw",
                                    "uwagi", "status", "sDaneUzytk",   "sWycenZamParam"};
        static const char* okno[] = {"kluczZam", "iSzpros", "nazProfil", "sGrubProf", "grubSzpros",
                                     "sWspUw",   "uwagi",   "status",    "cenaZReki"};
        static const char* dodat[] = {"iKolej", "nazwa", "ilWym", "jm", "wymiar", "ilosc"};
        switch (Los(9)) {
            case 0:
                return std::string("UPDATE T_Zam SET ") + zam[Los(9)] + " = " + AnyValue() + Gdzie("T_Zam");
            case 1:
                return std::string("UPDATE T_Okno SET ") + okno[Los(9)] + " = " + AnyValue() + Gdzie("T_Okno");
            case 2:
                return std::string("UPDATE T_DodatZam SET ") + dodat[Los(6)] + " = " + AnyValue() +
                       Gdzie("T_DodatZam");
            case 3: return "UPDATE T_OperRysDb SET uOperRysDb = " + AnyValue() + Gdzie("T_OperRysDb");
            case 4:
            case 5: {
                // A few bytes of one stored operation overwritten.
                int at = Los(150), n = 1 + Los(6);
                const std::string gdzie = Gdzie("T_OperRysDb");
                return "UPDATE T_OperRysDb SET uOperRysDb = substr(uOperRysDb, 1, " + std::to_string(at) +
                       ") || " + Blob(n) + " || substr(uOperRysDb, " + std::to_string(at + n + 1) + ")" +
                       gdzie;
            }
            case 6: return std::string("DELETE FROM T_OperRysDb") + Gdzie("T_OperRysDb");
            case 7: return "UPDATE T_OperRysDb SET indeks = " + AnyValue() + Gdzie("T_OperRysDb");
            default: {
                const std::string gdzie = Gdzie("T_OperRysDb");
                return "UPDATE T_OperRysDb SET kluczOkno = (SELECT kluczOkno FROM T_Okno LIMIT 1 OFFSET " +
                       std::to_string(Los(1000)) + " % (SELECT COUNT(*) FROM T_Okno))" + gdzie;
            }
        }
    }
};

}  // namespace

TEST_F(DbDamageTest, DamagedOrdersLoadWholeOrAreRefusedWithAMessage) {
    strZmienne zm{0, 2010};
    int64_t klucze[6];
    for (int i = 0; i < 6; i++) {
        strZamRob z;
        InitTestOrder(&z, i + 1, "Buyer");
        for (int j = 0; j <= i % 3; j++) {
            TestWindow o;
            if (j % 2) WindowWithPanes(o, j + i % 2, i % 2 == 0);
            else WindowWithSash(o);
            AddTestWindow(&z, o, "P", 1000);
        }
        for (int j = 0; j < i % 4; j++) AddTestAccessory(&z, j, "Accessory", j);
        ASSERT_EQ(1, SaveNewOrder(&z, &zm, msg_)) << msg_;
        klucze[i] = z.zam.kluczZam;
        FreeOrder(&z);
    }
    const int runs = EnvInt("KV_DAMAGE_RUNS", 300);
    Uszkadzacz u((unsigned)EnvInt("KV_DAMAGE_SEED", 1));
    int wczytane = 0, odrzucone = 0;
    for (int r = 0; r < runs; r++) {
        Sql("SAVEPOINT damage;");
        for (int k = 1 + u.Los(4); k > 0; k--) {
            std::string sql = u.Polecenie();
            ASSERT_EQ(1, DbExec(sql.c_str(), msg_)) << sql << "\n" << msg_;
        }
        for (int64_t klucz : klucze) {
            strZamRob z;
            memset(&z, 0x6B, sizeof z);
            msg_[0] = 0;
            if (LoadOrder(klucz, &z, msg_)) {
                wczytane++;
                // A loaded order is whole: it copies and equals its copy. The
                // model passes over operations of an unknown type and never
                // finds two of them equal, so those orders only copy.
                strZamRob kopia{};
                ASSERT_EQ(1, CopyOrder(&kopia, &z, msg_)) << msg_;
                bool znane = true;
                for (int32_t i = 0; i < z.zam.liczbaOkien; i++)
                    for (int32_t j = 0; j < z.zam.okna[i].liczbaOper; j++)
                        znane = znane && z.zam.okna[i].oper[j].typ <= kOpMuntin;
                if (znane) {
                    EXPECT_EQ(1, OrderUnchanged(&z, &kopia)) << "run " << r;
                }
                FreeOrder(&kopia);
                FreeOrder(&z);
            } else {
                odrzucone++;
                EXPECT_NE('\0', msg_[0]) << "run " << r << " key " << klucz;
                const strZamRob pusty{};
                EXPECT_EQ(0, memcmp(&pusty, &z, sizeof z)) << "run " << r;
            }
        }
        Sql("ROLLBACK TO damage; RELEASE damage;");
    }
    // Both outcomes were reached, or the damage was not damaging anything.
    EXPECT_GT(wczytane, 0);
    EXPECT_GT(odrzucone, 0);
    printf("damaged orders: %d loaded, %d refused in %d runs\n", wczytane, odrzucone, runs);
}
