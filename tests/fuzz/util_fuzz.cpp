// libFuzzer target over the text readers of the utility library. Every
// input is copied into a heap block of exactly its size, so the address
// sanitizer catches a read one byte past the end; the properties checked
// are ones that hold for any input.
#include <stddef.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "util/kvutil.h"
#include "util/platform.h"

static void Check(bool ok, const char* what) {
    if (!ok) {
        fprintf(stderr, "property failed: %s\n", what);
        abort();
    }
}

static const kvplat::TestLocale kLocales[] = {
    {",", " ", "-", "3;0", 2, 1, 1, "dd.MM.yyyy", "HH:mm:ss"},
    {".", ",", "-", "3;0", 2, 1, 1, "M/d/yyyy", "h:mm:ss tt"},
    {".", "", "-", "3", 3, 0, 3, "yyyy-MM-dd", "HH:mm"},  // one character for both marks
    {",", ".", "--", "3;2;0", 0, 1, 0, "d.M.yy", "H:m:s"},
};

static void Readers(const char* text) {
    int64_t readers[] = {NapNaLLX100(text), DajKwotaGrZNap(text), DajKwotaGrZNapSepTys(text)};
    for (int64_t v : readers) {
        Check(v != INT64_MIN, "a reader gave -2^63");
        char plain[KV_AMOUNT_LEN];
        int n = LLX100NaNap(v, plain);
        Check(n == (int)strlen(plain) + 1 && n <= KV_AMOUNT_LEN, "plain amount length");
        Check(NapNaLLX100(plain) == v, "amount read back");
        char grouped[64];
        if (DajNapKwotaZlSepTys(v, grouped, (int)sizeof grouped) > 0) {
            Check(DajKwotaGrZNapSepTys(grouped) == v || DajSepTysLocale() == DajSepDziesLocale(),
                  "grouped amount read back");
        }
    }
    int64_t rates[] = {NapNaLLX10000(text), DajKursWalGrZNap(text), DajKursWalGrZNapSepTys(text)};
    for (int64_t v : rates) {
        Check(v != INT64_MIN, "a rate reader gave -2^63");
        char plain[KV_AMOUNT_LEN];
        LLX10000NaNap(v, plain);
        Check(NapNaLLX10000(plain) == v, "rate read back");
    }
}

static void Adjust(const std::string& s, int n, const char* allowed) {
    std::vector<char> buf(s.begin(), s.end());
    buf.resize(s.size() + (size_t)n + 2, 0);
    DopasujCzDzies(buf.data(), n, allowed);
    std::string once = buf.data();
    // A second pass finds nothing more to do, as long as the text has one
    // separator at most (with more, each pass works on the last one left).
    if (std::count(s.begin(), s.end(), DajSepDziesLocale()) <= 1) {
        Check(DopasujCzDzies(buf.data(), n, allowed) == 0 && once == buf.data(),
              "decimal adjustment settles");
    }
}

static void Dates(const char* text) {
    KvTime t;
    if (TstDataNap(text)) {
        NapNaStData(text, &t);
        char back[KV_DATA_LEN];
        Check(strcmp(StDataNaNap(&t, back), text) == 0, "date text read back");
    }
    if (TstCzasNap(text)) {
        NapNaStCzas(text, &t);
        char back[KV_DATE_TIME_LEN];
        Check(TstCzasNap(StCzasNaNap(&t, back)) == 1, "date-time text read back");
    }
    NapNaStData(text, &t);
    NapNaStCzas(text, &t);
}

static void Tokens(const char* text, size_t len, char sep, int maxLen) {
    std::vector<char> dest((size_t)maxLen + 1);
    const char* p = LewyToken(text, dest.data(), sep, maxLen);
    Check(strlen(dest.data()) <= (size_t)maxLen, "token length");
    Check(!p || (p >= text && p <= text + len), "token position");
    std::vector<char> field(KV_POLE_LEN);
    int guard = 0;
    for (p = text; p && guard < 10000; guard++) {
        const char* next = dzielCiagZnak(p, field.data(), sep);
        Check(strlen(field.data()) < KV_POLE_LEN, "field length");
        Check(!next || (next > p && next <= text + len), "field position moves on");
        p = next;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 3) return 0;
    const uint8_t sel = data[0];
    const int n = data[1] % 20;
    const char sep = (char)data[2];
    data += 3;
    size -= 3;
    kvplat::SetTestLocale(kLocales[sel & 3]);

    std::vector<char> owned(data, data + size);
    owned.push_back(0);
    const char* text = owned.data();
    const size_t len = strlen(text);
    // An exact copy of the text up to its terminator.
    std::vector<char> exact(text, text + len + 1);
    text = exact.data();

    switch ((sel >> 2) % 8) {
        case 0: Readers(text); break;
        case 1: {
            static const char* const kAllowed[] = {nullptr, "0", "0123", "", "2", "01", "9", "13"};
            Adjust(text, n, kAllowed[(sel >> 5) & 7]);
            break;
        }
        case 2: {
            const char* cut = (const char*)memchr(data, 0, size);
            std::string t(text), pat = cut ? std::string(cut + 1, (const char*)data + size) : "%";
            pat = pat.c_str();
            std::vector<char> tx(t.begin(), t.end()), px(pat.begin(), pat.end());
            tx.push_back(0);
            px.push_back(0);
            const int code = (sel & 0x80) ? 238 : 0;
            SqlLike(tx.data(), code, px.data(), (sel & 0x40) ? 238 : 0);
            Check(SqlLike(tx.data(), code, "%", code) == 1, "% matches anything");
            if (!strpbrk(tx.data(), "%_"))
                Check(SqlLike(tx.data(), code, tx.data(), code) == 1, "text matches itself");
            break;
        }
        case 3: {
            std::vector<unsigned char> bin(len / 2 > 0 ? len / 2 : 1);
            if (HexNaBin(text, bin.data())) {
                std::vector<char> hex(len + 1);
                BinNaHex(bin.data(), (int)(len / 2), hex.data());
                for (size_t i = 0; i < len; i++) {
                    Check(hex[i] == (char)ToUpperStrKod(text[i], 0), "hex read back");
                }
            }
            break;
        }
        case 4: Dates(text); break;
        case 5: Tokens(text, len, sep, n * 7); break;
        case 6:
            if (CzyPoprawnaSciezkaWin(text)) {
                std::vector<char> dir(KV_MAX_PATH);
                Check(WytnijKatalog(text, dir.data(), 1) != nullptr, "valid path has a file part");
            }
            break;
        default: {
            // Everything at once on the same text, for the mixes.
            Readers(text);
            Dates(text);
            Tokens(text, len, sep, n);
            CzyPoprawnaSciezkaWin(text);
            break;
        }
    }
    return 0;
}
