#include "popup/popup_view.h"

#include <algorithm>

#include "core/text.h"
#include "dock/dock_view.h"

namespace kivo {
namespace {

constexpr int kOpenFadeFrames = 4;
constexpr int kCloseFadeFrames = 3;
constexpr int kClosePause = 50;

ImageRef Skin(int number, const PopupSizes& sizes) {
  return ImageRef{ImageTable::Skin, number, sizes.dpi == 96 ? 0 : kPopupSkinVariant};
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
  const PopupSizes& z = layout.sizes;
  const PixelRect& rect = layout.rowRects[static_cast<std::size_t>(r)];
  if (highlight && state_.hovered == r) {
    canvas_.DrawImage(Skin(state_.pressedLook ? kSkinMenuMouseDown : kSkinMenuSelect, z), rect);
  }
  const int member = state_.scroll.offset + r;
  const PopupRow& shown = row(member);
  if (ensureIcon_) ensureIcon_(shown.item);
  const int icon = store_.Items[static_cast<std::size_t>(shown.item)].ItemIndex;
  canvas_.DrawImage(ImageRef{ImageTable::Icon, icon, kPopupIconVariant},
                    PixelRect{layout.left + z.iconInset, rect.top + z.iconTop, z.icon, z.icon});
  canvas_.DrawTextBox(
      shown.title,
      PixelRect{layout.left + z.titleInset, rect.top + z.textTop, z.titleWidth, z.textHeight},
      kPopupTextColour);
  // Letters and digits go to the search field while results show.
  const std::string_view hotkey = state_.results ? std::string_view{} : HotkeyCharacter(member);
  if (!hotkey.empty()) {
    canvas_.DrawTextBox(
        hotkey,
        PixelRect{layout.left + z.hotkeyInset, rect.top + z.textTop, z.hotkeyWidth, z.textHeight},
        kPopupTextColour);
  }
}

void PopupView::DrawList(bool highlight) {
  const PopupLayout& layout = state_.layout;
  const PopupSizes& z = layout.sizes;
  const int left = layout.left;
  const int top = layout.top;
  canvas_.Clear(kTransparent);
  // The body is stretched to the list's height whatever the dpi, so it needs no copy.
  const int body = layout.height - 2 * z.edge;
  canvas_.DrawImage(ImageRef{ImageTable::Skin, kSkinMenuBody, 0},
                    PixelRect{left, top + z.edge, layout.width, body});
  canvas_.DrawImage(Skin(kSkinMenuTop, z), PixelRect{left, top, layout.width, z.rim});
  canvas_.DrawImage(Skin(kSkinMenuBottom, z),
                    PixelRect{left, top + layout.height - z.rim, layout.width, z.rim});
  if (layout.paging) {
    const int down = layout.rows + 1;
    const PixelRect& upRect = layout.rowRects[0];
    const PixelRect& downRect = layout.rowRects[static_cast<std::size_t>(down)];
    const bool upLit = highlight && state_.hovered == 0;
    const bool downLit = highlight && state_.hovered == down;
    canvas_.DrawImage(Skin(upLit ? kSkinMenuUpSelect : kSkinMenuUpUnselect, z), upRect);
    if (state_.scroll.canScrollUp) canvas_.DrawTextBox("PgUp", upRect, kPopupTextColour, true);
    for (const int spacerTop : {upRect.bottom(), downRect.top - z.spacer}) {
      canvas_.DrawImage(Skin(kSkinMenuSpace, z),
                        PixelRect{left + z.edge, spacerTop, z.rowWidth, z.spacer});
    }
    canvas_.DrawImage(Skin(downLit ? kSkinMenuDownSelect : kSkinMenuDownUnselect, z), downRect);
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
