// Format, the checked conversions and the text helpers.
#include <gtest/gtest.h>

#include "host/rtl/Classes.h"

namespace {

TEST(Format, SubstitutesInOrder) {
  EXPECT_EQ(Format("Field %s, from the Detail Fields list, must be linked", {"CustNo"}),
            "Field CustNo, from the Detail Fields list, must be linked");
  EXPECT_EQ(Format("%s%s;", {"A;B", "C"}), "A;BC;");
  EXPECT_EQ(Format("%s -> %s", {"", "Id"}), " -> Id");
  EXPECT_EQ(Format("%d%%|%-4s|%3d|%x", {42, "ab", 7, 255}), "42%|ab  |  7|FF");
}

TEST(Format, MismatchedArgumentsRaise) {
  EXPECT_THROW(Format("%s", {}), EConvertError);
  EXPECT_THROW(Format("%d", {"x"}), EConvertError);
  EXPECT_THROW(Format("%s", {1}), EConvertError);
  EXPECT_THROW(Format("50%", {}), EConvertError);
  EXPECT_THROW(Format("%q", {"x"}), EConvertError);
}

TEST(SysUtils, TextHelpers) {
  EXPECT_TRUE(SameText("CustNo", "CUSTNO"));
  EXPECT_FALSE(SameText("CustNo", "CustN"));
  EXPECT_LT(AnsiCompareText("apple", "Banana"), 0);
  EXPECT_EQ(Trim("  a b \t"), "a b");
  EXPECT_EQ(StrToInt(" -12 "), -12);
  EXPECT_THROW(StrToInt("12x"), EConvertError);
  EXPECT_THROW(StrToInt(""), EConvertError);
}

TEST(SysUtils, WideStringsRoundTrip) {
  std::string text = "Tirvendal - Design package \xC3\xA9\xF0\x9F\x98\x80";
  std::u16string wide = Utf8ToUtf16(text);
  EXPECT_EQ(wide.substr(0, 9), u"Tirvendal");
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(SysUtils, ClassRegistryFindsByNameAndRaisesWhenMissing) {
  RegisterRtlClasses();
  EXPECT_EQ(GetClass("tstringlist"), TStringList::StaticClass());
  EXPECT_EQ(GetClass("TNothing"), nullptr);
  try {
    FindClass("TNothing");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), "Class TNothing not found");
  }
  EXPECT_THROW(TPersistent().Assign(nullptr), EConvertError);
}

}  // namespace
