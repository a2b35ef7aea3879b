// prices_tool.h - kelvaro-prices, the price list of a database in and out
// of a CSV file:
//   kelvaro-prices DATABASE import FILE.csv [--codepage N]
//   kelvaro-prices DATABASE export FILE.csv [--codepage N]
// Names are converted between the file's UTF-8 and code page N (on Windows
// the system's ANSI code page unless given; natively 1252). An import is all
// or nothing. Exit status 0, or 1 with the message on `err`.
#ifndef KV_TOOLS_PRICES_TOOL_H
#define KV_TOOLS_PRICES_TOOL_H

#include <stdio.h>

int PricesMain(int argc, char** argv, FILE* out, FILE* err);

#endif  // KV_TOOLS_PRICES_TOOL_H
