// registers.h - the registers of used elements: names already used in
// windows and accessories, offered again by the designer and the accessory
// dialog.
//
// A register is read whole when a dialog starts; when the user accepts a
// window (an accessory) each of its names is looked up in what was read,
// comparing trimmed, upper-cased names (code page 1250 letters included).
// A match rewrites that row with the name as now entered and the element's
// current attributes; no match inserts a row. The stored name is bound as a
// parameter, never pasted into the statement.
#ifndef KV_DB_REGISTERS_H
#define KV_DB_REGISTERS_H

#include <stdint.h>

#include "db/records.h"

// The six registers the designer offers, as read at its start.
struct WindowRegisters {
    strZstProfil* profile;
    int32_t profileCount;
    strZstKolor* colourRows;
    int32_t colourCount;
    strZstSzpros* muntinRows;
    int32_t muntinCount;
    strZstOkucie* hardwareRows;
    int32_t hardwareCount;
    strZstListwa* beadRows;
    int32_t beadCount;
    strZstWypeln* wypeln;
    int32_t fillingCount;
};

// Reads the six registers. On failure nothing stays allocated and *r is zero.
int LoadWindowRegisters(WindowRegisters* r, char* msg);
void FreeWindowRegisters(WindowRegisters* r);

// Files the names of `okno` in the order profile, colour, muntin, hardware,
// glazing bead, then each distinct filling name. Empty names are skipped;
// hardware and glazing beads that match change nothing. `r` is the registers
// as read at the designer's start. Stops at the first failure.
int SaveWindowRegisters(const strOkno* okno, const WindowRegisters* r, char* msg);

// SaveWindowRegisters in one transaction ("ZapisRejestrowOkna"): a failure
// half-way leaves every register as it was, so that the next attempt finds
// them as the designer read them.
int DbSaveWindowRegisters(const strOkno* okno, const WindowRegisters* r, char* msg);

// Files the accessory's name with its number of dimensions and unit in
// T_ZstDodat, matching against `rej` (n rows, as read at the dialog's start).
int SaveAccessoryRegister(const strDodatZam* d, const strZstDodat* rej, int32_t n, char* msg);

// The comparison key of a register name: trimmed of blanks and tabs at both
// ends and upper-cased. `klucz` has room for 128 bytes.
void RegisterKey(const char* nazwa, char klucz[128]);

// The seven registers in the order of the main menu's "Delete register of
// used ..." commands: profiles, hardware, colours, glazing beads, muntins,
// fillings, accessories.
enum { kDbRegisterCount = 7 };
// The register's table ("T_ZstProfil", ...), or null outside 0-6.
const char* DbRegisterTable(int which);
// Rows in the register; 0 on any failure (as DbCountRows).
int64_t DbRegisterRows(int which);
// Deletes every row of the register. 1 on success; 0 and
// "Error of SQL command\r\n%s" otherwise.
int DbWipeRegister(int which, char* msg);

#endif  // KV_DB_REGISTERS_H
