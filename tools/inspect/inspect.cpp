// kelvaro-inspect. The JSON is written by hand: it has one fixed shape, and
// the tool must not depend on anything the program does not ship with.
//
// Texts are stored in the ANSI code page of the seller's Windows, which the
// tool cannot know. Bytes above 127 are therefore written as \u0080-\u00FF,
// one escape per byte: the output stays plain ASCII, always valid JSON, and
// the stored bytes can be recovered exactly.
#include "tools/inspect/inspect.h"

#include <errno.h>
#include <inttypes.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "db/accessories.h"
#include "db/connection.h"
#include "db/names.h"
#include "db/orders.h"
#include "db/server.h"
#include "db/tables.h"
#include "model/comparison.h"
#include "model/description.h"
#include "model/operations.h"
#include "model/structure.h"
#include "model/uw.h"
#include "util/heap.h"
#include "util/msgbuf.h"
#include "util/platform.h"
#include "valuation/order_list.h"
#include "valuation/price_list.h"
#include "valuation/register_csv.h"
#include "valuation/valuation.h"

namespace {

const char kUsage[] =
    "usage: kelvaro-inspect DATABASE [KEY]\n"
    "       kelvaro-inspect --check DATABASE\n"
    "       kelvaro-inspect --register-csv DATABASE [--codepage N]\n"
    "       kelvaro-inspect --lines-csv DATABASE [--codepage N]\n"
    "Prints the orders of a Quarvel database (all, or the one with order key KEY)\n"
    "as JSON, with the totals and lines as the program computes them; or, with\n"
    "--check, one line per order that does not load or whose windows fail the\n"
    "structure check; or, with --register-csv and --lines-csv, the register and\n"
    "the lines of its orders as the program exports them to CSV. \"--server CONNINFO\"\n"
    "in place of DATABASE reads the register on a server (libpq's words).\n";

class Json {
public:
    explicit Json(FILE* f) : f_(f) {}
    void Raw(const char* s) { fputs(s, f_); }
    void Str(const char* s, size_t n) {
        fputc('"', f_);
        for (size_t i = 0; i < n; i++) {
            const unsigned char c = (unsigned char)s[i];
            switch (c) {
                case '"': fputs("\\\"", f_); break;
                case '\\': fputs("\\\\", f_); break;
                case '\r': fputs("\\r", f_); break;
                case '\n': fputs("\\n", f_); break;
                case '\t': fputs("\\t", f_); break;
                default:
                    if (c < 0x20 || c >= 0x7F) fprintf(f_, "\\u%04x", c);
                    else fputc(c, f_);
            }
        }
        fputc('"', f_);
    }
    void Str(const char* s) { Str(s, strlen(s)); }
    // A fixed text field, which a damaged row may leave unterminated.
    template <size_t N>
    void Pole(const char (&f)[N]) {
        const void* nul = memchr(f, 0, N);
        Str(f, nul ? (size_t)((const char*)nul - f) : N - 1);
    }
    void MemberKey(const char* k) {
        if (!pierwszy_) fputc(',', f_);
        pierwszy_ = false;
        fprintf(f_, "\"%s\":", k);
    }
    void Int(const char* k, int64_t v) {
        MemberKey(k);
        fprintf(f_, "%" PRId64, v);
    }
    // Objects and arrays: the next member is the first of its container.
    void OpenNew(char c) {
        fputc(c, f_);
        pierwszy_ = true;
    }
    void CloseLast(char c) {
        fputc(c, f_);
        pierwszy_ = false;
    }
    void Element() {
        if (!pierwszy_) fputc(',', f_);
        pierwszy_ = false;
    }

private:
    FILE* f_;
    bool pierwszy_ = true;
};

void DrawLine(Json& j, const ValuationLine& l, bool ramy) {
    j.MemberKey("line");
    j.OpenNew('{');
    j.Int("unitNet", l.unitNet);
    j.Int("unitGross", l.unitGross);
    j.Int("lineNet", l.lineNet);
    j.Int("lineGross", l.lineGross);
    if (ramy) j.Int("frameLength", l.dlugoscRam);
    j.CloseLast('}');
}

// The database's price list, read once before the orders.
PriceList g_cennik;

// What the designer's "Price list:" line says of the window.
void Cennik(Json& j, const strOkno& o) {
    PriceSuggestion s;
    j.MemberKey("price_list");
    if (SuggestWindowPrice(&o, g_cennik, &s)) {
        char num[32];
        snprintf(num, sizeof num, "%" PRId64, s.net);
        j.Raw(num);
    } else {
        j.Raw("null");
    }
    j.MemberKey("price_list_missing");
    j.OpenNew('[');
    for (const std::string& m : s.missing) {
        j.Element();
        j.Str(m.c_str());
    }
    j.CloseLast(']');
}

void Okno(Json& j, const strZamRob* z, int32_t i) {
    const strOkno& o = z->zam.okna[i];
    const bool rama = o.oper && o.liczbaOper > 0 && o.oper[0].typ == kOpFrame;
    j.Element();
    j.OpenNew('{');
    j.Int("kluczOkno", o.kluczOkno);
    j.Int("width", rama ? o.oper[0].rama.x1 : 0);
    j.Int("height", rama ? o.oper[0].rama.y1 : 0);
    j.Int("quantity", o.ilOkien);
    j.Int("uw", WindowUw(&o));
    j.Int("weight", WindowWeight(&o, z->zam.waga));
    // Room for the fixed lines and every filling's line, names at full width.
    std::vector<char> opis(1024 + (size_t)(o.liczbaOper > 0 ? o.liczbaOper : 0) * 160);
    opis[0] = 0;
    DescribeWindow(&z->zam, i, opis.data(), (int32_t)opis.size());
    j.MemberKey("description");
    j.Str(opis.data());
    ValuationLine l{};
    WindowLine(&l, z, &o, 15);
    DrawLine(j, l, true);
    Cennik(j, o);
    j.CloseLast('}');
}

void Zamowienie(Json& j, const strZamRob* z) {
    const strZam& r = z->zam;
    const strSumyZam& s = z->sumy;
    j.Element();
    j.OpenNew('{');
    j.Int("kluczZam", r.kluczZam);
    j.Int("idZam", r.idZam);
    j.Int("rok", r.rok);
    // As SQL_ZLOZ_NR_ZAM composes it.
    char skrot[sizeof r.sDaneUzytk.skrot];
    memcpy(skrot, r.sDaneUzytk.skrot, sizeof skrot);
    skrot[sizeof skrot - 1] = 0;
    char numer[64];
    snprintf(numer, sizeof numer, "%d-%s-%4d", (int)r.idZam, skrot, (int)r.rok);
    kvplat::UpperCaseAnsi(numer);
    j.MemberKey("number");
    j.Str(numer);
    j.Int("status", r.status);
    j.MemberKey("currency");
    j.Str(CurrencyCode(r.idWalZam));

    j.MemberKey("totals");
    j.OpenNew('{');
    j.Int("windowsNet", s.oknaNetto);
    j.Int("windowsGross", s.oknaBrutto);
    j.Int("windowsNetAfterDiscount", s.oknaNettoRabat);
    j.Int("windowsGrossAfterDiscount", s.oknaBruttoRabat);
    j.Int("accessoriesNet", s.dodatNetto);
    j.Int("accessoriesGross", s.dodatBrutto);
    j.Int("accessoriesNetAfterDiscount", s.dodatNettoRabat);
    j.Int("accessoriesGrossAfterDiscount", s.dodatBruttoRabat);
    j.Int("assemblyNet", s.montNetto);
    j.Int("assemblyGross", s.montBrutto);
    j.Int("disassemblyNet", s.demontNetto);
    j.Int("disassemblyGross", s.demontBrutto);
    j.Int("frameLength", s.dlugoscRam);
    j.Int("orderNet", s.zamNetto);
    j.Int("orderGross", s.zamBrutto);
    j.CloseLast('}');

    j.MemberKey("windows");
    j.OpenNew('[');
    for (int32_t i = 0; r.okna && i < r.liczbaOkien; i++) Okno(j, z, i);
    j.CloseLast(']');

    j.MemberKey("accessories");
    j.OpenNew('[');
    for (int32_t i = 0; r.dodatki && i < r.liczbaDodat; i++) {
        const strDodatZam& d = r.dodatki[i];
        j.Element();
        j.OpenNew('{');
        j.MemberKey("nazwa");
        j.Pole(d.nazwa);
        int64_t size = 0;
        if (ComputeAccessorySize(&d, &size)) {
            j.Int("size", size);
        } else {
            j.MemberKey("size");  // dimensions whose size no 64-bit number holds
            j.Raw("null");
        }
        ValuationLine l{};
        AccessoryLine(&l, z, &d, 15);
        DrawLine(j, l, false);
        j.CloseLast('}');
    }
    j.CloseLast(']');
    j.CloseLast('}');
}

bool WriteOrder(const strZamRob* z, void* ctx) {
    Zamowienie(*(Json*)ctx, z);
    return true;
}

// A key: decimal digits with an optional sign, nothing else, within 64 bits.
bool ParseKey(const char* s, int64_t* klucz) {
    if (!*s) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = strtoll(s, &end, 10);
    if (errno || *end || !((*s >= '0' && *s <= '9') || *s == '-' || *s == '+')) return false;
    *klucz = (int64_t)v;
    return true;
}

// One line per order; line breaks of a message become "; ".
void Zgloszenie(FILE* out, int64_t klucz, const char* tekst) {
    fprintf(out, "%" PRId64 ": ", klucz);
    for (const char* p = tekst; *p; p++) {
        if (p[0] == '\r' && p[1] == '\n') {
            fputs("; ", out);
            p++;
        } else if (*p == '\r' || *p == '\n') {
            fputs("; ", out);
        } else {
            fputc(*p, out);
        }
    }
    fputc('\n', out);
}

// Every window rebuilt and put through the change check with no change.
bool CheckWindows(const strZamRob* z, char* msg) {
    for (int32_t i = 0; z->zam.okna && i < z->zam.liczbaOkien; i++) {
        const strOkno& o = z->zam.okna[i];
        char m[KV_MSG_LEN] = "";
        const int32_t format = StructureFormat(o.status);
        bool ok = ComputeGeometry(o.oper, o.liczbaOper, format, &o, m) &&
                  CheckChange(o.oper, o.liczbaOper, nullptr, -2, format, m);
        if (!ok) {
            KvMsg(msg, "window %d (key %" PRId64 "): %s", (int)(i + 1), o.kluczOkno, m);
            return false;
        }
    }
    return true;
}

int RunCheck(FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    // One snapshot and one file lock for the whole check.
    DbReadTransaction odczyt("SprawdzenieSq", nullptr);
    std::vector<int64_t> klucze;
    auto zbierz = [](int64_t k, void* ctx, char*) {
        ((std::vector<int64_t>*)ctx)->push_back(k);
        return (int)kDbWalkNext;
    };
    if (!DbWalkOrderKeys(0, zbierz, &klucze, msg)) {
        std::string t = msg;
        for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, ": ");
        fprintf(err, "kelvaro-inspect: %s\n", t.c_str());
        return 2;
    }
    int wynik = 0;
    for (int64_t k : klucze) {
        strZamRob z;
        if (!LoadOrder(k, &z, msg)) {
            Zgloszenie(out, k, msg);
            wynik = 1;
            continue;
        }
        if (!CheckWindows(&z, msg)) {
            Zgloszenie(out, k, msg);
            wynik = 1;
        }
        FreeAndZeroOrder(&z);
    }
    return wynik;
}

int Wypisz(FILE* out, FILE* err, bool jedno, int64_t klucz) {
    char msg[KV_MSG_LEN];
    if (!LoadStoredPriceList(&g_cennik, msg)) {
        std::string t = msg;
        for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "; ");
        fprintf(err, "kelvaro-inspect: price list: %s\n", t.c_str());
        return 2;
    }
    Json j(out);
    if (jedno) {
        strZamRob z;
        if (!LoadOrder(klucz, &z, msg)) {
            fputs("kelvaro-inspect: ", err);
            Zgloszenie(err, klucz, msg);
            return 2;
        }
        RecomputeOrder(&z, kRecomputeAll);
        j.Raw("{\"orders\":");
        j.OpenNew('[');
        Zamowienie(j, &z);
        FreeAndZeroOrder(&z);
        j.CloseLast(']');
        j.Raw("}\n");
        return 0;
    }
    // The whole register goes to a buffer first: a failure half-way must
    // not leave half a document on standard output.
    FILE* mem = tmpfile();
    if (!mem) {
        fprintf(err, "kelvaro-inspect: cannot make a temporary file\n");
        return 2;
    }
    Json jm(mem);
    jm.Raw("{\"orders\":");
    jm.OpenNew('[');
    const int ok = ListOrders(0, WriteOrder, &jm, msg);
    jm.CloseLast(']');
    jm.Raw("}\n");
    if (!ok) {
        fclose(mem);
        std::string t = msg;
        fputs("kelvaro-inspect: ", err);
        for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "; ");
        fprintf(err, "%s\n", t.c_str());
        return 2;
    }
    rewind(mem);
    char blok[65536];
    size_t n;
    while ((n = fread(blok, 1, sizeof blok, mem)) > 0) fwrite(blok, 1, n, out);
    fclose(mem);
    return 0;
}

#ifdef _WIN32
const int kDefaultAnsiPage = 0;  // the system's ANSI code page
#else
const int kDefaultAnsiPage = 1252;
#endif

// --register-csv and --lines-csv: the file the program's export writes for
// the filter "All".
int Csv(bool rejestr, int strona, FILE* out, FILE* err) {
    char msg[KV_MSG_LEN];
    CsvTextForm forma;
    strUstUzytk ust;
    std::string tekst;
    const bool ok =
        UserCsvForm(strona, &forma, msg) && (!rejestr || ReadUserSettings(&ust, msg)) &&
        (rejestr ? RegisterCsv(0, ust, forma, &tekst, msg) : OrderLinesCsv(0, forma, &tekst, msg));
    if (!ok) {
        std::string t = msg;
        for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "; ");
        fprintf(err, "kelvaro-inspect: %s\n", t.c_str());
        return 2;
    }
    fwrite(tekst.data(), 1, tekst.size(), out);
    return 0;
}

}  // namespace

int InspectMain(int argc, char** argv, FILE* out, FILE* err) {
    // "--server CONNINFO" stands where the database file would.
    const bool server = DbTakeServerOption(&argc, argv);
    bool sprawdz = false;
    int csv = 0;  // 1 the register, 2 the order lines
    int strona = kDefaultAnsiPage;
    if ((argc == 3 || argc == 5) &&
        (strcmp(argv[1], "--register-csv") == 0 || strcmp(argv[1], "--lines-csv") == 0)) {
        csv = strcmp(argv[1], "--register-csv") == 0 ? 1 : 2;
        if (argc == 5) {
            char* koniec = nullptr;
            const long n = strtol(argv[4], &koniec, 10);
            if (strcmp(argv[3], "--codepage") != 0 || !*argv[4] || *koniec || n <= 0 || n > 65535) {
                fputs(kUsage, err);
                return 2;
            }
            strona = (int)n;
        }
        argc = 3;
    }
    const char* baza = nullptr;
    const char* kluczTekst = nullptr;
    if (csv) {
        baza = argv[2];
    } else if (argc == 3 && strcmp(argv[1], "--check") == 0) {
        sprawdz = true;
        baza = argv[2];
    } else if ((argc == 2 || argc == 3) && argv[1][0] != '-') {
        baza = argv[1];
        if (argc == 3) kluczTekst = argv[2];
    } else {
        fputs(kUsage, err);
        return 2;
    }
    int64_t klucz = 0;
    if (kluczTekst && !ParseKey(kluczTekst, &klucz)) {
        fprintf(err, "kelvaro-inspect: not an order key: %s\n", kluczTekst);
        return 2;
    }
    char msg[KV_MSG_LEN];
    if (!DbOpenFileOrServer(baza, server, msg) || !DbRegisterFunctions(msg)) {
        DbClose();
        std::string t = msg;
        for (size_t p; (p = t.find("\r\n")) != std::string::npos;) t.replace(p, 2, "; ");
        fprintf(err, "kelvaro-inspect: %s\n", t.c_str());
        return 2;
    }
    const int wynik = csv       ? Csv(csv == 1, strona, out, err)
                      : sprawdz ? RunCheck(out, err)
                                : Wypisz(out, err, kluczTekst != nullptr, klucz);
    DbClose();
    fflush(out);
    return wynik;
}
