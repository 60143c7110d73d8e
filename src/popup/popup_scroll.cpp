#include "popup/popup_scroll.h"

#include <algorithm>

namespace kivo {
namespace {

bool Pages(int count, int rowsPerPage) {
  return rowsPerPage > 0 && count > rowsPerPage;
}

// The flags follow from the offset: up while something is above, down while the last
// member is not shown yet.
PopupScroll At(int offset, int count, int rowsPerPage) {
  const int last = count - rowsPerPage;
  const int clamped = std::clamp(offset, 0, last);
  return PopupScroll{clamped, clamped > 0, clamped < last};
}

}  // namespace

PopupScroll OpenScroll(int count, int rowsPerPage) {
  return Pages(count, rowsPerPage) ? At(0, count, rowsPerPage) : PopupScroll{};
}

PopupScroll ScrollByRow(const PopupScroll& scroll, bool up, int count, int rowsPerPage) {
  if (!Pages(count, rowsPerPage)) return PopupScroll{};
  return At(scroll.offset + (up ? -1 : 1), count, rowsPerPage);
}

PopupScroll ScrollByPage(const PopupScroll& scroll, bool up, int count, int rowsPerPage) {
  if (!Pages(count, rowsPerPage)) return PopupScroll{};
  return At(scroll.offset + (up ? -rowsPerPage : rowsPerPage), count, rowsPerPage);
}

PopupScroll KeepScroll(const PopupScroll& scroll, int count, int rowsPerPage) {
  return Pages(count, rowsPerPage) ? At(scroll.offset, count, rowsPerPage) : PopupScroll{};
}

int MemberForKey(int key, int count) {
  int member = 0;
  if (key >= '0' && key <= '9') member = key - '0' + 1;
  if (key >= 'A' && key <= 'Z') member = key - 'A' + 11;
  return member >= 1 && member <= count ? member : 0;
}

}  // namespace kivo
