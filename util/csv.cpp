// CSV records in and out.
#include "util/csv.h"

#include <string.h>

const char kKvUtf8Bom[] = "\xEF\xBB\xBF";

KvCsvReader::KvCsvReader(const char* data, size_t size) : p_(data), end_(data + size) {
    if (size >= 3 && memcmp(data, kKvUtf8Bom, 3) == 0) p_ += 3;
}

char KvCsvReader::DetectSeparator() const {
    // Spreadsheets leave lines of empty cells above a table as well as below.
    const char* p = p_;
    for (const char* q = p; q < end_; q++) {
        if (*q == '\r' || *q == '\n') p = q + 1;
        else if (*q != ' ' && *q != '\t' && *q != ',' && *q != ';') break;
    }
    bool quoted = false, semicolon = false;
    for (; p < end_; p++) {
        if (*p == '"') quoted = !quoted;
        else if (!quoted && (*p == '\r' || *p == '\n')) break;
        else if (!quoted && *p == ',') return ',';
        else if (!quoted && *p == ';') semicolon = true;
    }
    return semicolon ? ';' : ',';
}

KvCsvReader::Result KvCsvReader::Next(std::vector<std::string>* fields, int* line, int* column) {
    fields->clear();
    // Empty lines are no records.
    while (p_ < end_ && (*p_ == '\r' || *p_ == '\n')) {
        if (*p_ == '\r' && p_ + 1 < end_ && p_[1] == '\n') p_++;
        p_++;
        line_++;
    }
    if (p_ >= end_) return kEnd;
    *line = line_;
    std::string field;
    for (;;) {
        field.clear();
        if (p_ < end_ && *p_ == '"') {
            const int startLine = line_;
            p_++;
            for (;;) {
                if (p_ >= end_) {
                    *line = startLine;
                    *column = (int)fields->size() + 1;
                    error_ = kUnclosedQuote;
                    return kError;
                }
                if (*p_ == '"') {
                    if (p_ + 1 < end_ && p_[1] == '"') {
                        field.push_back('"');
                        p_ += 2;
                        continue;
                    }
                    p_++;
                    break;
                }
                if (*p_ == '\n' || (*p_ == '\r' && !(p_ + 1 < end_ && p_[1] == '\n'))) line_++;
                field.push_back(*p_++);
            }
            if (p_ < end_ && *p_ != sep_ && *p_ != '\r' && *p_ != '\n') {
                *column = (int)fields->size() + 1;
                error_ = kTextAfterQuote;
                return kError;
            }
        } else {
            const char* start = p_;
            while (p_ < end_ && *p_ != sep_ && *p_ != '\r' && *p_ != '\n') p_++;
            field.assign(start, (size_t)(p_ - start));
        }
        fields->push_back(field);
        if (p_ < end_ && *p_ == sep_) {
            p_++;
            continue;
        }
        if (p_ < end_ && *p_ == '\r' && p_ + 1 < end_ && p_[1] == '\n') p_++;
        if (p_ < end_) {
            p_++;
            line_++;
        }
        return kRecord;
    }
}

void KvCsvField(std::string* out, const char* text, size_t n, char separator) {
    bool quote = n > 0 && (text[0] == ' ' || text[0] == '\t' || text[n - 1] == ' ' || text[n - 1] == '\t');
    for (size_t i = 0; i < n && !quote; i++)
        quote = text[i] == separator || text[i] == '"' || text[i] == '\r' || text[i] == '\n';
    if (!quote) {
        out->append(text, n);
        return;
    }
    out->push_back('"');
    for (size_t i = 0; i < n; i++) {
        if (text[i] == '"') out->push_back('"');
        out->push_back(text[i]);
    }
    out->push_back('"');
}
