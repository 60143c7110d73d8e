#include "dialogs/quick_start.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kivo {
namespace {

// A stored page opens there (anything else the first); each button works while there is a
// page in its direction, and a press moves exactly when its button works.
TEST(QuickStartPages, RandomPressesMoveExactlyWhenTheirButtonIsEnabled) {
  std::mt19937 random(12345);
  for (const int stored : {-32768, -2, -1, 0, 1, 2, 3, 4, 5, 9}) {
    for (int run = 0; run < 20; ++run) {
      QuickStartPages pages(stored);
      ASSERT_EQ(pages.page(), stored >= 0 && stored < kQuickStartPageCount ? stored : 0);
      for (int press = 0; press < 40; ++press) {
        const int before = pages.page();
        ASSERT_EQ(pages.previousEnabled(), before > 0);
        ASSERT_EQ(pages.nextEnabled(), before < kQuickStartPageCount - 1);
        const bool next = random() % 2 == 0;
        const bool enabled = next ? pages.nextEnabled() : pages.previousEnabled();
        ASSERT_EQ(next ? pages.Next() : pages.Previous(), enabled);
        ASSERT_EQ(pages.page(), before + (enabled ? (next ? 1 : -1) : 0));
      }
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
  EXPECT_FALSE(ShowQuickStartAtStart(kQuickStartOff));
}

}  // namespace
}  // namespace kivo
