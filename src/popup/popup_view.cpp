#include "popup/popup_view.h"

#include <algorithm>

#include "core/text.h"
#include "dock/dock_view.h"

namespace kivo {
namespace {

constexpr int kEdge = 10;     // the skin's rim around the rows
constexpr int kSkinRim = 12;  // MENUTOP and MENUBOTTOM
constexpr int kSpacerHeight = 5;
constexpr int kIconInset = 13;  // from the list's left edge
constexpr int kIconTop = 3;     // from the row's top
constexpr int kTitleInset = 48;
constexpr int kTitleWidth = 183;
constexpr int kHotkeyInset = 237;
constexpr int kHotkeyWidth = 18;
constexpr int kTextTop = 5;
constexpr int kTextHeight = 28;
constexpr int kOpenFadeFrames = 4;
constexpr int kCloseFadeFrames = 3;
constexpr int kClosePause = 50;

ImageRef Skin(int number) {
  return ImageRef{ImageTable::Skin, number, 0};
}

const PopupRow& NoRow() {
  static const PopupRow none;
  return none;
}

}  // namespace

PopupView::PopupView(Canvas& canvas, Clock& clock, const ShortcutStore& store,
                     std::function<void(int)> ensureIcon)
    : canvas_(canvas), clock_(clock), store_(store), ensureIcon_(std::move(ensureIcon)) {}

const PopupRow& PopupView::row(int member) const {
  if (member < 1 || member > static_cast<int>(rows_.size())) return NoRow();
  return rows_[static_cast<std::size_t>(member - 1)];
}

void PopupView::IniMenuParam(int group, const RingGeometry& geometry, int rowsPerPage) {
  state_.group = group;
  state_.results = false;
  resultItems_.clear();
  state_.scroll = PopupScroll{};
  MenuResize(geometry, rowsPerPage);  // a list opens at its top
}

void PopupView::IniResultList(std::vector<int> items, const RingGeometry& geometry,
                              int rowsPerPage) {
  state_.group = 0;  // the list lies where the centre's would
  state_.results = true;
  state_.scroll = PopupScroll{};
  resultItems_ = std::move(items);
  MenuResize(geometry, rowsPerPage);
}

void PopupView::MenuResize(const RingGeometry& geometry, int rowsPerPage) {
  rows_.clear();
  if (state_.results) {
    for (const int item : resultItems_) {
      if (item < 0 || item > kLastItem) continue;
      rows_.push_back(
          PopupRow{item, CleanText(store_.Items[static_cast<std::size_t>(item)].Title.str())});
    }
  } else if (state_.group >= 0 && state_.group < kGroupCount) {
    const ItemGroup& group = store_.Groups[static_cast<std::size_t>(state_.group)];
    const int count = std::clamp(group.Count, 0, static_cast<int>(group.Members.size()) - 1);
    for (int m = 1; m <= count; ++m) {
      const int item = group.Members[static_cast<std::size_t>(m)];
      if (item < 0 || item > kLastItem) continue;
      rows_.push_back(
          PopupRow{item, CleanText(store_.Items[static_cast<std::size_t>(item)].Title.str())});
    }
  }
  state_.count = static_cast<int>(rows_.size());
  state_.layout = LayOutPopup(geometry, state_.group, state_.count, rowsPerPage);
  // Fewer members may leave the offset past the last page, or no paging at all.
  state_.scroll = KeepScroll(state_.scroll, state_.count, state_.layout.rows);
  if (state_.hovered > VisibleRows() + (state_.layout.paging ? 1 : 0)) state_.hovered = -1;
}

int PopupView::VisibleRows() const {
  return std::min(state_.count, state_.layout.rows);
}

void PopupView::DrawRow(int r, bool highlight) {
  const PopupLayout& layout = state_.layout;
  const PixelRect& rect = layout.rowRects[static_cast<std::size_t>(r)];
  if (highlight && state_.hovered == r) {
    canvas_.DrawImage(Skin(state_.pressedLook ? kSkinMenuMouseDown : kSkinMenuSelect), rect);
  }
  const int member = state_.scroll.offset + r;
  const PopupRow& shown = row(member);
  if (ensureIcon_) ensureIcon_(shown.item);
  const int icon = store_.Items[static_cast<std::size_t>(shown.item)].ItemIndex;
  canvas_.DrawImage(
      ImageRef{ImageTable::Icon, icon, kPopupIconVariant},
      PixelRect{layout.left + kIconInset, rect.top + kIconTop, kPopupIconEdge, kPopupIconEdge});
  canvas_.DrawTextBox(
      shown.title,
      PixelRect{layout.left + kTitleInset, rect.top + kTextTop, kTitleWidth, kTextHeight},
      kPopupTextColour);
  // Letters and digits go to the search field while results show.
  const std::string_view hotkey = state_.results ? std::string_view{} : HotkeyCharacter(member);
  if (!hotkey.empty()) {
    canvas_.DrawTextBox(
        hotkey,
        PixelRect{layout.left + kHotkeyInset, rect.top + kTextTop, kHotkeyWidth, kTextHeight},
        kPopupTextColour);
  }
}

void PopupView::DrawList(bool highlight) {
  const PopupLayout& layout = state_.layout;
  const int left = layout.left;
  const int top = layout.top;
  canvas_.Clear(kTransparent);
  const int body = layout.height - 2 * kEdge;
  canvas_.DrawImage(Skin(kSkinMenuBody), PixelRect{left, top + kEdge, kPopupWidth, body});
  canvas_.DrawImage(Skin(kSkinMenuTop), PixelRect{left, top, kPopupWidth, kSkinRim});
  canvas_.DrawImage(Skin(kSkinMenuBottom),
                    PixelRect{left, top + layout.height - kSkinRim, kPopupWidth, kSkinRim});
  if (layout.paging) {
    const int down = layout.rows + 1;
    const PixelRect& upRect = layout.rowRects[0];
    const PixelRect& downRect = layout.rowRects[static_cast<std::size_t>(down)];
    const bool upLit = highlight && state_.hovered == 0;
    const bool downLit = highlight && state_.hovered == down;
    canvas_.DrawImage(Skin(upLit ? kSkinMenuUpSelect : kSkinMenuUpUnselect), upRect);
    if (state_.scroll.canScrollUp) canvas_.DrawTextBox("PgUp", upRect, kPopupTextColour, true);
    for (const int spacerTop : {upRect.bottom(), downRect.top - kSpacerHeight}) {
      canvas_.DrawImage(Skin(kSkinMenuSpace),
                        PixelRect{left + kEdge, spacerTop, kPopupRowWidth, kSpacerHeight});
    }
    canvas_.DrawImage(Skin(downLit ? kSkinMenuDownSelect : kSkinMenuDownUnselect), downRect);
    if (state_.scroll.canScrollDown) {
      canvas_.DrawTextBox("PgDn", downRect, kPopupTextColour, true);
    }
  }
  for (int r = 1; r <= VisibleRows(); ++r) DrawRow(r, highlight);
}

void PopupView::MenuNormal(int alpha) {
  DrawList(false);
  canvas_.Present(alpha);
}

void PopupView::MenuAction() {
  DrawList(true);
  canvas_.Present(255);
}

void PopupView::FadeIn(bool fade) {
  if (fade) {
    for (int k = 1; k <= kOpenFadeFrames; ++k) {
      MenuNormal(64 * k - 1);
      clock_.Sleep(kFramePause);
    }
  }
  MenuNormal(255);
}

void PopupView::FadeOut(bool fade) {
  if (fade) {
    for (int k = 1; k <= kCloseFadeFrames; ++k) {
      MenuNormal(255 - 64 * k);
      clock_.Sleep(kFramePause);
    }
  }
  canvas_.Clear(kTransparent);
  canvas_.Present(255);
  clock_.Sleep(kClosePause);
}

}  // namespace kivo
