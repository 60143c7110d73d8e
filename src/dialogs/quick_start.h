// The quick-start window's pages: which one shows, which paging buttons work, and what
// the settings keep of it.
#pragma once

#include <cstdint>
#include <functional>
#include <utility>

namespace kivo {

inline constexpr int kQuickStartPageCount = 5;
// StartedPage once the user asked never to see the window again.
inline constexpr std::int16_t kQuickStartOff = -1;

// The page shown and the state of "<< 上一条" and "下一条 >>": each works while there is
// a page in its direction. A disabled button cannot be pressed, so a move through it does
// nothing.
class QuickStartPages {
 public:
  // Any stored value that is not a page (-1 when the window is asked for after it was
  // turned off, or a damaged value) opens the first page.
  explicit QuickStartPages(int storedPage);

  int page() const { return page_; }
  bool previousEnabled() const { return previousEnabled_; }
  bool nextEnabled() const { return nextEnabled_; }

  // True when the page changed.
  bool Previous();
  bool Next();

 private:
  void Follow();
  int page_ = 0;
  bool previousEnabled_ = true;
  bool nextEnabled_ = true;
};

// True when start-up shows the quick-start window.
inline bool ShowQuickStartAtStart(std::int16_t startedPage) {
  return startedPage != kQuickStartOff;
}

// What StartedPage keeps when the window closes: "turned off" when "不再显示" is checked,
// otherwise the page last shown, so the next start opens there.
std::int16_t StartedPageOnClose(int pageShown, bool dontShowAgain);

// One showing of the window over the settings field it works on: every move is stored in
// the field at once, and closing stores the final value and saves the settings.
class QuickStartSession {
 public:
  QuickStartSession(std::int16_t& startedPage, std::function<bool()> saveSettings)
      : startedPage_(startedPage),
        saveSettings_(std::move(saveSettings)),
        pages_(startedPage),
        dontShowAgain_(startedPage == kQuickStartOff) {}

  const QuickStartPages& pages() const { return pages_; }
  // "不再显示" starts checked when the window had been turned off, so looking at it
  // again (F1) does not turn it back on for every start.
  bool dontShowAgainAtOpen() const { return dontShowAgain_; }

  bool Previous();
  bool Next();
  // Stores the closing value and saves; the result is the save's.
  bool Close(bool dontShowAgain);

 private:
  std::int16_t& startedPage_;
  std::function<bool()> saveSettings_;
  QuickStartPages pages_;
  bool dontShowAgain_;
};

}  // namespace kivo
