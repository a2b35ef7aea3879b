// The printout's metafile pages played into a PDF document.
#include "printout/pdf_win.h"

#include <hpdf.h>
#include <math.h>
#include <stddef.h>
#include <stdio.h>
#include <string.h>

#include <string>
#include <vector>

#include "db/tables.h"
#include "util/file_dialog_win.h"
#include "util/files.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/platform.h"
#include "util/scoped_win.h"
#include "printout/pdf_player_win.h"

namespace {

using namespace pdf;

void HPDF_STDCALL OnError(HPDF_STATUS error, HPDF_STATUS, void* ctx) {
    Player* p = (Player*)ctx;
    if (p->error == HPDF_OK) p->error = error;
}

// The code pages a PDF is written in, with libharu's encoding of each.
// Helvetica has every letter of the Latin ones, so nothing is embedded and
// a Latin offer stays small; the others take the embedded font.
struct CodePageFont {
    UINT codePage;
    const char* encoding;
    bool embedded;
};
const CodePageFont kCodePages[] = {
    {1250, "CP1250", false}, {1252, "WinAnsiEncoding", false}, {1254, "CP1254", false},
    {1257, "CP1257", false}, {1251, "CP1251", true},           {1253, "CP1253", true},
    {1258, "CP1258", true},
};

const CodePageFont* FontFor(UINT codePage) {
    for (const CodePageFont& c : kCodePages)
        if (c.codePage == codePage) return &c;
    return nullptr;
}

std::string g_fontFolder;  // test seam; empty: the program's folder

std::string FontFolder() {
    if (!g_fontFolder.empty()) return g_fontFolder;
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    const std::string path = exe;
    return path.substr(0, path.find_last_of("\\/") + 1);
}

// Loads the embedded faces. Without the bold file the regular face stands
// in; without the regular one the letters cannot be written at all.
bool LoadFonts(Player& p, char* msg) {
    const std::string folder = FontFolder(), regular = folder + kPdfFontRegular, bold = folder + kPdfFontBold;
    const char* name = HPDF_LoadTTFontFromFile(p.pdf, regular.c_str(), HPDF_TRUE);
    p.regular = name ? HPDF_GetFont(p.pdf, name, p.encoding) : nullptr;
    if (!p.regular) {
        KvMsg(msg, "The font file \"%s\" cannot be read.\r\nSave as PDF needs it for the letters of code page %u.",
              regular.c_str(), p.codePage);
        return false;
    }
    name = HPDF_LoadTTFontFromFile(p.pdf, bold.c_str(), HPDF_TRUE);
    p.bold = name ? HPDF_GetFont(p.pdf, name, p.encoding) : nullptr;
    if (!p.bold) {
        // libharu refuses every later call until its error is cleared.
        HPDF_ResetError(p.pdf);
        p.error = HPDF_OK;
        p.bold = p.regular;
    }
    return true;
}

bool Ascii(const char* text) {
    for (; *text; text++)
        if ((unsigned char)*text >= 0x80) return false;
    return true;
}

// The document made in memory; empty on failure, with the message.
std::string MakeDocument(Player& p, const PrintoutPages* pages, const char* title, char* msg) {
    HPDF_SetInfoAttr(p.pdf, HPDF_INFO_CREATOR, "Quarvel 1.8");
    // A title beyond ASCII goes as UTF-16 with its byte order mark, which
    // libharu writes once the document has an encoder: its plain string is
    // read as PDFDocEncoding, where "\x80" is a bullet and not the euro.
    if (!Ascii(title)) HPDF_SetCurrentEncoder(p.pdf, p.encoding);
    HPDF_SetInfoAttr(p.pdf, HPDF_INFO_TITLE, title);
    if (p.embedded && !LoadFonts(p, msg)) return std::string();
    bool ok = true;
    for (int32_t i = 0; ok && i < pages->itemCount; i++) {
        p.page = HPDF_AddPage(p.pdf);
        if (!p.page) break;
        HPDF_Page_SetWidth(p.page, kPageWidth);
        HPDF_Page_SetHeight(p.page, kPageHeight);
        p.objects.clear();
        p.saved.clear();
        p.dc = DcState();
        p.dc.pen = StockObject(BLACK_PEN);
        p.dc.brush = StockObject(WHITE_BRUSH);
        p.dc.font = StockObject(SYSTEM_FONT);
        ok = EnumEnhMetaFile(nullptr, pages->pageFiles[i], PlayRecord, &p, nullptr) != 0;
        ResetClip(p);
    }
    if (p.unwritable) {
        KvMsg(msg, "The printout holds letters that code page %u has no code for.\r\nSave as PDF cannot write them.",
              p.codePage);
        return std::string();
    }
    // Read back whole, so that the file is written whole or not at all.
    std::string data;
    if (ok && p.error == HPDF_OK && HPDF_SaveToStream(p.pdf) == HPDF_OK) {
        const HPDF_UINT32 whole = HPDF_GetStreamSize(p.pdf);
        HPDF_UINT32 size = whole;
        data.resize(whole);
        HPDF_ResetStream(p.pdf);
        // Reading to the very end may report the end as well.
        const HPDF_STATUS read = whole ? HPDF_ReadFromStream(p.pdf, (HPDF_BYTE*)&data[0], &size) : HPDF_OK;
        if (read == HPDF_STREAM_EOF && p.error == HPDF_STREAM_EOF) {
            HPDF_ResetError(p.pdf);
            p.error = HPDF_OK;
        }
        if ((read != HPDF_OK && read != HPDF_STREAM_EOF) || size != whole) data.clear();
    }
    if (!ok || p.error != HPDF_OK || data.empty()) {
        KvMsg(msg, "The PDF file cannot be made (error 0x%04X).", (unsigned)p.error);
        data.clear();
    }
    return data;
}

}  // namespace

const char kPdfFontRegular[] = "LiberationSans-Regular.ttf";
const char kPdfFontBold[] = "LiberationSans-Bold.ttf";

void SetPdfFontFolder(const char* folder) {
    g_fontFolder = folder ? folder : "";
    if (!g_fontFolder.empty() && g_fontFolder.back() != '\\' && g_fontFolder.back() != '/') g_fontFolder += '\\';
}

int CheckPdfCodePage(UINT codePage, char* msg) {
    if (FontFor(codePage)) return 1;
    // Hebrew and Arabic are stored in logical order, and a PDF shows its
    // text in the order written: it would come out backwards.
    if (codePage == 1255 || codePage == 1256)
        KvMsg(msg,
              "Save as PDF cannot write the right-to-left letters of code page %u.\r\n"
              "Print the order to a PDF printer instead.",
              codePage);
    else
        KvMsg(msg,
              "Save as PDF has no font with the letters of code page %u.\r\n"
              "Print the order to a PDF printer instead.",
              codePage);
    return 0;
}

int SavePdfPagesInCodePage(const PrintoutPages* pages, const char* title, UINT codePage, const char* path,
                          char* msg) {
    if (!CheckPdfCodePage(codePage, msg)) return 0;
    const CodePageFont* c = FontFor(codePage);
    Player p;
    p.codePage = c->codePage;
    p.encoding = c->encoding;
    p.embedded = c->embedded;
    p.pdf = HPDF_New(OnError, &p);
    if (!p.pdf) {
        KvMsg(msg, "The PDF file cannot be made: out of memory.");
        return 0;
    }
    const std::string data = MakeDocument(p, pages, title, msg);
    HPDF_Free(p.pdf);
    if (data.empty()) return 0;
    char why[KV_MSG_LEN];
    if (!KvWriteWholeFile(path, data.data(), data.size(), why)) {
        // The reason is the second line of the writer's message.
        const char* reason = strstr(why, "\r\n");
        if (reason) KvMsg(msg, "The file \"%s\" cannot be written.\r\n%s", path, reason + 2);
        else KvMsg(msg, "The file \"%s\" cannot be written.", path);
        return 0;
    }
    return 1;
}

int SavePagesPdf(const PrintoutPages* pages, const char* title, const char* path, char* msg) {
    return SavePdfPagesInCodePage(pages, title, (UINT)kvplat::AnsiCodePage(), path, msg);
}

int SaveOrderPdf(strZamRob* order, const DrawSet* printSet, const char* path, char* msg) {
    strUstUzytk ust;
    memset(&ust, 0, sizeof ust);
    PrintoutPages pages = {};
    if (!ReadUserSettings(&ust, msg) || !ComposeOrderPrintout(order, printSet, &ust, &pages, msg)) return 0;
    char heading[96];
    OrderHeadingText(&order->zam, heading, sizeof heading);
    const int ok = SavePagesPdf(&pages, heading, path, msg);
    FreePrintoutPages(&pages);
    return ok;
}

void PdfFileName(const strZam* order, char* name, int size) {
    char heading[96];
    OrderHeadingText(order, heading, sizeof heading);
    for (char* c = heading; *c; c++)
        if (strchr("\\/:*?\"<>|", *c)) *c = '_';
    snprintf(name, (size_t)size, "%s.pdf", heading);
}

void SaveOrderAsPdf(HWND owner, strZamRob* order, const DrawSet* printSet) {
    char msg[KV_MSG_LEN] = "";
    if (!CheckPdfCodePage((UINT)kvplat::AnsiCodePage(), msg)) {
        KvShowError(owner, msg);
        return;
    }
    char path[MAX_PATH];
    PdfFileName(&order->zam, path, (int)sizeof path);
    const KvFileQuestion q = {true, "Save as PDF", "PDF files (*.pdf)\0*.pdf\0All files (*.*)\0*.*\0", "pdf",
                              nullptr};
    if (!KvAskFile(owner, q, path, (int)sizeof path)) return;
    int ok;
    {
        ScopedWaitCursor wait;
        ok = SaveOrderPdf(order, printSet, path, msg);
    }
    if (!ok) KvShowError(owner, msg);
}
