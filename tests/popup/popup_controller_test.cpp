#include "popup/popup_controller.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <random>
#include <set>
#include <sstream>

#include "items/group_helpers.h"
#include "items/item_world.h"
#include "support/recording_canvas.h"

namespace kivo {
namespace {

using testing::CanvasCall;
using testing::RecordingCanvas;
using Kind = CanvasCall::Kind;
constexpr int P = 4;          // rows per page
constexpr int kCommand = 70;  // a built-in command, listed as member 1 where a case asks
constexpr int kGroup = 7;     // the group of short lists; longer ones go to group 3
constexpr int kFirst = 300;   // member m of a filled group is item kFirst + m

// What the dock and the list ask of the world, as short words. Once `dock` and `popup` are
// set, the dock's popup requests reach the list and the list's reports reach the dock.
class World : public DockPorts, public DockActions, public PopupPorts, public PopupActions {
 public:
  std::vector<std::string> acts;
  std::string windows;  // S: the list shown, H: hidden
  std::function<bool(int)> deleter;
  DockController* dock = nullptr;
  PopupController* popup = nullptr;
  void Log(const char* what, int n) { acts.push_back(what + (" " + std::to_string(n))); }
  void SetTimer(DockTimer, bool) override {}
  void BringToFront() override {}
  void SendToBottom() override {}
  void ShowWindows(bool) override {}
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
  void Show(const PixelRect&) override { windows += 'S'; }
  void Hide() override { windows += 'H'; }
  void ShowSprite(const ImageRef&, int, int) override {}
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
    settings_.IconCount = 12;
    settings_.PopupRows = P;
    geometry_ = ComputeRing(MakeRingMetrics(screen_, settings_));
    world_.deleter = [this](int item) {
      w_.prompts.answer = confirm_;
      return confirm_ && DeleteItem(items_, item, false) == 1;
    };
    pacer_.SetOnIdle([this] {
      if (dock_) dock_->Resume();
      popup_->Resume();
    });
  }
  void Sleep(int ms) override {
    canvas_.RecordPause(ms);
    pacer_.Sleep(ms);
  }
  ShortcutItem& Item(int i) { return store_.Items[static_cast<std::size_t>(i)]; }
  // `count` members of kind 5 (the first a command when asked) in a group of their own,
  // items `first` + 1 on.
  void Fill(int count, bool command = false, int group = -1, int first = kFirst) {
    group_ = group >= 0 ? group : count > 36 ? kAllProgramsGroup : kGroup;
    ItemGroup& g = store_.Groups[static_cast<std::size_t>(group_)];
    std::fill(g.Members.begin() + 1, g.Members.end(), 0);
    for (int m = 1; m <= count; ++m) {
      const int item = command && m == 1 ? kCommand : first + m;
      g.Members[static_cast<std::size_t>(m)] = item;
      Item(item).ItemType = command && m == 1 ? kItemBuiltInCommand : kItemGroupMember;
      Item(item).IsSystem = command && m == 1, Item(item).CommandId = 73;
      Item(item).ItemIndex = item, Item(item).Title = "M" + std::to_string(m);
    }
    g.Count = count;
  }
  void On(const PopupEvent& e) { popup_->Handle(e); }
  void Finish() {
    for (int guard = 0; pacer_.busy() && guard < 1000; ++guard) pacer_.Tick();
  }
  const PopupState& S() const { return popup_->state(); }
  // The centre of row `r` of the open list; "x" lies off every row, "+" is row 1 moved 2 px.
  std::pair<int, int> At(const std::string& r) const {
    if (r == "x") return {5, 5};
    const PixelRect& rect = S().layout.rowRects[r == "+" ? 1 : std::stoul(r)];
    return {rect.left + rect.width / 2 + (r == "+" ? 2 : 0), rect.top + rect.height / 2};
  }
  // A script of steps: "o" opens the filled group; "wu"/"wd" the wheel; a key by name or
  // "kX"; "mR" a move onto row R; "LR"/"RR" a left/right click on row R; "dR>S" a left-button
  // drag from row R to S; "fg" the foreground tick finding another window in front; "hp" the
  // hover poll with the pointer off the list.
  void Run(const std::string& script) {
    static const std::map<std::string, int> keys = {{"pgup", kKeyPageUp}, {"pgdn", kKeyPageDown},
                                                    {"up", kKeyUp},       {"down", kKeyDown},
                                                    {"enter", kKeyEnter}, {"esc", kKeyEscape}};
    std::istringstream in(script);
    for (std::string t; in >> t; Finish()) {
      const std::string rest = t.substr(1);
      const auto [x, y] = t[0] == 'm' || t[0] == 'L' || t[0] == 'R' ? At(rest) : std::pair{0, 0};
      const auto button = t[0] == 'R' ? MouseButton::Right : MouseButton::Left;
      if (t == "o") {
        On(PopupEvent::Open(group_));
      } else if (t == "wu" || t == "wd") {
        On(PopupEvent::Wheel(t == "wu"));
      } else if (keys.count(t)) {
        On(PopupEvent::Key(keys.at(t)));
      } else if (t == "fg" || t == "hp") {
        On(PopupEvent::TimerTick(t == "fg" ? PopupTimer::Foreground : PopupTimer::HoverPoll, 5, 5));
      } else if (t[0] == 'k') {
        On(PopupEvent::Key(t[1]));
      } else if (t[0] == 'm') {
        On(PopupEvent::Move(x, y));
      } else if (t[0] == 'L' || t[0] == 'R') {
        On(PopupEvent::Move(x, y)), On(PopupEvent::Down(button, x, y));
        On(PopupEvent::Up(button, x, y));
      } else if (t[0] == 'd') {
        const auto [fx, fy] = At(t.substr(1, 1));
        const auto [tx, ty] = At(t.substr(3));
        On(PopupEvent::Move(fx, fy)), On(PopupEvent::Down(MouseButton::Left, fx, fy));
        On(PopupEvent::Move(tx, ty, true)), On(PopupEvent::Up(MouseButton::Left, tx, ty));
      }
    }
  }
  std::vector<CanvasCall> Last() const {
    const auto frames = canvas_.Frames();
    return frames.empty() ? std::vector<CanvasCall>{} : frames.back();
  }
  static bool HasText(const std::vector<CanvasCall>& f, const std::string& text) {
    return std::any_of(f.begin(), f.end(), [&](const CanvasCall& c) { return c.text == text; });
  }
  static std::ptrdiff_t Find(const std::vector<CanvasCall>& f, const CanvasCall& call) {
    return std::find(f.begin(), f.end(), call) - f.begin();
  }

  ScreenInfo screen_ = MakeScreenInfo(1920, 1057, 23, 96, 96, Rect{0, 0, 1920, 1040});
  Settings settings_;
  ShortcutStore store_;
  RingGeometry geometry_;
  DockState dockState_;
  RecordingCanvas canvas_;
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
  bool confirm_ = true;
  int group_ = kGroup;
};

CanvasCall Img(ImageTable table, int number, const PixelRect& r, int variant = 0) {
  return CanvasCall::MakeImage(ImageRef{table, number, variant}, r);
}
CanvasCall Text(const std::string& text, const PixelRect& r) {
  CanvasCall call = CanvasCall::MakeText(text, r.left, r.top);
  call.area = r, call.colour = kPopupTextColour;
  return call;
}

TEST_F(PopupTest, RestingListDrawsItsSkinsRowsAndPageButtonsInPlace) {
  for (const int count : {3, 10}) {
    Fill(count);
    Run("o");
    const auto f = Last();
    const int L = S().layout.left, T = S().layout.top, rows = std::min(count, P);
    const bool paging = count > P;
    const int row1 = T + (paging ? 40 : 10), skin = static_cast<int>(ImageTable::Skin);
    std::vector<CanvasCall> want = {
        Img(ImageTable::Skin, kSkinMenuBody, {L, T + 10, 268, rows * 38 + (paging ? 60 : 0)}),
        Img(ImageTable::Skin, kSkinMenuTop, {L, T, 268, 12}),
        Img(ImageTable::Skin, kSkinMenuBottom, {L, T + (paging ? 68 : 8) + rows * 38, 268, 12}),
        Img(ImageTable::Icon, kFirst + 1, {L + 13, row1 + 3, 32, 32}, kPopupIconVariant),
        Text("M1", {L + 48, row1 + 5, 183, 28}),
        Text("0", {L + 237, row1 + 5, 18, 28})};
    if (paging) {
      for (const auto& [number, top, height] : {std::tuple{kSkinMenuUpUnselect, 10, 25},
                                                {kSkinMenuSpace, 35, 5},
                                                {kSkinMenuSpace, 40 + P * 38, 5},
                                                {kSkinMenuDownUnselect, 45 + P * 38, 25}}) {
        want.push_back(Img(ImageTable::Skin, number, {L + 10, T + top, 248, height}));
      }
    }
    for (const CanvasCall& call : want) EXPECT_LT(Find(f, call), std::ssize(f)) << call;
    EXPECT_EQ(std::count_if(f.begin(), f.end(),
                            [&](const CanvasCall& c) {
                              return c.kind == Kind::Image &&
                                     static_cast<int>(c.image.table) == skin;
                            }),
              paging ? 7 : 3);
  }
}

// Hotkey characters belong to member numbers; "PgUp" and "PgDn" show only where the list
// can scroll that way.
TEST_F(PopupTest, HotkeysFollowMemberNumbersAndPageTextsFollowTheScroll) {
  Fill(40);
  Run("o");
  const struct {
    int offset;
    std::string hotkeys;
    bool up, down;
  } cases[] = {{0, "0123", false, true},
               {10, "ABCD", true, true},
               {33, "XYZ", true, true},
               {36, "", true, false}};
  for (const auto& c : cases) {
    view_.state().scroll = KeepScroll(PopupScroll{c.offset}, 40, P);
    canvas_.calls.clear();
    view_.MenuNormal();
    std::string hotkeys;
    for (const CanvasCall& call : canvas_.Only(Kind::Text))
      if (call.area.left == S().layout.left + 237) hotkeys += call.text;
    EXPECT_EQ(hotkeys, c.hotkeys) << c.offset;
    EXPECT_EQ(HasText(canvas_.calls, "PgUp"), c.up) << c.offset;
    EXPECT_EQ(HasText(canvas_.calls, "PgDn"), c.down) << c.offset;
  }
}

TEST_F(PopupTest, HighlightMarksTheHoveredRowBeforeItsIcon) {
  Fill(10);
  Run("o");
  const struct {
    int row;
    bool pressed;
    int skin;
  } cases[] = {{2, false, kSkinMenuSelect},
               {2, true, kSkinMenuMouseDown},
               {0, false, kSkinMenuUpSelect},
               {P + 1, false, kSkinMenuDownSelect}};
  for (const auto& c : cases) {
    view_.state().hovered = c.row, view_.state().pressedLook = c.pressed;
    const PixelRect& r = S().layout.rowRects[static_cast<std::size_t>(c.row)];
    const CanvasCall lit = Img(ImageTable::Skin, c.skin, r);
    canvas_.calls.clear();
    view_.MenuAction();
    const auto icon =
        Find(canvas_.calls, Img(ImageTable::Icon, kFirst + 2, {r.left + 3, r.top + 3, 32, 32}, 4));
    EXPECT_LT(Find(canvas_.calls, lit), c.row == 2 ? icon : std::ssize(canvas_.calls)) << c.row;
    canvas_.calls.clear();
    view_.MenuNormal();  // at rest nothing is lit
    EXPECT_EQ(Find(canvas_.calls, lit), std::ssize(canvas_.calls)) << c.row;
  }
}

TEST_F(PopupTest, FadesOnlyWhenTheDockFades) {
  Fill(3);
  for (const bool fade : {true, false}) {
    dockState_.fade = fade;
    canvas_.calls.clear();
    Run("o");
    using V = std::vector<int>;
    EXPECT_EQ(canvas_.Values(Kind::Present), fade ? V({63, 127, 191, 255, 255}) : V{255});
    canvas_.calls.clear();
    Run("esc");
    EXPECT_EQ(canvas_.Values(Kind::Present), fade ? V({191, 127, 63, 255}) : V{255});
    EXPECT_EQ(canvas_.Values(Kind::Pause), fade ? V({25, 25, 25, 50}) : V{50});
    EXPECT_EQ(Last(), (std::vector<CanvasCall>{CanvasCall::MakeClear(kTransparent),
                                               CanvasCall::MakePresent(255)}));
  }
}

// Scripts on a list of `count` members (P = 4; member m is item 300 + m, or the command
// 70 running command 73 as member 1 when `command`), the deletion confirmed when `yes`.
TEST_F(PopupTest, ScriptsScrollLaunchDragAndClose) {
  const struct {
    int count;
    bool command, yes;
    const char* script;
    const char* acts;
    int offset, hovered;
    bool open;
    int members;
  } cases[] = {
      {4, false, true, "o wd wd pgdn", "", 0, -1, true, 4},  // count = P never scrolls
      {5, false, true, "o wd wd wd", "", 1, -1, true, 5},    // nor past count - P
      {7, false, true, "o pgdn", "", 3, -1, true, 7},
      {10, false, true, "o wd wu", "", 0, -1, true, 10},
      {10, false, true, "o down down down down down", "", 1, 4, true, 10},
      {10, false, true, "o pgdn up up up up up", "", 3, 1, true, 10},
      {10, false, true, "o L5 L5 L0", "", 2, 0, true, 10},
      {40, false, true, "o pgdn pgdn wd wd k1", "closed 1|launch 302", 10, -1, false, 40},
      {40, false, true, "o kA", "closed 1|launch 311", 0, -1, false, 40},
      {3, false, true, "o k3 kZ", "", 0, -1, true, 3},  // members 4 and 36 are missing
      {10, false, true, "o m0 enter m5 enter R0 R5", "", 0, P + 1, true, 10},
      {10, false, true, "o wd R2", "menu 303 7:3", 1, 2, true, 10},
      {10, false, true, "o down down enter", "closed 1|launch 302", 0, -1, false, 10},
      {10, false, true, "o L2", "closed 1|launch 302", 0, -1, false, 10},
      {3, true, true, "o L1", "closed 1|run 73", 0, -1, false, 3},
      {3, false, true, "o d1>x", "delete 301|save", 0, -1, true, 2},
      {3, false, false, "o d1>x", "delete 301", 0, -1, true, 3},
      {3, false, true, "o d1>3", "", 0, 3, true, 3},
      {3, false, true, "o d1>+", "closed 1|launch 301", 0, -1, false, 3},  // a tremble
      {3, true, true, "o d1>x", "", 0, -1, true, 3},  // a command stays in the list
      {1, false, true, "o d1>x", "delete 301|save|emptied 7|closed 1", 0, -1, false, 0},
      {3, false, true, "o fg", "closed 0", 0, -1, false, 3},
      {3, false, true, "o esc", "closed 1", 0, -1, false, 3},
      {3, false, true, "o down hp", "", 0, 1, true, 3},  // keys choose, the poll leaves it
      {3, false, true, "o m2 hp", "", 0, -1, true, 3},
  };
  const ShortcutStore empty = store_;
  for (const auto& c : cases) {
    store_ = empty;
    Fill(c.count, c.command);
    confirm_ = c.yes;
    world_.acts.clear();
    Run(c.script);
    std::string acts;
    for (const auto& a : world_.acts) acts += (acts.empty() ? "" : "|") + a;
    const std::string where = c.script + std::string(" on ") + std::to_string(c.count);
    EXPECT_EQ(acts, c.acts) << where;
    EXPECT_EQ(S().scroll.offset, c.offset) << where;
    EXPECT_EQ(S().hovered, c.hovered) << where;
    EXPECT_EQ(popup_->open(), c.open) << where;
    EXPECT_EQ(S().count, c.members) << where;
    EXPECT_FALSE(popup_->dragging()) << where;
    if (!popup_->open()) continue;
    EXPECT_EQ(HasText(Last(), "PgUp"), S().scroll.canScrollUp) << where;
    EXPECT_EQ(HasText(Last(), "PgDn"), S().scroll.canScrollDown) << where;
    Run("esc");
  }
}

// One list at a time: opening another group's list closes the first; an empty group shows
// nothing and reports at once.
TEST_F(PopupTest, OneListAtATime) {
  Fill(3);
  store_.Groups[8] = store_.Groups[kGroup];
  Run("o");
  On(PopupEvent::Open(8));
  Finish();
  EXPECT_EQ(world_.windows, "SHS");
  EXPECT_EQ(S().group, 8);
  EXPECT_TRUE(world_.acts.empty());
  On(PopupEvent::Open(9));
  Finish();
  EXPECT_EQ(world_.windows, "SHSH");
  EXPECT_FALSE(popup_->open());
  EXPECT_EQ(world_.acts, std::vector<std::string>{"closed 0"});
}

// A list whose members were moved shows them in their new order from the same offset, at
// rest; one emptied closes; a closed list stays closed.
TEST_F(PopupTest, RefreshReadsTheMembersAgainAndKeepsTheOffset) {
  Fill(10);
  Run("o wd m2");
  ASSERT_EQ(S().scroll.offset, 1);
  ItemGroup& g = store_.Groups[kGroup];
  std::rotate(g.Members.begin() + 2, g.Members.begin() + 3, g.Members.begin() + 11);
  world_.windows.clear();
  On(PopupEvent::Refresh());
  Finish();
  EXPECT_TRUE(popup_->open());
  EXPECT_EQ(world_.windows, "S");
  EXPECT_EQ(S().scroll.offset, 1);
  EXPECT_EQ(S().hovered, -1);
  // Members 2..5 are shown: item 302 ("M2") went last, "M6" moved up into view.
  const auto frame = Last();
  EXPECT_FALSE(HasText(frame, "M2"));
  EXPECT_TRUE(HasText(frame, "M6"));
  EXPECT_EQ(view_.row(2).item, kFirst + 3);
  EXPECT_EQ(view_.row(10).item, kFirst + 2);
  EXPECT_TRUE(world_.acts.empty());

  g.Count = 0;
  On(PopupEvent::Refresh());
  Finish();
  EXPECT_FALSE(popup_->open());
  EXPECT_EQ(world_.acts, (std::vector<std::string>{"emptied 7", "closed 1"}));
  world_.windows.clear();
  On(PopupEvent::Refresh());
  Finish();
  EXPECT_EQ(world_.windows, "");
}

// Random sequences over the dock and its list together, wired as the program wires them,
// with the real deletion (its question answered at random): the scroll and the hovered row
// stay in range, one list at most is open and the dock agrees once both are idle, and the
// store keeps sound groups whose deleted members are free again.
TEST_F(PopupTest, RandomSequencesOverTheDockAndItsList) {
  std::mt19937 random(20261208);
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int i = 0; i <= 38; ++i) Item(i).ItemType = kItemShortcut, Item(i).ItemIndex = i;
  for (const int i : {1, 5}) Item(i).ItemType = kItemRingShortcut;
  Item(2).ItemType = kItemRecycleBin;
  Item(4).ItemType = kItemAllProgramsGroup;
  std::set<int> members;
  for (const auto& [group, count] : {std::pair{3, 6}, {4, 3}, {6, 0}, {7, P + 1}}) {
    if (group != 4) Item(group).ItemType = kItemGroup;
    Fill(count, group == 3, group, kFirst + 10 * group);
    for (int m = 1; m <= count; ++m) members.insert(kFirst + 10 * group + m);
  }
  DisplayList dockCanvas([this](const Frame& f) { pacer_.Push(f); });
  DockView dockView(dockCanvas, pacer_, store_, settings_, geometry_);
  const auto slot = [&](int i) { return geometry_.slots[static_cast<std::size_t>(i)]; };
  const auto X = [&](int i) { return slot(i).normalLeft + slot(i).normalSize / 2; };
  const auto Y = [&](int i) { return slot(i).normalTop + slot(i).normalSize / 2; };
  const ShortcutStore original = store_;
  const int keys[] = {'0',        '3',          'A',    'Z',      kKeyEscape,
                      kKeyPageUp, kKeyPageDown, kKeyUp, kKeyDown, kKeyEnter};
  for (int sequence = 0; sequence < 10000; ++sequence) {
    // Only the ring's items, the command, the members and the groups ever change: copying
    // just those keeps this fast.
    for (const auto& [from, to] : {std::pair{0, kCommand + 1}, {kFirst, kFirst + 80}})
      std::copy(original.Items.begin() + from, original.Items.begin() + to,
                store_.Items.begin() + from);
    store_.Groups = original.Groups;
    settings_.AutoHide = static_cast<std::uint8_t>(pick(2));
    settings_.LockDragging = pick(4) == 0;
    world_.dock = nullptr;
    world_.popup = nullptr;
    dockView.state() = DockState{};
    popup_.emplace(view_, pacer_, world_, world_, store_, settings_, geometry_, dockView.state());
    view_.state() = PopupState{};
    dock_.emplace(dockView, pacer_, world_, world_, store_, settings_, DragThreshold{4, 4});
    world_.dock = &*dock_, world_.popup = &*popup_;
    On(PopupEvent::Close());
    Finish();
    dock_->Handle(DockEvent::Simple(DockEvent::Kind::Start));
    for (int step = 0; step < 12; ++step) {
      canvas_.calls.clear();
      confirm_ = pick(2) == 0;
      const int target = pick(10) - 2, row = pick(P + 4) - 2;  // below 0: nowhere
      const int dx = target < 0 ? 3 : X(target) + pick(7) - 3;
      const int dy = target < 0 ? 3 : Y(target) + pick(7) - 3;
      const PixelRect& r = S().layout.rowRects[static_cast<std::size_t>(std::max(row, 0))];
      const int px = row < 0 ? 3 : r.left + r.width / 2 + pick(9) - 4, py = r.top + r.height / 2;
      const auto button = pick(4) == 0 ? MouseButton::Right : MouseButton::Left;
      const int which = pick(16);
      switch (which) {
        case 0:
          dock_->Handle(DockEvent::Move(dx, dy, pick(2) == 0));
          break;
        case 1:
          dock_->Handle(DockEvent::Down(button, dx, dy));
          break;
        case 2:
          dock_->Handle(DockEvent::Up(button, dx, dy));
          break;
        case 3:
          dock_->Handle(DockEvent::Key("0234AZ"[pick(6)]));
          break;
        case 4:
          dock_->Handle(DockEvent::TimerTick(static_cast<DockTimer>(pick(5)), dx, dy, pick(2)));
          break;
        case 5:
        case 6:
          On(PopupEvent::Move(px, py, pick(3) != 0));
          break;
        case 7:
          On(PopupEvent::Down(button, px, py));
          break;
        case 8:
          On(PopupEvent::Up(button, px, py));
          break;
        case 9:
          On(PopupEvent::Wheel(pick(2) == 0));
          break;
        case 10:
        case 11:
          On(PopupEvent::Key(keys[pick(10)]));
          break;
        case 12:
          On(PopupEvent::TimerTick(static_cast<PopupTimer>(pick(2)), px, py, pick(3) != 0));
          break;
        default:
          if (pacer_.busy()) pacer_.Tick();
      }
      const PopupState& s = S();
      const std::string where = std::to_string(sequence) + "/" + std::to_string(step);
      ASSERT_TRUE(s.scroll.offset >= 0 && s.scroll.offset <= std::max(0, s.count - P)) << where;
      ASSERT_TRUE(s.layout.paging || s.scroll.offset == 0) << where;
      const int lastRow = s.layout.paging ? P + 1 : std::min(s.count, P);
      ASSERT_TRUE(s.hovered >= -1 && s.hovered <= lastRow) << where;
      ASSERT_TRUE(popup_->open() || s.hovered == -1) << where;
      const bool idle = !pacer_.busy() && dock_->queued() == 0;
      ASSERT_TRUE(!idle || popup_->open() == dock_->popupOpen()) << where;
      std::array<bool, kItemCount> listed{};
      for (const int g : {3, 4, 6, 7}) {  // the others stay empty
        const ItemGroup& group = store_.Groups[static_cast<std::size_t>(g)];
        ASSERT_TRUE(group.Count >= 0 && group.Count <= GroupCapacity(g)) << where;
        for (int m = 1; m <= group.Count; ++m) {
          const int member = group.Members[static_cast<std::size_t>(m)];
          ASSERT_TRUE(member >= kCommand && member <= kLastItem) << where;
          ASSERT_TRUE(member == kCommand || Item(member).ItemType == kItemGroupMember) << where;
          ASSERT_FALSE(listed[static_cast<std::size_t>(member)]) << where;
          listed[static_cast<std::size_t>(member)] = true;
        }
        ASSERT_EQ(group.Members[static_cast<std::size_t>(group.Count) + 1], 0) << where;
      }
      for (const int item : members)
        ASSERT_TRUE(listed[static_cast<std::size_t>(item)] || Item(item).ItemType == kItemUnused)
            << where;
    }
    Finish();
  }
}

}  // namespace
}  // namespace kivo
