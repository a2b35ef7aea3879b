// prices_tool.h - kelvaro-prices, the price list of a database in and out
// of a CSV file:
//   kelvaro-prices DATABASE import FILE.csv [--codepage N]
//   kelvaro-prices DATABASE export FILE.csv [--codepage N]
// Names are converted between the file's UTF-8 and code page N (on Windows
// the system's ANSI code page unless given; natively 1252); a file to import
// that is not UTF-8 is read in code page N. The export is in the user's
// form (semicolons and decimal commas where the decimal sign is a comma).
// An import is all or nothing. Exit status 0, or 1 with the message on `err`.
#ifndef KV_TOOLS_PRICES_TOOL_H
#define KV_TOOLS_PRICES_TOOL_H

#include <stdio.h>

int PricesMain(int argc, char** argv, FILE* out, FILE* err);

#endif  // KV_TOOLS_PRICES_TOOL_H
