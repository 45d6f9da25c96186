#include <gtest/gtest.h>

#include "host/ShortString.h"

namespace zz {
namespace {

TEST(ShortString, AssignCutsToCapacity) {
  TShortString<5> s("abcdefgh");
  EXPECT_EQ(s.View(), "abcde");
  EXPECT_EQ(s.Length, 5);
}

TEST(ShortString, AppendBeyondCapacityHasNoEffect) {
  TShortString<4> s("ab");
  s.Append("cdef");
  EXPECT_EQ(s.View(), "abcd");
  s.Append('x');
  EXPECT_EQ(s.View(), "abcd");
}

TEST(ShortString, HostLengthByteBeyondCapacityIsClamped) {
  TShortString<20> s;
  s.Length = 255;
  EXPECT_EQ(s.Size(), 20u);
}

TEST(ShortString, CopyBetweenCapacitiesCuts) {
  TShortString<255> longText(std::string(300, 'x'));
  EXPECT_EQ(longText.Size(), 255u);
  TShortString<20> shortText = longText;
  EXPECT_EQ(shortText.Size(), 20u);
}

}  // namespace
}  // namespace zz
