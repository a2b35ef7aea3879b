// The records of an exported CSV file, read back with the program's own
// reader, for the tests of the exports.
#ifndef KV_TESTS_NATIVE_CSV_RECORDS_H
#define KV_TESTS_NATIVE_CSV_RECORDS_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "util/csv.h"

// Every record of `data`, which must start with a UTF-8 byte order mark,
// split at `separator`.
inline std::vector<std::vector<std::string>> CsvRecords(const std::string& data, char separator) {
    EXPECT_EQ(0u, data.rfind("\xEF\xBB\xBF", 0)) << "a byte order mark";
    KvCsvReader reader(data.data(), data.size());
    reader.SetSeparator(separator);
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> fields;
    int line = 0, column = 0;
    while (reader.Next(&fields, &line, &column) == KvCsvReader::kRecord) rows.push_back(fields);
    return rows;
}

#endif  // KV_TESTS_NATIVE_CSV_RECORDS_H
