// Table packing, the version text, the library's own messages and smooth
// resizing of pictures.
#include <gtest/gtest.h>

#include <string.h>

#include "util/kvutil.h"
#include "util/resample.h"

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

// Resizing smoothly: the corners keep their colours, one colour stays one
// colour, an edge between two colours becomes steps of blended ones, and
// alpha is blended like any channel.
TEST(Resample, CornersUniformAndBlendedSteps) {
    const uint32_t corners[4] = {0xff000000, 0xffff0000, 0xff00ff00, 0x000000ff};
    uint32_t three[9] = {};
    ASSERT_TRUE(KvResampleBilinear(corners, 2, 2, three, 3, 3));
    EXPECT_EQ(corners[0], three[0]);
    EXPECT_EQ(corners[1], three[2]);
    EXPECT_EQ(corners[2], three[6]);
    EXPECT_EQ(corners[3], three[8]);
    EXPECT_EQ(0xbf404040u, three[4]) << std::hex << three[4];  // the four averaged

    const uint32_t grey[6] = {0xff808080, 0xff808080, 0xff808080, 0xff808080, 0xff808080, 0xff808080};
    uint32_t bigger[5 * 4];
    ASSERT_TRUE(KvResampleBilinear(grey, 3, 2, bigger, 5, 4));
    for (uint32_t p : bigger) EXPECT_EQ(0xff808080u, p);

    const uint32_t edge[2] = {0xff000000, 0xffffffff};
    uint32_t steps[4];
    ASSERT_TRUE(KvResampleBilinear(edge, 2, 1, steps, 4, 1));
    const uint32_t expected[4] = {0xff000000, 0xff404040, 0xffbfbfbf, 0xffffffff};
    for (int i = 0; i < 4; i++) EXPECT_EQ(expected[i], steps[i]) << i;

    EXPECT_FALSE(KvResampleBilinear(edge, 0, 1, steps, 4, 1));
    EXPECT_FALSE(KvResampleBilinear(edge, 2, 1, steps, 4, 0));
}
