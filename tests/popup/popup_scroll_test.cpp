#include "popup/popup_scroll.h"

#include <gtest/gtest.h>

#include <random>

namespace kivo {
namespace {

// The scrolling rules written out step by step, as the list is described to behave.
PopupScroll Described(PopupScroll s, bool byPage, bool up, int count, int rows) {
  const int step = byPage ? rows : 1;
  if (up)
    return s.offset - step < 1 ? PopupScroll{0, false, true}
                               : PopupScroll{s.offset - step, true, true};
  if (s.offset + step + rows >= count) return PopupScroll{count - rows, true, false};
  return PopupScroll{s.offset + step, true, true};
}

TEST(PopupScroll, OpensAtTheTopAndAListThatFitsNeverScrolls) {
  constexpr int P = 16;
  EXPECT_EQ(OpenScroll(P + 1, P), (PopupScroll{0, false, true}));
  // A list that fits does not scroll at all.
  EXPECT_EQ(OpenScroll(P, P), PopupScroll{});
  EXPECT_EQ(ScrollByPage({}, false, P, P), PopupScroll{});
}

// Random wheel and page moves over lists of every length around a page follow the
// step-by-step rules, the offset staying in 0..count - P and the flags matching it.
TEST(PopupScroll, RandomMovesFollowTheRulesAndStayInRange) {
  std::mt19937 random(4212);
  for (const int rows : {1, 12, 16, 18}) {
    for (int count = rows + 1; count <= 3 * rows + 2; ++count) {
      PopupScroll s = OpenScroll(count, rows);
      for (int move = 0; move < 60; ++move) {
        const bool byPage = random() % 2 == 0;
        const bool up = random() % 2 == 0;
        const PopupScroll expected = Described(s, byPage, up, count, rows);
        s = byPage ? ScrollByPage(s, up, count, rows) : ScrollByRow(s, up, count, rows);
        ASSERT_EQ(s, expected) << count << " rows " << rows << " move " << move;
        ASSERT_TRUE(s.offset >= 0 && s.offset <= count - rows);
        ASSERT_EQ(s, (PopupScroll{s.offset, s.offset > 0, s.offset < count - rows}));
      }
    }
  }
}

TEST(PopupScroll, KeysAddressMemberNumbersVisibleOrNot) {
  const struct {
    int key, count, member;
  } cases[] = {{'0', 40, 1}, {'9', 40, 10}, {'A', 40, 11}, {'Z', 36, 36},
               {'Z', 35, 0}, {'5', 3, 0},   {'~', 40, 0},  {'a', 40, 0}};
  for (const auto& c : cases) EXPECT_EQ(MemberForKey(c.key, c.count), c.member) << c.key;
}

}  // namespace
}  // namespace kivo
