// description.h - display names of the window model's codes and the text that
// describes a window of an order (cell tooltips, printout).
#ifndef KV_MODEL_DESCRIPTION_H
#define KV_MODEL_DESCRIPTION_H

#include <stdint.h>

#include "db/records.h"
#include "util/kvutil.h"

// Profile type as lists and the frame label show it: "PVC", "Wood", "ALU", "".
const char* ProfileName(int32_t iProfSch);
// Profile type after the profile name in the description: " (PVC)",
// " (Wood)", " (Aluminium)", "" for any other type.
const char* ProfileSuffix(int32_t iProfSch);
// Filling type: "Glass", "Acrylic", "".
const char* FillingKindName(int32_t typWypeln);
// Mullion kind: "Fixed mullion", "False mullion" in structure format 5, ""
// in any other format or for another kind.
const char* MullionKindName(int32_t rodzaj, int32_t format);

// Uw in hundredths as shown: two decimals with the locale's separator
// ("1.36", "1,36"), "-" for -1 (not computable).
void UwToText(int32_t uw, char tekst[KV_AMOUNT_LEN]);

// Writes the description of window `indeks` of the order into cel (rozmiar
// bytes, cut to fit): size, profile, hardware (with an opening sash), colour,
// muntin (with a muntin), glazing bead, the distinct fillings numbered from 1
// and the Uw, lines separated by "\r\n". Returns 1, or 0 with an empty text
// when there is no such window or it has no frame.
int DescribeWindow(const strZam* zam, int32_t indeks, char* cel, int32_t rozmiar);

// Appends "\r\n" and the window's notes to cel (rozmiar bytes in all, cut to
// fit). Width < 0: the notes as they are. Otherwise the first line of the
// notes, its words rejoined with one blank after each, and "\r\n" before a
// word when the characters of the notes from the start of the current line
// to the end of that word, both counted, exceed `szerokosc`; the next line
// then counts from the end of that word. Words are cut at 1024 characters.
// Returns 1, or 0 (cel unchanged) without such a window.
int AddWindowNotes(const strZam* zam, int32_t indeks, char* cel, int32_t rozmiar, int32_t szerokosc);

#endif  // KV_MODEL_DESCRIPTION_H
