#include <gtest/gtest.h>

#include "support/TestSupport.h"
#include "tags/TagBytes.h"

namespace {

struct Utf8TailCase {
  const char* name;
  QByteArray text, expected;
};

class TagBytesUtf8TailTest : public ::testing::TestWithParam<Utf8TailCase> {};

TEST_P(TagBytesUtf8TailTest, OnlyAnUnfinishedLastCharacterIsDropped) {
  EXPECT_EQ(tags::DropIncompleteUtf8Tail(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Tails, TagBytesUtf8TailTest,
    ::testing::Values(Utf8TailCase{"Empty", "", ""}, Utf8TailCase{"Ascii", "abc", "abc"},
                      Utf8TailCase{"WholeTwoByte", "a\xc5\xbc", "a\xc5\xbc"},
                      Utf8TailCase{"HalfTwoByte", "a\xc5", "a"},
                      Utf8TailCase{"WholeThreeByte", "a\xe2\x82\xac", "a\xe2\x82\xac"},
                      Utf8TailCase{"TwoThirdsThreeByte", "a\xe2\x82", "a"},
                      Utf8TailCase{"WholeFourByte", "a\xf0\x9f\x8e\xb5", "a\xf0\x9f\x8e\xb5"},
                      Utf8TailCase{"ThreeQuartersFourByte", "a\xf0\x9f\x8e", "a"},
                      Utf8TailCase{"LeadOnly", "\xf0", ""},
                      Utf8TailCase{"StrayContinuationsKept", "a\x80\x80\x80\x80",
                                   "a\x80\x80\x80\x80"},
                      Utf8TailCase{"Latin1Kept", "caf\xe9!", "caf\xe9!"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
