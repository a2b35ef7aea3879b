// What a drop-down of suggestions offers: prefixes compared with the code
// page's upper-casing, at most kKvSuggestMax entries, in the list's order.
#include <gtest/gtest.h>

#include <stdio.h>

#include <string>
#include <vector>

#include "util/codepage.h"
#include "util/kvutil.h"
#include "util/suggest_list.h"

namespace {

// Code page 1250's capitals are the ones the registers of used elements
// have always compared by (character set 238), byte for byte.
TEST(UpperCaseTable, CodePage1250AsTheRegistersUpperCase) {
    KvCodePage cp;
    ASSERT_TRUE(KvLoadCodePage(1250, &cp));
    unsigned char upper[256];
    KvUpperCaseTable(cp, upper);
    for (int b = 0; b < 256; b++) EXPECT_EQ(ToUpperStrKod(b, 238), upper[b]) << "byte " << b;
}

TEST(UpperCaseTable, CodePage1252) {
    KvCodePage cp;
    ASSERT_TRUE(KvLoadCodePage(1252, &cp));
    unsigned char upper[256];
    KvUpperCaseTable(cp, upper);
    const struct {
        unsigned char from, to;
    } cases[] = {
        {'a', 'A'}, {'z', 'Z'}, {'A', 'A'}, {'1', '1'}, {'{', '{'},
        {0xE9, 0xC9},  // e acute
        {0xFF, 0x9F},  // y diaeresis: its capital sits in 0x80-0x9F
        {0x9A, 0x8A},  // s caron
        {0x9C, 0x8C},  // oe
        {0xDF, 0xDF},  // sharp s has no capital of one character
        {0xF7, 0xF7},  // division sign
        {0xB5, 0xB5},  // micro: its capital (Greek Mu) is not in the code page
    };
    for (const auto& c : cases) EXPECT_EQ(c.to, upper[c.from]) << "byte " << (int)c.from;
}

class Suggestions : public ::testing::Test {
protected:
    void SetUp() override {
        KvCodePage cp;
        ASSERT_TRUE(KvLoadCodePage(1250, &cp));
        KvUpperCaseTable(cp, upper_);
    }
    std::vector<size_t> Match(const std::vector<std::string>& texts, const char* typed, size_t max = kKvSuggestMax) {
        return KvSuggestMatches(
            texts.size(), [&](size_t i) { return texts[i].c_str(); }, typed, upper_, max);
    }
    unsigned char upper_[256];
};

TEST_F(Suggestions, PrefixesIgnoreLetterCaseInTheCodePage) {
    // "\x8Clusarz" is "Slusarz" with S acute; "\xA3ukasz" is L stroke.
    const std::vector<std::string> names = {
        "\x8Clusarz Ewa", "Slusarz Adam", "\xA3ukasz Nowy", "\x9Clusarska Iga", "Lukasz Stary", "Brandt", "Br",
    };
    const struct {
        const char* typed;
        std::vector<size_t> offered;
    } cases[] = {
        {"\x9Cl", {0, 3}},          // s acute, small: both S acute names, not plain S
        {"\x8CLUS", {0, 3}},        // capitals match small letters too
        {"sl", {1}},                // plain s is another letter
        {"\xB3u", {2}},             // l stroke small finds the capital
        {"lu", {4}},                // plain l does not find l stroke
        {"bR", {5, 6}},             // ASCII either case; a text equal to the typed one is offered
        {"Brandtx", {}},            // longer than every text
        {"", {}},                   // nothing typed, nothing offered
        {"randt", {}},              // inside a name is no prefix
    };
    for (const auto& c : cases) EXPECT_EQ(c.offered, Match(names, c.typed)) << c.typed;
}

TEST_F(Suggestions, AtMostFiftyInTheListsOrder) {
    std::vector<std::string> names;
    for (int i = 0; i < 120; i++) {
        char name[32];
        snprintf(name, sizeof name, "%s %03d", i % 2 ? "Other" : "Kowal", i);
        names.push_back(name);
    }
    const std::vector<size_t> offered = Match(names, "kow");
    ASSERT_EQ(kKvSuggestMax, offered.size());
    EXPECT_EQ(50u, kKvSuggestMax);
    for (size_t i = 0; i < offered.size(); i++) EXPECT_EQ(2 * i, offered[i]);
    EXPECT_EQ((std::vector<size_t>{1, 3, 5}), Match(names, "OTHER", 3));
}

}  // namespace
