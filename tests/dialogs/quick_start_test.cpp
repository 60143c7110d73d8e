#include "dialogs/quick_start.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kivo {
namespace {

// Opened at a stored page (damaged ones open the first), then moved with "n" (next) and
// "p" (previous): the page reached and which buttons work there.
TEST(QuickStartPages, EachButtonWorksWhileThereIsAPageInItsDirection) {
  const struct {
    int stored;
    const char* moves;
    int page;
    bool previous, next;
  } cases[] = {
      {0, "", 0, false, true},      {3, "", 3, true, true},       {4, "", 4, true, false},
      {-1, "", 0, false, true},     {5, "", 0, false, true},      {-32768, "", 0, false, true},
      {0, "n", 1, true, true},      {0, "nnnnn", 4, true, false}, {0, "nnnnp", 3, true, true},
      {4, "ppppp", 0, false, true}, {4, "ppppn", 1, true, true},  {2, "pn", 2, true, true},
  };
  for (const auto& c : cases) {
    QuickStartPages pages(c.stored);
    for (const char* move = c.moves; *move != '\0'; ++move) {
      *move == 'n' ? pages.Next() : pages.Previous();
    }
    EXPECT_EQ(pages.page(), c.page) << c.stored << " " << c.moves;
    EXPECT_EQ(pages.previousEnabled(), c.previous) << c.stored << " " << c.moves;
    EXPECT_EQ(pages.nextEnabled(), c.next) << c.stored << " " << c.moves;
  }
}

TEST(QuickStartPages, RandomPressesMoveExactlyWhenTheirButtonIsEnabled) {
  std::mt19937 random(12345);
  for (int run = 0; run < 200; ++run) {
    QuickStartPages pages(static_cast<int>(random() % 9) - 2);
    for (int press = 0; press < 40; ++press) {
      const int before = pages.page();
      const bool next = random() % 2 == 0;
      const bool enabled = next ? pages.nextEnabled() : pages.previousEnabled();
      ASSERT_EQ(next ? pages.Next() : pages.Previous(), enabled);
      ASSERT_EQ(pages.page(), before + (enabled ? (next ? 1 : -1) : 0));
      ASSERT_EQ(pages.previousEnabled(), pages.page() > 0);
      ASSERT_EQ(pages.nextEnabled(), pages.page() < kQuickStartPageCount - 1);
    }
  }
}

// Each move is stored at once; the close stores the page, or "off" when the box is
// checked, and saves either way, giving back the save's answer.
TEST(QuickStartSession, MovesAreStoredAndTheCloseSaves) {
  const struct {
    std::int16_t stored;
    const char* moves;
    bool checked, saveAnswer, checkedAtOpen;
    std::int16_t afterMoves, afterClose;
  } cases[] = {
      {1, "np", false, true, false, 1, 1},
      {3, "n", true, false, false, 4, kQuickStartOff},
      {kQuickStartOff, "", true, true, true, kQuickStartOff, kQuickStartOff},
      {kQuickStartOff, "n", false, true, true, 1, 1},  // unchecked: shown at the next start
      {7, "", false, true, false, 7, 0},               // damaged: page zero
  };
  for (const auto& c : cases) {
    std::int16_t started = c.stored;
    std::vector<std::int16_t> saved;
    QuickStartSession session(started, [&] {
      saved.push_back(started);
      return c.saveAnswer;
    });
    EXPECT_EQ(session.dontShowAgainAtOpen(), c.checkedAtOpen) << c.stored;
    for (const char* move = c.moves; *move != '\0'; ++move) {
      EXPECT_TRUE(*move == 'n' ? session.Next() : session.Previous());
    }
    EXPECT_EQ(started, c.afterMoves) << c.stored << " " << c.moves;
    EXPECT_TRUE(saved.empty());
    EXPECT_EQ(session.Close(c.checked), c.saveAnswer);
    EXPECT_EQ(saved, std::vector<std::int16_t>{c.afterClose}) << c.stored << " " << c.moves;
  }
  EXPECT_TRUE(ShowQuickStartAtStart(0));
  EXPECT_TRUE(ShowQuickStartAtStart(4));
  EXPECT_FALSE(ShowQuickStartAtStart(kQuickStartOff));
}

}  // namespace
}  // namespace kivo
