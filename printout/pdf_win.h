// pdf_win.h - the printout as a PDF file, written by libharu without any
// printer: every page's metafile is played record by record into the PDF's
// drawing calls, on Letter pages (612 x 792 pt) with the 8 x 10 in frame
// centred. Lines stay vector lines, text stays text, each character where
// the metafile's spacing put it. Latin code pages are written in Helvetica
// (the metrics of the printout's Arial), the Cyrillic, Greek and Vietnamese
// ones in Liberation Sans (the same metrics), embedded from the font files
// that travel beside the program.
#ifndef KV_PRINTOUT_PDF_WIN_H
#define KV_PRINTOUT_PDF_WIN_H

#include <windows.h>

#include "db/order_record.h"
#include "printout/printout.h"
#include "render/drawset_win.h"

// Writes `pages` to `path` with the document title `title` and the creator
// "Quarvel 1.8". The file is written under a temporary name and renamed
// only when whole: a failure leaves no file of its own behind (and a file
// that was at `path` as it was). 1, or 0 with the message.
int SavePagesPdf(const PrintoutPages* pages, const char* title, const char* path, char* msg);

// The same with the texts of code page `codePage` (the title's bytes, and the
// letters the pages may hold) instead of the system's.
int SavePdfPagesInCodePage(const PrintoutPages* pages, const char* title, UINT codePage, const char* path,
                          char* msg);

// Whether a PDF can be written in code page `codePage`: 1250-1258 but the
// right-to-left 1255 and 1256. 1, or 0 with the message saying why not.
int CheckPdfCodePage(UINT codePage, char* msg);

// The file names of the embedded font, looked for beside the program.
extern const char kPdfFontRegular[];  // "LiberationSans-Regular.ttf"
extern const char kPdfFontBold[];     // "LiberationSans-Bold.ttf"; the regular face stands in without it

// Test seam: the folder the font files are taken from (null: the program's).
void SetPdfFontFolder(const char* folder);

// Composes the order's pages (as "Print" does, with the settings read from
// the database) and writes them as a PDF file. 1, or 0 with the message.
int SaveOrderPdf(strZamRob* order, const DrawSet* printSet, const char* path, char* msg);

// The file name the save dialog proposes: the heading text with any of
// \ / : * ? " < > | replaced by "_", and ".pdf".
void PdfFileName(const strZam* order, char* name, int size);

// The program's "Save as PDF...": on a system whose code page it cannot
// write says so first; otherwise asks for the file, writes it, and shows a
// failure in an "Error" box owned by `owner`.
void SaveOrderAsPdf(HWND owner, strZamRob* order, const DrawSet* printSet);

#endif  // KV_PRINTOUT_PDF_WIN_H
