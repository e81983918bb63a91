#include "core/Cp1254.h"

#include <gtest/gtest.h>
#include <string>

using namespace korvel;

TEST(Cp1254, TurkishLettersHaveTheirBytes) {
    const struct {
        const char* utf8;
        unsigned char byte;
    } letters[] = {{"Ç", 0xC7}, {"ç", 0xE7}, {"Ğ", 0xD0}, {"ğ", 0xF0}, {"İ", 0xDD}, {"ı", 0xFD},
                   {"Ö", 0xD6}, {"ö", 0xF6}, {"Ş", 0xDE}, {"ş", 0xFE}, {"Ü", 0xDC}, {"ü", 0xFC}};
    for (const auto& letter : letters) {
        const std::string byte(1, static_cast<char>(letter.byte));
        EXPECT_EQ(utf8ToCp1254(letter.utf8), byte) << letter.utf8;
        EXPECT_EQ(cp1254ToUtf8(byte), letter.utf8) << letter.utf8;
    }
    EXPECT_EQ(utf8ToCp1254("Ağrı Dağı"), "A\xF0r\xFD Da\xF0\xFD");
    EXPECT_EQ(cp1254ToUtf8("\xDE\x61nl\xFD\x75rfa"), "Şanlıurfa");
}

TEST(Cp1254, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1254(cp1254ToUtf8(all)), all);
    EXPECT_EQ(cp1254ToUtf8("\x80"), "€");
}

TEST(Cp1254, CharactersWithoutAByteBecomeQuestionMarks) {
    EXPECT_EQ(utf8ToCp1254("a中b"), "a?b");
    EXPECT_EQ(utf8ToCp1254("\xC3"), "?"); // a cut-off sequence
    EXPECT_TRUE(isCp1254Character(U'ş'));
    EXPECT_TRUE(isCp1254Character(U'€'));
    EXPECT_FALSE(isCp1254Character(U'中'));
    EXPECT_EQ(codePointToUtf8(U'İ'), "İ");
    EXPECT_EQ(codePointToUtf8(0xD800), "\xEF\xBF\xBD");
}

TEST(Cp1254, FixedFieldsArePaddedOrCut) {
    EXPECT_EQ(fixedField("Ağrı", 6), "A\xF0r\xFD  ");
    EXPECT_EQ(fixedField("ABCDEFG", 3), "ABC");
    EXPECT_EQ(fixedField("şşş", 2), "\xFE\xFE");
    EXPECT_EQ(fixedField("", 4), "    ");
    EXPECT_EQ(fixedField("abc", 0), "");
}

TEST(Cp1254, FieldTextHelpers) {
    EXPECT_EQ(trimmed("  Ankara  "), "Ankara");
    EXPECT_EQ(trimmedRight("Ankara  "), "Ankara");
    EXPECT_EQ(trimmedLeft("  Ankara "), "Ankara ");
    EXPECT_TRUE(isBlankField("   "));
    EXPECT_TRUE(isBlankField(std::string("\0abc", 4)));
    EXPECT_TRUE(isBlankField(""));
    EXPECT_FALSE(isBlankField(" x "));
    EXPECT_EQ(utf8Length("Ağrı"), 4u);
    EXPECT_EQ(utf8Left("Ağrı", 2), "Ağ");
    EXPECT_EQ(utf8Mid("Şanlıurfa", 3, 3), "lıu");
    EXPECT_EQ(utf8Mid("Ağrı", 3, 10), "ı");
    EXPECT_EQ(utf8Mid("Ağrı", 9, 1), "");
}
