// Scrolling a group's popup list: which members a page shows, and whether it can scroll
// on. Only a list in paging mode (more members than rows) scrolls.
#pragma once

namespace kivo {

struct PopupScroll {
  int offset = 0;  // members scrolled past
  bool canScrollUp = false;
  bool canScrollDown = false;
  friend bool operator==(const PopupScroll&, const PopupScroll&) = default;
};

// The list as it opens: at the top, able to scroll down when it pages.
PopupScroll OpenScroll(int count, int rowsPerPage);

// One row (the wheel, the arrow keys at a page's edge) or one page (PgUp/PgDn and the page
// buttons) up or down. The offset stays within 0..count - rowsPerPage.
PopupScroll ScrollByRow(const PopupScroll& scroll, bool up, int count, int rowsPerPage);
PopupScroll ScrollByPage(const PopupScroll& scroll, bool up, int count, int rowsPerPage);

// The same offset on a list whose count changed, kept within 0..count - rowsPerPage.
PopupScroll KeepScroll(const PopupScroll& scroll, int count, int rowsPerPage);

// The member a key addresses, visible or not: "0".."9" members 1..10, "A".."Z" members
// 11..36; 0 for any other key or a member the group does not have.
int MemberForKey(int key, int count);

}  // namespace kivo
