#include "dialogs/quick_start.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace kivo {
namespace {

struct OpenCase {
  int stored;
  int page;
  bool previous;
  bool next;
};

TEST(QuickStartPages, OpensAtTheStoredPageOrTheFirst) {
  const OpenCase cases[] = {
      {0, 0, false, true}, {1, 1, true, true},      {2, 2, true, true},       {3, 3, true, true},
      {4, 4, true, false}, {-1, 0, false, true},    {-2, 0, false, true},     {5, 0, false, true},
      {7, 0, false, true}, {32767, 0, false, true}, {-32768, 0, false, true},
  };
  for (const OpenCase& c : cases) {
    const QuickStartPages pages(c.stored);
    EXPECT_EQ(pages.page(), c.page) << "stored " << c.stored;
    EXPECT_EQ(pages.previousEnabled(), c.previous) << "stored " << c.stored;
    EXPECT_EQ(pages.nextEnabled(), c.next) << "stored " << c.stored;
  }
}

// A move sequence written as "n" (next) and "p" (previous), and what it leaves.
struct MoveCase {
  int stored;
  std::string moves;
  int page;
  bool previous;
  bool next;
};

TEST(QuickStartPages, EachButtonWorksWhileThereIsAPageInItsDirection) {
  const MoveCase cases[] = {
      {0, "n", 1, true, true},       // leaving the first page enables "<< 上一条"
      {0, "nnnn", 4, true, false},   // the last page disables "下一条 >>"
      {0, "nnnnn", 4, true, false},  // a press on the disabled button changes nothing
      {0, "nnnnp", 3, true, true},   // going back from the end enables "下一条 >>" again
      {4, "pppp", 0, false, true},  {4, "ppppp", 0, false, true}, {4, "ppppn", 1, true, true},
      {2, "pp", 0, false, true},    {2, "nn", 4, true, false},    {2, "pn", 2, true, true},
      {0, "p", 0, false, true},     {4, "n", 4, true, false},     {7, "nnnnpppp", 0, false, true},
  };
  for (const MoveCase& c : cases) {
    QuickStartPages pages(c.stored);
    for (const char move : c.moves) move == 'n' ? pages.Next() : pages.Previous();
    EXPECT_EQ(pages.page(), c.page) << c.stored << " " << c.moves;
    EXPECT_EQ(pages.previousEnabled(), c.previous) << c.stored << " " << c.moves;
    EXPECT_EQ(pages.nextEnabled(), c.next) << c.stored << " " << c.moves;
  }
}

TEST(QuickStartPages, RandomPressesNeverLeaveThePagesOrEnableAButtonAtItsEnd) {
  std::mt19937 random(12345);
  for (int run = 0; run < 200; ++run) {
    QuickStartPages pages(static_cast<int>(random() % 9) - 2);
    for (int press = 0; press < 40; ++press) {
      const int before = pages.page();
      const bool next = random() % 2 == 0;
      const bool enabled = next ? pages.nextEnabled() : pages.previousEnabled();
      const bool moved = next ? pages.Next() : pages.Previous();
      ASSERT_EQ(moved, enabled);
      ASSERT_EQ(pages.page(), before + (moved ? (next ? 1 : -1) : 0));
      ASSERT_GE(pages.page(), 0);
      ASSERT_LT(pages.page(), kQuickStartPageCount);
      ASSERT_FALSE(pages.previousEnabled() && pages.page() == 0);
      ASSERT_FALSE(pages.nextEnabled() && pages.page() == kQuickStartPageCount - 1);
      ASSERT_EQ(pages.previousEnabled(), pages.page() > 0);
      ASSERT_EQ(pages.nextEnabled(), pages.page() < kQuickStartPageCount - 1);
    }
  }
}

TEST(QuickStartPages, ClosingKeepsThePageOrTurnsTheWindowOff) {
  for (int page = 0; page < kQuickStartPageCount; ++page) {
    EXPECT_EQ(StartedPageOnClose(page, false), page);
    EXPECT_EQ(StartedPageOnClose(page, true), kQuickStartOff);
  }
  EXPECT_TRUE(ShowQuickStartAtStart(0));
  EXPECT_TRUE(ShowQuickStartAtStart(4));
  EXPECT_FALSE(ShowQuickStartAtStart(kQuickStartOff));
}

TEST(QuickStartSession, EveryMoveIsStoredAtOnceAndClosingSaves) {
  std::int16_t started = 1;
  std::vector<std::int16_t> saved;
  QuickStartSession session(started, [&] {
    saved.push_back(started);
    return true;
  });
  EXPECT_FALSE(session.dontShowAgainAtOpen());
  EXPECT_TRUE(session.Next());
  EXPECT_EQ(started, 2);
  EXPECT_TRUE(session.Previous());
  EXPECT_EQ(started, 1);
  EXPECT_TRUE(saved.empty());  // moves are stored, the file is written at the close
  EXPECT_TRUE(session.Close(false));
  EXPECT_EQ(saved, std::vector<std::int16_t>{1});
}

TEST(QuickStartSession, TheCheckBoxTurnsTheWindowOffAndTheSaveHappensEitherWay) {
  for (const bool checked : {false, true}) {
    std::int16_t started = 3;
    int saves = 0;
    QuickStartSession session(started, [&] {
      ++saves;
      return false;
    });
    session.Next();
    EXPECT_FALSE(session.Close(checked));  // the save's answer comes back
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(started, checked ? kQuickStartOff : 4);
  }
}

TEST(QuickStartSession, AskedForAfterItWasTurnedOffItShowsPageZeroAndStaysOff) {
  std::int16_t started = kQuickStartOff;
  QuickStartSession session(started, [] { return true; });
  EXPECT_EQ(session.pages().page(), 0);
  EXPECT_FALSE(session.pages().previousEnabled());
  EXPECT_TRUE(session.pages().nextEnabled());
  EXPECT_TRUE(session.dontShowAgainAtOpen());
  EXPECT_EQ(started, kQuickStartOff);  // opening alone stores nothing
  session.Close(true);
  EXPECT_EQ(started, kQuickStartOff);

  std::int16_t again = kQuickStartOff;
  QuickStartSession unchecked(again, [] { return true; });
  unchecked.Next();
  EXPECT_EQ(again, 1);
  unchecked.Close(false);
  EXPECT_EQ(again, 1);  // unchecking brings the window back at the next start
}

TEST(QuickStartSession, ADamagedStoredPageOpensAndClosesOnPageZero) {
  std::int16_t started = 7;
  QuickStartSession session(started, [] { return true; });
  EXPECT_EQ(session.pages().page(), 0);
  EXPECT_FALSE(session.dontShowAgainAtOpen());
  session.Close(false);
  EXPECT_EQ(started, 0);
}

}  // namespace
}  // namespace kivo
