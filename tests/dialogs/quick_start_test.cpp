#include "dialogs/quick_start.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace kivo {
namespace {

// A stored page opens there (anything else the first, "off" with "不再显示" checked); each
// button works while there is a page in its direction, and a press moves exactly when its
// button works, storing the page at once. The close stores the page, or "off" when the box is
// checked, and saves either way, giving back the save's answer.
TEST(QuickStart, RandomPressesMoveExactlyWhenTheirButtonIsEnabledAndTheCloseSaves) {
  std::mt19937 random(12345);
  for (const int stored : {-32768, -1, 0, 1, 4, 5, 9}) {
    for (int run = 0; run < 20; ++run) {
      auto started = static_cast<std::int16_t>(stored);
      std::vector<int> saved;
      const bool saveAnswer = random() % 2 == 0;
      QuickStartSession session(started, [&] { return saved.push_back(started), saveAnswer; });
      const QuickStartPages& pages = session.pages();
      ASSERT_EQ(pages.page(), stored >= 0 && stored < kQuickStartPageCount ? stored : 0);
      ASSERT_EQ(session.dontShowAgainAtOpen(), stored == kQuickStartOff);
      for (int press = 0; press < 40; ++press) {
        const int before = pages.page();
        const bool next = random() % 2 == 0;
        const bool enabled = next ? before < kQuickStartPageCount - 1 : before > 0;
        ASSERT_EQ(next ? pages.nextEnabled() : pages.previousEnabled(), enabled);
        ASSERT_EQ(next ? session.Next() : session.Previous(), enabled);
        ASSERT_EQ(pages.page(), before + (enabled ? (next ? 1 : -1) : 0));
        ASSERT_EQ(started, enabled ? pages.page() : started);
      }
      const bool checked = random() % 2 == 0;
      ASSERT_EQ(session.Close(checked), saveAnswer);
      ASSERT_EQ(saved, std::vector<int>{checked ? kQuickStartOff : pages.page()});
    }
  }
  EXPECT_FALSE(ShowQuickStartAtStart(kQuickStartOff));
}

}  // namespace
}  // namespace kivo
