// The register's CSV exports: the file is asked for, made whole in memory
// by the same code as kelvaro-inspect's, and written under its name only
// when every byte is on disk.
#include "app/export_commands.h"

#include <windows.h>

#include <string>

#include "app/app.h"
#include "app/order_register.h"
#include "resources/resource.h"
#include "util/file_dialog_win.h"
#include "util/files.h"
#include "util/msgbox_win.h"
#include "util/msgbuf.h"
#include "util/scoped_win.h"
#include "valuation/register_csv.h"

namespace {

const char kCsvFilter[] = "CSV files (*.csv)\0*.csv\0All files (*.*)\0*.*\0";

void CmdExportCsv(MainWindow* w, bool lines) {
    char path[MAX_PATH] = "";
    lstrcpynA(path, lines ? "order-lines.csv" : "orders.csv", (int)sizeof path);
    const KvFileQuestion q = {true, lines ? "Export order lines to CSV" : "Export to CSV", kCsvFilter, "csv",
                              nullptr};
    if (!KvAskFile(w->hwnd, q, path, (int)sizeof path)) return;
    char msg[KV_MSG_LEN] = "";
    std::string text;
    CsvTextForm form;
    bool ok;
    {
        ScopedWaitCursor wait;
        ok = UserCsvForm(0, &form, msg) &&
             (lines ? OrderLinesCsv(w->shownStatus, form, &text, msg)
                    : RegisterCsv(w->shownStatus, g_app.settings, form, &text, msg)) &&
             KvWriteWholeFile(path, text.data(), text.size(), msg);
    }
    if (!ok) KvShowError(w->hwnd, msg);
}

}  // namespace

bool ExportCommand(MainWindow* w, int id) {
    switch (id) {
        case CMD_EXPORT_CSV: CmdExportCsv(w, false); return true;
        case CMD_EXPORT_LINES_CSV: CmdExportCsv(w, true); return true;
    }
    return false;
}
