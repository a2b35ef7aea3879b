// Table packing, the version text and the library's own messages.
#include <gtest/gtest.h>

#include <string.h>

#include "util/kvutil.h"

TEST(TablePacking, RoundTripKeepsEmptyRows) {
    char table[6][32] = {"NEW ONE", "", "X", "LONGER NAME", "", "LAST"};
    char packed[192];
    int len = TNapNaT2Tekst(&table[0][0], sizeof table, 6, packed);
    EXPECT_EQ(8 + 1 + 2 + 12 + 1 + 5, len);
    char back[6][32];
    memset(back, 0x33, sizeof back);
    EXPECT_EQ(6, T2TekstNaTNap(packed, sizeof back, 6, &back[0][0]));
    for (int i = 0; i < 6; i++) EXPECT_STREQ(table[i], back[i]) << i;
}

TEST(TablePacking, UnterminatedSlotIsReadWithinItself) {
    char table[2][4];
    memcpy(table[0], "ABCD", 4);  // no terminator in the slot
    strcpy(table[1], "EF");
    char packed[8];
    EXPECT_EQ(4 + 3, TNapNaT2Tekst(&table[0][0], sizeof table, 2, packed));
    EXPECT_STREQ("ABC", packed);
    EXPECT_STREQ("EF", packed + 4);
}

TEST(TablePacking, LengthBoundedUnpackStopsAtTheBlobEnd) {
    const char blob[] = {'A', 'B', 0, 'C', 'D'};  // second text has no terminator
    char table[3][4];
    memset(table, 0x33, sizeof table);
    EXPECT_EQ(3, T2TekstNaTNapN(blob, sizeof blob, sizeof table, 3, &table[0][0]));
    EXPECT_STREQ("AB", table[0]);
    EXPECT_STREQ("CD", table[1]);
    EXPECT_STREQ("", table[2]);
}

TEST(Version, TextFromTheRevisionTag) {
    EXPECT_STREQ("version: 1.8", DajWersje("$Name: kelvaro_wer-1-8 $"));
    EXPECT_STREQ("version: 2.10.3", DajWersje("$Name: kelvaro_wer-2-10-3 $"));
    EXPECT_STREQ("version: ", DajWersje("$Name: kelvaro $"));
    EXPECT_STREQ("version: ", DajWersje(""));
}

TEST(Messages, OwnCodes) {
    EXPECT_STREQ("Forbidden character after the character CR", DajKomunBledu(0xE0000000u, 0));
    EXPECT_STREQ("Enable service TFTP while changing its settings is forbidden",
                 DajKomunBledu(0xE0000001u, 0));
    EXPECT_STREQ("", DajKomunBledu(0xE0000002u, 0));
}
