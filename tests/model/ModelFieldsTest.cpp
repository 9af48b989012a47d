#include <gtest/gtest.h>

#include "model/ModelFields.h"
#include "support/TestSupport.h"

TEST(ModelFieldsTest, TextsBooleansDatesAndListsAreSetByName) {
  Release model;
  EXPECT_TRUE(SetFieldFromText(model, QStringLiteral("RippedBy"), QStringLiteral("Ja")));
  EXPECT_TRUE(SetFieldFromText(model, QStringLiteral("VariousArtists"), QStringLiteral("1")));
  EXPECT_TRUE(SetFieldFromText(model, QStringLiteral("RipDate"), QStringLiteral("2024-02-29")));
  EXPECT_TRUE(SetFieldFromText(model, QStringLiteral("SelectedGroups"), QStringLiteral("a;b")));
  EXPECT_EQ(model.Info.RippedBy, QStringLiteral("Ja"));
  EXPECT_TRUE(model.Summary.VariousArtists);
  EXPECT_EQ(model.Info.RipDate, QDate(2024, 2, 29));
  EXPECT_EQ(model.Info.SelectedGroups, (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
  EXPECT_FALSE(SetFieldFromText(model, QStringLiteral("RipDate"), QStringLiteral("2023-02-29")));
  EXPECT_FALSE(SetFieldFromText(model, QStringLiteral("ripdate"), QStringLiteral("2024-01-01")));
  EXPECT_FALSE(SetFieldFromText(model, QStringLiteral("CoverCd"), QStringLiteral("true")));
  EXPECT_EQ(model.Info.RipDate, QDate(2024, 2, 29));
}
