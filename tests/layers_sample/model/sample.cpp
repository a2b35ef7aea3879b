// A model file that breaks every rule the layers check knows.
#include <windows.h>

#include "db/connection.h"
#include "db/records.h"
#include "render/drawset_win.h"
#include "structure.h"
