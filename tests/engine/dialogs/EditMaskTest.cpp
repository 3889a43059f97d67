#include <gtest/gtest.h>

#include "EditMask.h"
#include "MaskInputModes.h"

namespace {

TEST(EditMask, TranslatesTheThreeMasksOfTheConstants) {
  // Classic '0' is a required digit, '9' an optional one; Qt has them swapped.
  EditMask value("!#99999;0; ");
  EXPECT_EQ(value.QtMask(), QStringLiteral("#00000; "));
  EXPECT_FALSE(value.SaveLiterals());
  EXPECT_EQ(value.Blank(), QChar(u' '));

  EditMask time("00:00;1; ");
  EXPECT_EQ(time.QtMask(), QStringLiteral("99:99; "));
  EXPECT_TRUE(time.SaveLiterals());

  EditMask date("00.00;1; ");
  EXPECT_EQ(date.QtMask(), QStringLiteral("99.99; "));
}

TEST(EditMask, ReadsBackLikeTheClassicControl) {
  EditMask value("!#99999;0; ");
  EXPECT_EQ(value.Text(QStringLiteral("-123  ")), QStringLiteral("-123"));
  EXPECT_EQ(value.Text(QStringLiteral("      ")), QString());  // empty stays empty
  EXPECT_EQ(value.Text(QStringLiteral("  12  ")), QStringLiteral("12"));
  EXPECT_TRUE(value.Complete(QStringLiteral("      ")));  // nothing is required

  EditMask time("00:00;1; ");
  EXPECT_EQ(time.Text(QStringLiteral("23:59")), QStringLiteral("23:59"));
  EXPECT_TRUE(time.Complete(QStringLiteral("23:59")));
  EXPECT_FALSE(time.Complete(QStringLiteral("2 :59")));
  EXPECT_FALSE(time.Complete(QStringLiteral("  :  ")));
  EXPECT_FALSE(time.Complete(QStringLiteral("23:5")));  // shorter than the mask

  // Literals left out of the text, and another blank character.
  EditMask phone("(000) 000;0;_");
  EXPECT_EQ(phone.QtMask(), QStringLiteral("(999) 999;_"));
  EXPECT_EQ(phone.Text(QStringLiteral("(123) 45_")), QStringLiteral("12345"));
  EXPECT_FALSE(phone.Complete(QStringLiteral("(123) 45_")));
}

TEST(EditMask, LettersCaseAndEscapes) {
  EXPECT_EQ(EditMask("LlAaCc;1;_").QtMask(), QStringLiteral("AaNnXx;_"));
  EXPECT_EQ(EditMask(">L<l<>L").QtMask(), QStringLiteral(">A<a!A;_"));
  // Literals that mean something in Qt get a backslash; a classic backslash
  // makes the next mask character a literal.
  EditMask escaped("\\0-D_\\L;1;*");
  EXPECT_EQ(escaped.QtMask(), QStringLiteral("\\0-\\D L;*"));  // 'L' means nothing to Qt
  EXPECT_EQ(escaped.Text(QStringLiteral("0-D L")), QStringLiteral("0-D L"));
  // Missing fields: literals saved, '_' as blank.
  EditMask bare("00/00");
  EXPECT_TRUE(bare.SaveLiterals());
  EXPECT_EQ(bare.Blank(), QChar(u'_'));
  EXPECT_EQ(bare.QtMask(), QStringLiteral("99/99;_"));
}

TEST(EditMask, HostileMasksGiveAUsableMask) {
  for (const char* mask : {"", ";", ";;", ";0;", "\\", "!", "<>", "\\;;0", "!!##;;;;", "\xFF\x81\\\xE4;1;\xE4"}) {
    EditMask m(mask);
    // Whatever comes in, reading back never fails and free text stays free.
    QString back = m.Text(QStringLiteral("abc"));
    if (!m.IsMasked()) {
      EXPECT_TRUE(m.QtMask().isEmpty()) << mask;
      EXPECT_EQ(back, QStringLiteral("abc")) << mask;
    }
  }
  EditMask umlaut("\\\xE4" "0;1; ");
  EXPECT_EQ(umlaut.QtMask(), QString::fromUtf8("\xC3\xA4" "9; "));
  EXPECT_EQ(EditMask("\\;0;0; ").QtMask(), QStringLiteral("\\;9; "));
}

TEST(MaskEntry, ValueRange) {
  for (const char* ok : {"32767", "-32768", "+32767", "0", "", "  -5", "007"})
    EXPECT_TRUE(MaskEntryAcceptable(1, ok)) << ok;
  for (const char* bad : {"32768", "-32769", "99999", "-99999", "1234567890123456789012345"})
    EXPECT_FALSE(MaskEntryAcceptable(1, bad)) << bad;
}

TEST(MaskEntry, TimeHourAndMinute) {
  for (const char* ok : {"23:59", "00:00", "12:00"}) EXPECT_TRUE(MaskEntryAcceptable(2, ok)) << ok;
  for (const char* bad : {"24:00", "12:60", "99:99", "-1:00"}) EXPECT_FALSE(MaskEntryAcceptable(2, bad)) << bad;
}

TEST(MaskEntry, DateWithFebruaryAlwaysLeap) {
  for (const char* ok : {"29.02", "31.01", "30.04", "31.12", "01.01"}) EXPECT_TRUE(MaskEntryAcceptable(3, ok)) << ok;
  for (const char* bad : {"30.02", "31.04", "00.05", "15.13", "15.00", "32.01", "", "1"})
    EXPECT_FALSE(MaskEntryAcceptable(3, bad)) << bad;
}

TEST(MaskEntry, FreeTextAndUnknownModesTakeEverything) {
  EXPECT_TRUE(MaskEntryAcceptable(0, "anything at all"));
  EXPECT_TRUE(MaskEntryAcceptable(7, "99999"));
  EXPECT_TRUE(MaskEntryAcceptable(-1, "99999"));
  EXPECT_EQ(GetMaskInputMode(-1).mask, nullptr);
  EXPECT_EQ(GetMaskInputMode(4).mask, nullptr);
  EXPECT_STREQ(GetMaskInputMode(1).mask, "!#99999;0; ");
}

}  // namespace
