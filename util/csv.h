// csv.h - comma (or semicolon) separated files as spreadsheets read and
// write them: fields quoted where needed, a quote inside doubled, line
// breaks allowed inside quotes.
#ifndef KV_UTIL_CSV_H
#define KV_UTIL_CSV_H

#include <stddef.h>

#include <string>
#include <vector>

// Reads records from a buffer, which must outlive the reader. A UTF-8 byte
// order mark at the start is skipped; lines end with CR LF, LF or CR; an
// empty line is no record.
class KvCsvReader {
public:
    KvCsvReader(const char* data, size_t size);

    // The separator the first line with content uses (lines of nothing but
    // blanks, commas and semicolons are passed over): ';' when it holds a
    // semicolon outside quotes and no comma there, else ','.
    char DetectSeparator() const;
    void SetSeparator(char separator) { sep_ = separator; }

    enum Result { kRecord, kEnd, kError };
    // The next record's fields, and the line it starts on (from 1). kError
    // for a quote that is never closed or text right after a closing quote
    // (error() tells which): *line and *column (fields from 1) tell where.
    Result Next(std::vector<std::string>* fields, int* line, int* column);

    enum Error { kUnclosedQuote, kTextAfterQuote };
    Error error() const { return error_; }

private:
    const char* p_;
    const char* end_;
    int line_ = 1;
    char sep_ = ',';
    Error error_ = kUnclosedQuote;
};

// Appends one field, quoted when it holds the separator, a quote, a line
// break or blanks at either end.
void KvCsvField(std::string* out, const char* text, size_t n, char separator);
inline void KvCsvField(std::string* out, const std::string& text, char separator) {
    KvCsvField(out, text.data(), text.size(), separator);
}

extern const char kKvUtf8Bom[];  // "\xEF\xBB\xBF"

#endif  // KV_UTIL_CSV_H
