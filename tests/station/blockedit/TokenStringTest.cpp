#include <gtest/gtest.h>

#include "TTokenString.h"

TEST(TokenString, TokensIntsAndSeparators) {
  TTokenString t(QStringLiteral("65538,65537:10,-10"));
  int32_t v = 0;
  ASSERT_TRUE(t.NextInt(v));
  EXPECT_EQ(v, 65538);
  t.SetSeparator(QLatin1Char(':'));
  ASSERT_TRUE(t.NextInt(v));
  EXPECT_EQ(v, 65537);
  t.SetSeparator(QLatin1Char(','));
  ASSERT_TRUE(t.NextInt(v));
  EXPECT_EQ(v, 10);
  ASSERT_TRUE(t.NextInt(v));
  EXPECT_EQ(v, -10);
  EXPECT_FALSE(t.HasMore());
  EXPECT_FALSE(t.NextInt(v));
  QString token;
  EXPECT_FALSE(t.NextToken(token));
}

TEST(TokenString, FailedConversionStillConsumesTheToken) {
  TTokenString t(QStringLiteral("x1,7,99999999999"));
  int32_t v = 42;
  EXPECT_FALSE(t.NextInt(v));
  EXPECT_EQ(v, 42);
  ASSERT_TRUE(t.NextInt(v));
  EXPECT_EQ(v, 7);
  EXPECT_FALSE(t.NextInt(v));  // does not fit 32 bits
  EXPECT_FALSE(t.HasMore());
}

TEST(TokenString, SkipToAndEmptyTokens) {
  TTokenString t(QStringLiteral("Font=Arial,,8"));
  EXPECT_FALSE(t.SkipTo(QLatin1Char('#')));
  ASSERT_TRUE(t.SkipTo(QLatin1Char('=')));
  QString token;
  ASSERT_TRUE(t.NextToken(token));
  EXPECT_EQ(token, QStringLiteral("Arial"));
  ASSERT_TRUE(t.NextToken(token));
  EXPECT_TRUE(token.isEmpty());
  ASSERT_TRUE(t.NextToken(token));
  EXPECT_EQ(token, QStringLiteral("8"));
  EXPECT_EQ(t.Rest(), QString());
}
