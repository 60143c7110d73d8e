#include "popup/popup_scroll.h"

#include <gtest/gtest.h>

#include <random>

namespace kivo {
namespace {

// Random wheel and page moves over lists of every length around a page follow the rules
// written out step by step, the offset staying in 0..count - P and the flags matching it;
// a list that fits never scrolls.
TEST(PopupScroll, RandomMovesFollowTheRulesAndStayInRange) {
  EXPECT_EQ(OpenScroll(16, 16), PopupScroll{});
  EXPECT_EQ(ScrollByPage({}, false, 16, 16), PopupScroll{});
  std::mt19937 random(4212);
  for (const int rows : {1, 12, 16, 18}) {
    for (int count = rows + 1; count <= 3 * rows + 2; ++count) {
      PopupScroll s = OpenScroll(count, rows);
      ASSERT_EQ(s, (PopupScroll{0, false, true}));
      for (int move = 0; move < 60; ++move) {
        const bool byPage = random() % 2 == 0, up = random() % 2 == 0;
        const int step = byPage ? rows : 1;
        const PopupScroll expected =
            up                                ? (s.offset - step < 1 ? PopupScroll{0, false, true}
                                                                     : PopupScroll{s.offset - step, true, true})
            : s.offset + step + rows >= count ? PopupScroll{count - rows, true, false}
                                              : PopupScroll{s.offset + step, true, true};
        s = byPage ? ScrollByPage(s, up, count, rows) : ScrollByRow(s, up, count, rows);
        ASSERT_EQ(s, expected) << count << " rows " << rows << " move " << move;
      }
    }
  }
}

}  // namespace
}  // namespace kivo
