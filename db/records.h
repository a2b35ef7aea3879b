// records.h - the in-memory record of every table of the order database.
//
// Each record follows its table's column order, because rows are read with
// "SELECT * FROM" and written with "INSERT INTO ... VALUES" by position.
// Text fields are fixed arrays whose width includes the terminating zero.
// The blocks that are stored as blobs (seller's data, Uw factors, profile
// thicknesses, valuation parameters) and the settings record, which SQL
// functions read as a blob, have their byte layouts pinned below.
#ifndef KV_DB_RECORDS_H
#define KV_DB_RECORDS_H

#include <stddef.h>
#include <stdint.h>

union uniOperRys;  // one drawing operation of a window (model/operations.h)

// Seller's data, 784 bytes; stored in the settings and in every order.
struct strDaneUzytk {
    char nazwa[256];     // seller's name
    char skrot[16];      // abbreviation: the middle part of every order number
    char adres[256];     // address
    char infDodat[256];  // other information, several lines
};
static_assert(sizeof(strDaneUzytk) == 784, "seller's data block is 784 bytes");
static_assert(offsetof(strDaneUzytk, skrot) == 256, "abbreviation at byte 256");
static_assert(offsetof(strDaneUzytk, adres) == 272, "address at byte 272");
static_assert(offsetof(strDaneUzytk, infDodat) == 528, "other information at byte 528");

// Thermal factors, 32 bytes; the settings' defaults and each window's copy.
struct strWspUw {
    int32_t ufRama;         // Uf of a frame without a sash, hundredths of W/(m2 K)
    int32_t ufRamaSkrz;     // Uf of a frame with a sash, hundredths
    int32_t ufSlupekStaly;  // Uf of a fixed mullion, hundredths
    int32_t ufSlupekRuch;   // Uf of a false mullion, hundredths
    int32_t ugSzyba;        // Ug of glass, hundredths
    int32_t psiSzyba;       // linear factor of the glass edge, ten-thousandths of W/(m K)
    int32_t ugAkryl;        // Ug of acrylic, hundredths
    int32_t psiAkryl;       // linear factor of the acrylic edge, ten-thousandths
};
static_assert(sizeof(strWspUw) == 32, "Uw factor block is 32 bytes");
static_assert(offsetof(strWspUw, psiAkryl) == 28, "Uw block: eight 32-bit values");

// Profile thicknesses, 16 bytes, millimetres.
struct strGrubProf {
    int32_t rama;           // frame, mm
    int32_t skrzydlo;       // sash, mm
    int32_t slupekStaly;    // fixed mullion, mm
    int32_t slupekRuchomy;  // false mullion, mm
};
static_assert(sizeof(strGrubProf) == 16, "profile thickness block is 16 bytes");

// Valuation flags word: assembly mode in bits 0-1, disassembly in bits 2-3.
enum : int32_t {
    kAssemblyMask = 3,     // 0 without, 1 by size, 2 fixed price
    kDisassemblyMask = 12,  // 0 without, 4 by size, 8 fixed price
};

// Valuation parameters, 40 bytes; the settings' defaults and each order's copy.
struct strWycenZamParam {
    int32_t rabat;       // buyer's discount, whole percent 0-100
    int32_t rezerwa;     // padding, not used
    int64_t cenaMont;    // assembly price, hundredths (per metre or fixed)
    int64_t cenaDemont;  // disassembly price, hundredths
    int32_t vatMont;     // VAT of assembly and disassembly, hundredths of a percent
    int32_t vatDodat;    // VAT of accessories, hundredths of a percent
    int32_t vatOkna;     // VAT of windows, hundredths of a percent
    int32_t flagi;       // valuation flags (modes above, other bits the valuation's)
};
static_assert(sizeof(strWycenZamParam) == 40, "valuation parameter block is 40 bytes");
static_assert(offsetof(strWycenZamParam, cenaMont) == 8, "assembly price at byte 8");
static_assert(offsetof(strWycenZamParam, cenaDemont) == 16, "disassembly price at byte 16");
static_assert(offsetof(strWycenZamParam, vatMont) == 24, "VAT rates at byte 24");
static_assert(offsetof(strWycenZamParam, flagi) == 36, "valuation flags at byte 36");

// T_WerBaza: one row, the database version text.

// T_Zmienne: the program variables, one row. Number first, year second.
struct strZmienne {
    int32_t idZam;  // number of the last order saved in the working year
    int32_t rok;    // the working year
};

enum { kStatusCount = 6, kStatusNameLen = 32 };

// T_UstUzytk: the user settings, one row.
struct strUstUzytk {
    int32_t idWalPrg;                             // program currency, index into the currency table
    int32_t czasReal;                             // default fulfilment time, days
    int32_t waga;                                 // window weight per area, hundredths of kg/m2
    strDaneUzytk sDaneUzytk;                      // seller's data
    strWspUw sWspUw;                              // default thermal factors
    int32_t rezerwa;                              // padding before the 8-byte aligned block, not stored
    strWycenZamParam sWycenZamParam;              // default valuation parameters
    char stanyZam[kStatusCount][kStatusNameLen];  // names of statuses 1-6 (packed in the column)
    int32_t wysNaglDruk;                          // printout heading height, mm
    int32_t status;                               // kept as read
};
// SQL_MONT_ZAM and SQL_DEMONT_ZAM read the flags word of a settings blob at 868.
static_assert(offsetof(strUstUzytk, sDaneUzytk) == 12, "seller's data at byte 12");
static_assert(offsetof(strUstUzytk, sWspUw) == 796, "Uw factors at byte 796");
static_assert(offsetof(strUstUzytk, sWycenZamParam) == 832, "valuation block at byte 832");
static_assert(offsetof(strUstUzytk, sWycenZamParam) + offsetof(strWycenZamParam, flagi) == 868,
              "valuation flags at byte 868 of the settings blob");
static_assert(offsetof(strUstUzytk, stanyZam) == 872, "status names at byte 872");
static_assert(sizeof(strUstUzytk) == 1072, "settings record is 1072 bytes");

struct strOkno;
struct strDodatZam;

// T_Zam: one order. The columns, then the in-memory lists.
struct strZam {
    int64_t kluczZam;                 // order key, assigned by the database
    int32_t idZam;                    // order number within its year
    int32_t rok;                      // year of the order
    char dodOznaczZam[32];            // order symbol, upper case
    int32_t idWalZam;                 // currency index
    char dataZam[11];                 // date of order, yyyy-mm-dd
    char dataReal[11];                // date of fulfilment, yyyy-mm-dd
    char nazwaNabyw[256];             // buyer's name
    char adresNabyw[256];             // buyer's address
    char infDodatNabyw[1024];         // other information on the buyer
    int32_t waga;                     // window weight per area, hundredths of kg/m2
    char uwagi[2048];                 // notes
    int32_t status;                   // 0 new, 1-6 the user's, -1 deleted
    strDaneUzytk sDaneUzytk;          // seller's data at the time of the order
    strWycenZamParam sWycenZamParam;  // discount, prices, VAT rates, modes
    // In memory only; both lists come from the private heap.
    int32_t liczbaOkien;  // number of windows in `okna`
    strOkno* okna;
    int32_t liczbaDodat;  // number of accessories in `dodatki`
    strDodatZam* dodatki;
};

// T_Okno: one window of an order. The columns, then the operation list.
struct strOkno {
    int64_t kluczOkno;  // window key, assigned by the database
    int64_t kluczZam;   // key of the order
    int32_t iProfSch;   // profile type: 0 PVC, 1 wood, 2 aluminium
    int32_t iOkucie;    // hardware choice (kept as read)
    int32_t iKolor;     // colour type: 0 white, 1 internal, 2 external, 3 double-sided
    int32_t iListwa;    // glazing bead choice (kept as read)
    int32_t iSzpros;    // muntin choice, passed to the structure build
    char nazProfil[128];
    char nazOkucie[128];
    char nazKolor[128];
    char nazListwa[128];
    char nazSzpros[128];
    strGrubProf sGrubProf;  // the four profile thicknesses
    int32_t grubSzpros;     // muntin thickness, mm
    int32_t ilOkien;        // number of such windows in the order
    int64_t cenaZReki;      // net price of one window, hundredths
    strWspUw sWspUw;        // the window's thermal factors
    int32_t uwZReki;        // Uw entered by hand, hundredths
    char uwagi[1024];       // notes
    int32_t status;         // low three bits: structure format; a new window gets 4
    // In memory only.
    int32_t liczbaOper;  // number of drawing operations
    uniOperRys* oper;    // the operations, from the private heap
};

// T_OperRysDb: one stored drawing operation (the first 152 bytes of a uniOperRys).
enum { kDrawingOpDbLen = 152 };
struct strOperRysDb {
    int64_t kluczOkno;
    int32_t indeks;  // position in the window's list, from 0
    unsigned char uOperRysDb[kDrawingOpDbLen];
};

// T_DodatZam: one accessory of an order.
struct strDodatZam {
    int64_t kluczZam;
    int32_t iKolej;  // position in the order
    char nazwa[128];
    int32_t ilWym;      // number of dimensions, 0-3
    char jm[32];        // unit of the dimensions
    int64_t wymiar[3];  // dimensions, ten-thousandths; those beyond ilWym are 0
    int32_t ilosc;      // quantity
    int64_t cenaZReki;  // net price entered by hand, hundredths
};
static_assert(sizeof(((strDodatZam*)nullptr)->wymiar) == 24, "dimensions blob is 24 bytes");

// Registers of used elements.
struct strZstProfil {
    char nazwa[128];
    int32_t typ;
    strGrubProf sGrubProf;
};
struct strZstOkucie {
    char nazwa[128];
};
struct strZstKolor {
    char nazwa[128];
    int32_t typ;
};
struct strZstListwa {
    char nazwa[128];
};
struct strZstSzpros {
    char nazwa[128];
    int32_t grubSzpros;
};
struct strZstWypeln {
    char nazwa[128];
    int32_t typ;
};
struct strZstDodat {
    char nazwa[128];
    int32_t ilWym;
    char jm[32];
};

#endif  // KV_DB_RECORDS_H
