#include "ui/settings/settings_page_util.h"

#include <commctrl.h>
#include <stdlib.h>
#include <string.h>

#include "util/kvutil.h"

HINSTANCE PageInstance() { return GetModuleHandleA(nullptr); }
