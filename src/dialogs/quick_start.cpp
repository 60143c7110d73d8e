#include "dialogs/quick_start.h"

namespace kivo {
namespace {
constexpr int kLastPage = kQuickStartPageCount - 1;
}  // namespace

QuickStartPages::QuickStartPages(int storedPage)
    : page_(storedPage < 0 || storedPage > kLastPage ? 0 : storedPage) {
  Follow();
}

// Each button works whenever there is a page in its direction. (Changing them only on
// reaching an end would leave "<< 上一条" disabled after paging on from the first page.)
void QuickStartPages::Follow() {
  previousEnabled_ = page_ > 0;
  nextEnabled_ = page_ < kLastPage;
}

bool QuickStartPages::Previous() {
  if (!previousEnabled_) return false;
  --page_;
  Follow();
  return true;
}

bool QuickStartPages::Next() {
  if (!nextEnabled_) return false;
  ++page_;
  Follow();
  return true;
}

std::int16_t StartedPageOnClose(int pageShown, bool dontShowAgain) {
  if (dontShowAgain) return kQuickStartOff;
  return static_cast<std::int16_t>(pageShown < 0 || pageShown > kLastPage ? 0 : pageShown);
}

bool QuickStartSession::Previous() {
  if (!pages_.Previous()) return false;
  startedPage_ = static_cast<std::int16_t>(pages_.page());
  return true;
}

bool QuickStartSession::Next() {
  if (!pages_.Next()) return false;
  startedPage_ = static_cast<std::int16_t>(pages_.page());
  return true;
}

bool QuickStartSession::Close(bool dontShowAgain) {
  startedPage_ = StartedPageOnClose(pages_.page(), dontShowAgain);
  return saveSettings_ ? saveSettings_() : false;
}

}  // namespace kivo
