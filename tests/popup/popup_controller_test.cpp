#include "popup/popup_controller.h"

#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <optional>
#include <random>
#include <sstream>

#include "items/group_helpers.h"
#include "items/item_world.h"
#include "render/display_list.h"
#include "search/item_search.h"

namespace kivo {
namespace {

constexpr int P = 4;          // rows per page
constexpr int kCommand = 70;  // a built-in command (running command 73), member 1 where asked
constexpr int kFirst = 300;   // member m of a filled group is item kFirst + m
constexpr std::size_t U(int i) {
  return static_cast<std::size_t>(i);
}

// What the dock and the list ask of the world, as short words ("S" and "H": the list's window
// shown and hidden). Once `dock` and `popup` are set, each reaches the other.
class World : public DockPorts, public DockActions, public PopupPorts, public PopupActions {
 public:
  std::vector<std::string> acts;
  std::function<bool(int)> deleter;
  bool shown = false, textInput = false;  // the dock's windows; the search field's input
  DockController* dock = nullptr;
  PopupController* popup = nullptr;
  void Log(const char* what, int n) { acts.push_back(what + (" " + std::to_string(n))); }
  void SetTimer(DockTimer, bool) override {}
  void BringToFront() override {}
  void SendToBottom() override {}
  void ShowWindows(bool visible) override { shown = visible; }
  void SetTextInput(bool on) override { textInput = on; }
  void ShowSearchResults(const std::vector<int>& items) override {
    popup->Handle(PopupEvent::Results(items));
  }
  void SearchListKey(int key) override { popup->Handle(PopupEvent::Key(key)); }
  void LaunchItem(int item) override { Log("launch", item); }
  void RunCommand(int command) override { Log("run", command); }
  void SaveStore() override { acts.push_back("save"); }
  void OpenPopup(int slot) override { popup->Handle(PopupEvent::Open(slot)); }
  void ClosePopup() override { popup->Handle(PopupEvent::Close()); }
  void OpenContextMenu(int) override {}
  bool DeleteItem(int item) override { return deleter(item); }
  void ShowQuickStart() override {}
  void EndProgram() override {}
  void SetTimer(PopupTimer, bool) override {}
  void Show(const PixelRect&) override { acts.push_back("S"); }
  void ShowBesideField(const PixelRect&) override { acts.push_back("B"); }
  void Hide() override { acts.push_back("H"); }
  void ShowSprite(const ImageRef&, const PixelRect&) override {}
  void HideSprite() override {}
  void OpenItemMenu(int item, int group, int position) override {
    acts.push_back("menu " + std::to_string(item) + " " + std::to_string(group) + ":" +
                   std::to_string(position));
  }
  bool DeleteMember(int item) override { return Log("delete", item), deleter(item); }
  void GroupEmptied(int group) override { Log("emptied", group); }
  void Closed(bool dockTakesFocus) override {
    Log("closed", dockTakesFocus);
    if (dock) dock->Handle(DockEvent::Simple(DockEvent::Kind::PopupClosed));
  }
  void Activity(bool active) override {
    DockEvent e = DockEvent::Simple(DockEvent::Kind::PopupActivity);
    e.flag = active;
    if (dock) dock->Handle(e);
  }
};

class PopupTest : public ::testing::Test, public Clock {
 protected:
  PopupTest() {
    ApplyDefaultSettings(settings_, screen_);
    settings_.IconCount = 12, settings_.PopupRows = P;
    geometry_ = ComputeRing(MakeRingMetrics(screen_, settings_));
    // The list asks before a member goes; the prompts' answer stands for the user's.
    world_.deleter = [this](int i) {
      return w_.prompts.answer && DeleteItem(items_, i, false) == 1;
    };
    pacer_.SetOnIdle([this] {
      if (dock_) dock_->Resume();
      popup_->Resume();
    });
  }
  void Sleep(int ms) override { pacer_.Sleep(ms); }
  ShortcutItem& Item(int i) { return store_.Items[U(i)]; }
  // `count` members of kind 5 (the first the command when asked), items `first` + 1 on.
  void Fill(int group, int count, bool command = false, int first = kFirst) {
    ItemGroup& g = store_.Groups[U(group)];
    std::fill(g.Members.begin() + 1, g.Members.end(), 0);
    for (int m = 1; m <= count; ++m) {
      const int item = g.Members[U(m)] = command && m == 1 ? kCommand : first + m;
      Item(item).ItemType = item == kCommand ? kItemBuiltInCommand : kItemGroupMember;
      Item(item).IsSystem = item == kCommand, Item(item).CommandId = 73;
      Item(item).ItemIndex = item, Item(item).Title = "M" + std::to_string(m);
    }
    g.Count = count;
  }
  void On(const PopupEvent& e) { popup_->Handle(e); }
  void Finish() {
    for (int guard = 0; pacer_.busy() && guard < 1000; ++guard) pacer_.Tick();
  }
  const PopupState& S() const { return popup_->state(); }
  // One step: "o"/"oG" opens the group / group G; "cmd" makes member 1 the command; "no"
  // answers no to deleting; "wu"/"wd" the wheel; a key by name or "kX"; "fg"/"hp" the
  // foreground tick / hover poll; "lost" the mouse taken away; "r" the members as search
  // results; on row R ("x" none, "+" row 1 moved 2 px): "mR" a move, "LR"/"RR" a left/right
  // click, "pR" a press, "gR" a move with it held, "uR" its release; "dR>S" a drag.
  void Step(const std::string& t) {
    static const std::map<std::string, int> keys = {{"pgup", kKeyPageUp}, {"pgdn", kKeyPageDown},
                                                    {"up", kKeyUp},       {"down", kKeyDown},
                                                    {"enter", kKeyEnter}, {"esc", kKeyEscape}};
    const std::string r = t.substr(1);
    const PixelRect& rect =
        S().layout.rowRects[r == "+" || !std::isdigit(r[0]) ? 1 : std::stoul(r)];
    const int x = r == "x" ? 5 : rect.left + rect.width / 2 + (r == "+" ? 2 : 0);
    const int y = r == "x" ? 5 : rect.top + rect.height / 2;
    const auto button = t[0] == 'R' ? MouseButton::Right : MouseButton::Left;
    if (t[0] == 'o') {
      On(PopupEvent::Open(t.size() > 1 ? std::stoi(r) : group_));
    } else if (t == "r") {  // the group's members as the search's results
      const ItemGroup& g = store_.Groups[U(group_)];
      On(PopupEvent::Results({g.Members.begin() + 1, g.Members.begin() + 1 + g.Count}));
    } else if (t == "cmd" || t == "no") {
      t == "no" ? void(w_.prompts.answer = false) : Fill(group_, store_.Groups[U(group_)].Count, 1);
    } else if (t == "wu" || t == "wd") {
      On(PopupEvent::Wheel(t == "wu"));
    } else if (keys.count(t) || t[0] == 'k') {
      On(PopupEvent::Key(keys.count(t) ? keys.at(t) : t[1]));
    } else if (t == "refresh") {
      On(PopupEvent::Refresh());
    } else if (t == "lost") {
      On(PopupEvent{PopupEvent::Kind::CancelPress});
    } else if (t == "fg" || t == "hp") {
      On(PopupEvent::TimerTick(t == "fg" ? PopupTimer::Foreground : PopupTimer::HoverPoll, 5, 5));
    } else if (t[0] == 'd') {
      Step("p" + t.substr(1, 1)), Step("g" + t.substr(3)), Step("u" + t.substr(3));
    } else {
      if (t[0] != 'u') On(PopupEvent::Move(x, y, t[0] == 'g'));
      if (t[0] == 'L' || t[0] == 'R' || t[0] == 'p') On(PopupEvent::Down(button, x, y));
      if (t[0] == 'L' || t[0] == 'R' || t[0] == 'u') On(PopupEvent::Up(button, x, y));
    }
  }
  // Steps joined by "," arrive together, before the animations under way have played.
  void Run(const std::string& script) {
    std::istringstream in(script);
    for (std::string t, part; in >> t; Finish())
      for (std::istringstream parts(t); std::getline(parts, part, ',');) Step(part);
  }

  ScreenInfo screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  Settings settings_;
  ShortcutStore store_;
  RingGeometry geometry_;
  DockState dockState_;
  std::vector<Frame> frames_;
  DisplayList canvas_{[this](const Frame& f) { frames_.push_back(f); }};
  FramePacer pacer_{[](const Frame&) {}, [](int) { return true; }};
  PopupView view_{canvas_, *this, store_};
  World world_;
  testing::ItemWorld w_;
  ItemContext items_{store_,   w_.paths,    settings_, w_.files,   w_.system,
                     w_.icons, w_.registry, w_.codec,  w_.prompts, w_.images};
  std::optional<PopupController> popup_{
      std::in_place, view_,     pacer_,    world_,     world_,
      store_,        settings_, geometry_, dockState_, DragThreshold{4, 4}};
  std::optional<DockController> dock_;
  int group_ = 7;
};

// Scripts on a list of `count` members (P = 4; member m is item 300 + m): what the world is
// asked (see Step), where the list ends (open while its window was last shown, a member fewer after
// a "save"), and its last frame, whatever the script: the page buttons ("PgUp" and "PgDn" where it
// can scroll that way), each shown member's icon, title and hotkey, and the hovered row lit under
// its icon (nothing lit while a member is carried off).
TEST_F(PopupTest, ScriptsScrollLaunchDragAndClose) {
  // Count: script = acts @offset hovered. Count = P never scrolls, nor past count - P;
  // members 4 and 36 are missing; after a deletion the offset stays in range; the mouse
  // taken mid-drag deletes nothing; a tremble is a click; a command stays in the list; one
  // list at a time, unless the dock has asked for one since. Search results ("r"): the
  // first lit for Enter, nothing carried off, no menu, no hotkeys.
  std::istringstream table(
      "4: o wd wd pgdn = S @0 -1; 5: o wd wd wd = S @1 -1; 7: o pgdn = S @3 -1; "
      "10: o down down down down down = S @1 4; 10: o pgdn up up up up up = S @3 1; "
      "10: o L5 L5 L0 = S @2 0; 40: o pgdn pgdn kA = S|H|closed 1|launch 311 @8 -1; "
      "40: o pgdn pgdn pgdn pgdn pgdn pgdn pgdn pgdn pgdn = S @36 -1; 3: o k3 kZ = S @0 -1; "
      "10: o m0 enter m5 enter R0 R5 = S @0 5; 10: o wd R2 = S|menu 303 7:3 @1 2; "
      "10: o down down enter = S|H|closed 1|launch 302 @0 -1; 10: o p2 = S @0 2; "
      "3: cmd o L1 = S|H|closed 1|run 73 @0 -1; 3: o d1>x = S|delete 301|save|S @0 -1; "
      "3: no o d1>x = S|delete 301 @0 -1; 10: o pgdn pgdn d1>x = S|delete 307|save|S @5 -1; "
      "3: o d1>3 = S @0 3; 3: o p1 gx lost ux = S @0 -1; "
      "3: o d1>+ = S|H|closed 1|launch 301 @0 -1; 3: cmd o d1>x = S @0 -1; "
      "1: o d1>x = S|delete 301|save|H|emptied 7|closed 1 @0 -1; 3: o fg = S|H|closed 0 @0 -1; "
      "3: o esc = S|H|closed 1 @0 -1; 3: o down hp = S @0 1; 3: o o o9 = S|H|S|H|closed 0 @0 -1; "
      "3: o esc,o o,esc,o = S|H|S|H|S|H|S @0 -1; 10: r enter = B|H|closed 1|launch 301 @0 -1; "
      "10: r m3 hp enter = B|H|closed 1|launch 301 @0 -1; 3: r d1>x R2 kA k1 = B @0 2; "
      "3: o r = S|H|B @0 1");
  const ShortcutStore empty = store_;
  for (std::string row; std::getline(table >> std::ws, row, ';');) {
    const std::size_t colon = row.find(':'), eq = row.find(" = "), at = row.find(" @");
    const int count = std::stoi(row);
    const std::string script = row.substr(colon + 2, eq - colon - 2),
                      expected = row.substr(eq + 3, at - eq - 3);
    std::istringstream tail(row.substr(at + 2));
    int offset = 0, hovered = 0;
    tail >> offset >> hovered;
    store_ = empty, w_.prompts.answer = true, world_.acts.clear();
    group_ = count > 36 ? kAllProgramsGroup : 7;
    Fill(group_, count);
    Run(script);
    std::string acts, seen, want;
    for (const auto& a : world_.acts) acts += (acts.empty() ? "" : "|") + a;
    const PopupState& s = S();
    const ItemGroup& group = store_.Groups[U(group_)];
    EXPECT_EQ(acts, expected) << row;
    EXPECT_EQ((std::pair{s.scroll.offset, s.hovered}), (std::pair{offset, hovered})) << row;
    EXPECT_EQ(popup_->open(), acts[acts.find_last_of("SHB")] != 'H') << row;
    EXPECT_EQ(group.Count, count - (acts.find("save") != std::string::npos)) << row;
    if (!popup_->open()) continue;
    for (const DrawOp& op : frames_.back().ops) {
      const bool icon = op.image.table == ImageTable::Icon, skin = op.image.number <= 6;
      if (op.kind == DrawOp::Kind::TextBox) seen += op.text + " ";
      if (op.kind == DrawOp::Kind::Image && (icon || skin))
        seen += (icon ? "i" : "s") + std::to_string(op.image.number) + "@" +
                std::to_string(op.rect.top) + " ";
    }
    const int h = popup_->dragging() ? -1 : s.hovered, o = s.scroll.offset;
    const auto lit = [&](int n, int r, const std::string& then) {
      want += "s" + std::to_string(n) + "@" + std::to_string(s.layout.rowRects[U(r)].top) + " ";
      want += then;
    };
    if (s.layout.paging) {
      lit(h == 0 ? kSkinMenuUpSelect : kSkinMenuUpUnselect, 0, o > 0 ? "PgUp " : "");
      lit(h == P + 1 ? kSkinMenuDownSelect : kSkinMenuDownUnselect, P + 1,
          o < s.count - P ? "PgDn " : "");
    }
    for (int r = 1; r <= std::min(s.count, P); ++r) {
      const ShortcutItem& item = Item(group.Members[U(o + r)]);
      const std::string icon = "i" + std::to_string(item.ItemIndex) + "@" +
                               std::to_string(s.layout.rowRects[U(r)].top + 3) + " ";
      if (h == r) lit(s.pressedLook ? kSkinMenuMouseDown : kSkinMenuSelect, r, "");
      const char key =
          !s.results && o + r <= 36 ? "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"[o + r - 1] : 0;
      want += icon + item.Title.str() + " " + (key ? std::string{key, ' '} : "");
    }
    EXPECT_EQ(seen, want) << row;
    Run("esc");
  }
}

// Random sequences over the dock and its list together, wired as the program wires them,
// with the real deletion (its question answered at random). The dock: active only expanded,
// its windows shown exactly while not hidden, nothing hovered or lifted while hidden, and
// nothing drawn while collapsed or hidden. Its search field (Ctrl+F, typing, Backspace, the
// list's keys) opens only on an active, expanded dock, holds the input method exactly while
// open, shows what was typed, offers what the search finds, and keeps the slot keys from
// starting anything. The list: scroll and hovered row in range, one list at most, and the
// dock agrees once both are idle. The store keeps sound groups whose deleted members are
// free again.
TEST_F(PopupTest, RandomSequencesOverTheDockAndItsList) {
  std::mt19937 random(20261208);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int i = 0; i <= 38; ++i) Item(i).ItemType = kItemShortcut, Item(i).ItemIndex = i;
  Item(1).ItemType = Item(5).ItemType = kItemRingShortcut;
  Item(1).Title = "Notepad", Item(1).LinkPath = "C:\\Windows\\notepad.exe";
  Item(2).ItemType = kItemRecycleBin;
  Item(4).ItemType = kItemAllProgramsGroup;
  for (const auto& [group, count] : {std::pair{3, 6}, {4, 3}, {6, 0}, {7, P + 1}}) {
    if (group != 4) Item(group).ItemType = kItemGroup;
    Fill(group, count, group == 3, kFirst + 10 * group);
  }
  Item(kFirst + 72).Title = "记事本 M2";
  std::vector<Frame> dockFrames;
  DisplayList dockCanvas([&](const Frame& f) { dockFrames.push_back(f), pacer_.Push(f); });
  DockView dockView(dockCanvas, pacer_, store_, settings_, geometry_);
  const ShortcutStore original = store_;
  const int keys[] = {'0',        '3',          'A',    'Z',      kKeyEscape,
                      kKeyPageUp, kKeyPageDown, kKeyUp, kKeyDown, kKeyEnter};
  const int fieldKeys[] = {kKeyBackspace, kKeyEnter, kKeyDown};
  const char* const typed[] = {"m", "n", "2", "o", "\xE8\xAE\xB0", "\xEF\xBC\xAD", " ", "\x06"};
  for (int sequence = 0; sequence < 10000; ++sequence) {
    // Only the ring's items, the command, the members and the groups ever change.
    for (const auto& [from, to] : {std::pair{0, kCommand + 1}, {kFirst, kFirst + 80}})
      std::copy(original.Items.begin() + from, original.Items.begin() + to,
                store_.Items.begin() + from);
    store_.Groups = original.Groups;
    settings_.AutoHide = static_cast<std::uint8_t>(pick(2)), settings_.LockDragging = pick(4) == 0;
    world_.dock = nullptr, world_.popup = nullptr, dockView.state() = DockState{};
    popup_.emplace(view_, pacer_, world_, world_, store_, settings_, geometry_, dockView.state());
    view_.state() = PopupState{};
    dock_.emplace(dockView, pacer_, world_, world_, store_, settings_, DragThreshold{4, 4});
    world_.dock = &*dock_, world_.popup = &*popup_, world_.textInput = false;
    On(PopupEvent::Close());
    Finish();
    dock_->Handle(DockEvent::Simple(DockEvent::Kind::Start));
    for (int step = 0; step < 14; ++step) {
      frames_.clear(), dockFrames.clear();
      w_.prompts.answer = pick(2) == 0;
      const auto where = [&] { return std::to_string(sequence) + "/" + std::to_string(step); };
      const int target = pick(10) - 2, row = pick(P + 4) - 2;  // below 0: nowhere
      const auto& slot = geometry_.slots[U(std::max(target, 0))];
      const int dx = target < 0 ? 3 : slot.normalLeft + slot.normalSize / 2 + pick(7) - 3;
      const int dy = target < 0 ? 3 : slot.normalTop + slot.normalSize / 2 + pick(7) - 3;
      const PixelRect& r = S().layout.rowRects[U(std::max(row, 0))];
      const int px = row < 0 ? 3 : r.left + r.width / 2 + pick(9) - 4, py = r.top + r.height / 2;
      const auto button = pick(4) == 0 ? MouseButton::Right : MouseButton::Left;
      const auto dock = [&](const DockEvent& e) { dock_->Handle(e); };
      using K = DockEvent::Kind;
      const std::function<void()> events[] = {
          [&] { dock(DockEvent::Move(dx, dy, pick(2) == 0)); },
          [&] { dock(DockEvent::Down(button, dx, dy)); },
          [&] { dock(DockEvent::Up(button, dx, dy)); },
          [&] { dock(DockEvent::Key("0234AZ"[pick(6)], pick(5) == 0)); },
          [&] { dock(DockEvent::TimerTick(DockTimer(pick(5)), dx, dy, pick(2))); },
          [&] { On(PopupEvent::Move(px, py, pick(3) != 0)); },
          [&] { On(PopupEvent::Down(button, px, py)); },
          [&] { On(PopupEvent::Up(button, px, py)); },
          [&] { On(PopupEvent::Wheel(pick(2) == 0)); },
          [&] { On(PopupEvent::Key(keys[pick(10)])); },
          [&] { On(PopupEvent::TimerTick(PopupTimer(pick(2)), px, py, pick(3) != 0)); },
          [&] {
            if (pacer_.busy()) pacer_.Tick();
          },
          [&] { dock(DockEvent::Key(kKeySearch, false, pick(4) != 0)); },
          [&] { dock(DockEvent::Typed(typed[pick(8)])); },
          [&] { dock(DockEvent::Key(fieldKeys[pick(3)])); },
          [&] { dock(DockEvent::Key(pick(2) ? kKeyEscape : kKeySpace, pick(2))); },
          [&] { dock(DockEvent::Simple(pick(2) ? K::ToggleShown : K::ShowOrHide)); },
          [&] {
            dock(pick(2) ? DockEvent::Mode(DockMode(pick(3))) : DockEvent::KeyRelease(kKeyF1));
          }};
      constexpr int kWeighted[] = {0,  1,  2,  3,  4,  5,  5,  6,  7,  8,  9,  9, 10,
                                   11, 11, 11, 12, 13, 13, 13, 14, 14, 15, 16, 17};
      const int which = kWeighted[pick(25)];
      const DockMode before = dockView.state().mode;
      const bool waiting = pacer_.busy() || dock_->queued() > 0;  // may change the mode and back
      const bool searchedBefore = dock_->searching();
      const std::size_t actsBefore = world_.acts.size();
      events[which]();
      const PopupState& s = S();
      const DockState& d = dockView.state();
      const int lastRow = !popup_->open() ? -1 : s.layout.paging ? P + 1 : std::min(s.count, P);
      const bool idle = !pacer_.busy() && dock_->queued() == 0;
      ASSERT_TRUE(s.scroll.offset >= 0 && s.scroll.offset <= (s.layout.paging ? s.count - P : 0) &&
                  s.hovered >= -1 && s.hovered <= lastRow)
          << where();
      ASSERT_TRUE(!idle || popup_->open() == dock_->popupOpen()) << where();
      const bool expanded = d.mode == DockMode::Expanded, hidden = d.mode == DockMode::Hidden;
      ASSERT_TRUE((!d.active || expanded) && (!hidden || (d.hovered == -1 && !d.dragging)) &&
                  (!idle || world_.shown != hidden) && dock_->hidden() == hidden)
          << where();
      ASSERT_TRUE(before == DockMode::Expanded || d.mode != before || dockFrames.empty() ||
                  waiting || pacer_.busy())
          << where() << ": drawn while not expanded";
      ASSERT_TRUE((!d.searching || (d.active && expanded)) && world_.textInput == d.searching &&
                  (d.searching || d.searchText.empty()) &&
                  (!searchedBefore || which != 3 || world_.acts.size() == actsBefore))
          << where() << ": the search field";
      if (d.searching) {
        ASSERT_EQ(dock_->searchResults(),
                  FindItems(BuildSearchIndex(store_, 12, nullptr), d.searchText))
            << where();
        ASSERT_EQ(dock_->popupOpen(), !dock_->searchResults().empty()) << where();
        std::string field = "none";
        for (const DrawOp& op : dockFrames.empty() ? std::vector<DrawOp>{} : dockFrames.back().ops)
          if (op.kind == DrawOp::Kind::TextBox) field = op.text;
        ASSERT_TRUE(!idle || dockFrames.empty() ||
                    field == (d.searchText.empty()
                                  ? std::string(kSearchHint)
                                  : FieldTail(d.searchText, kSearchFieldChars) + "|"))
            << where() << " shows " << field;
      }
      // Every member is listed once, in one group, and one no longer listed is free again.
      std::array<bool, kItemCount> listed{};
      for (const int g : {3, 4, 6, 7}) {  // the others stay empty
        const ItemGroup& group = store_.Groups[U(g)];
        ASSERT_TRUE(group.Count >= 0 && group.Count <= GroupCapacity(g) &&
                    group.Members[U(group.Count + 1)] == 0)
            << where();
        for (int m = 1; m <= group.Count; ++m) {
          const int item = group.Members[U(m)];
          ASSERT_TRUE(item == kCommand || (item > kFirst && item < kFirst + 80)) << where();
          ASSERT_FALSE(std::exchange(listed[U(item)], true)) << where();
        }
      }
      for (int i = kFirst; i < kFirst + 80; ++i)
        ASSERT_EQ(Item(i).ItemType, listed[U(i)] ? kItemGroupMember : kItemUnused) << where();
    }
    Finish();
    ASSERT_EQ(dock_->queued(), 0u);
  }
}

}  // namespace
}  // namespace kivo
