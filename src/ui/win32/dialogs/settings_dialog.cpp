#include "ui/win32/dialogs/settings_dialog.h"

#include <commctrl.h>

#include <string>

#include "gfx/win32/skins_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/settings_ids.h"

namespace kivo::win {
namespace {

// Which controls each page shows (the dialog's own buttons and the logo stay).
constexpr int kGeneralControls[] = {
    IDC_SET_GROUP_GENERAL, IDC_SET_AUTORUN,       IDC_SET_AUTOHIDE,      IDC_SET_LETTERS,
    IDC_SET_CLEARTYPE,     IDC_SET_GROUP_HOTKEYS, IDC_SET_HOTKEY_LABEL0, IDC_SET_HOTKEY_LABEL1,
    IDC_SET_HOTKEY_LABEL2, IDC_SET_HOTKEY0,       IDC_SET_HOTKEY1,       IDC_SET_HOTKEY2,
    IDC_SET_HOTKEY_STATUS, IDC_SET_GROUP_BACKUP,  IDC_SET_BACKUP0,       IDC_SET_BACKUP1,
    IDC_SET_GROUP_RESTORE, IDC_SET_BACKUP2,       IDC_SET_BACKUP3,       IDC_SET_GROUP_RESET,
    IDC_SET_RESET0,        IDC_SET_RESET1};
constexpr int kAppearanceControls[] = {
    IDC_SET_GROUP_LOOK,     IDC_SET_LAB_NORMAL,    IDC_SET_SLD_NORMAL,    IDC_SET_LAB_MAGNIFIED,
    IDC_SET_SLD_MAGNIFIED,  IDC_SET_LAB_RADIUS,    IDC_SET_SLD_RADIUS,    IDC_SET_LAB_ICONCOUNT,
    IDC_SET_COMB_ICONCOUNT, IDC_SET_LAB_MINPOS,    IDC_SET_COMB_MINPOS,   IDC_SET_GROUP_BACK,
    IDC_SET_LAB_TRANS,      IDC_SET_SLD_TRANS,     IDC_SET_END_FIRST,     IDC_SET_END_FIRST + 1,
    IDC_SET_END_FIRST + 2,  IDC_SET_END_FIRST + 3, IDC_SET_END_FIRST + 4, IDC_SET_END_FIRST + 5,
    IDC_SET_END_FIRST + 6,  IDC_SET_END_FIRST + 7};
constexpr int kHotKeyControls[kHotKeyCount] = {IDC_SET_HOTKEY0, IDC_SET_HOTKEY1, IDC_SET_HOTKEY2};

void SetSlider(HWND dialog, int control, const SliderRange& range, int value) {
  HWND slider = ::GetDlgItem(dialog, control);
  ::SendMessageW(slider, TBM_SETRANGEMIN, FALSE, range.min);
  ::SendMessageW(slider, TBM_SETRANGEMAX, FALSE, range.max);
  ::SendMessageW(slider, TBM_SETLINESIZE, 0, range.smallChange);
  ::SendMessageW(slider, TBM_SETPAGESIZE, 0, range.largeChange);
  ::SendMessageW(slider, TBM_SETPOS, TRUE, range.Clamp(value));
  ::EnableWindow(slider, range.enabled);
}

int SliderValue(HWND slider) {
  return static_cast<int>(::SendMessageW(slider, TBM_GETPOS, 0, 0));
}

void FillCombo(HWND dialog, int control, const char* const* entries, std::size_t count) {
  HWND combo = ::GetDlgItem(dialog, control);
  ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
  for (std::size_t i = 0; i < count; ++i) {
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(entries[i]).c_str()));
  }
}

// A control the page switch hides must not keep the keyboard.
bool HoldsFocus(HWND control) {
  const HWND focus = ::GetFocus();
  return focus != nullptr && (focus == control || ::IsChild(control, focus));
}

}  // namespace

SettingsDialog::SettingsDialog(Parts parts)
    : parts_(std::move(parts)), editor_(parts_.settings, parts_.screen) {}

SettingsDialog::~SettingsDialog() {
  if (window_ != nullptr) ::DestroyWindow(window_);
}

bool SettingsDialog::Show(HWND owner) {
  if (window_ != nullptr) {
    ::ShowWindow(window_, SW_SHOWNORMAL);
    ::SetForegroundWindow(window_);
    return true;
  }
  const HMODULE module = ::GetModuleHandleW(nullptr);
  if (!logo_) logo_ = LoadSkinResource(module, L"LOGO");
  if (::CreateDialogParamW(module, MAKEINTRESOURCEW(IDD_SETTINGS), owner,
                           &SettingsDialog::Procedure, reinterpret_cast<LPARAM>(this)) == nullptr) {
    return false;
  }
  ::ShowWindow(window_, SW_SHOWNORMAL);
  ::SetForegroundWindow(window_);
  return true;
}

void SettingsDialog::Close() {
  if (window_ == nullptr) return;
  if (transparencyHeld_ && parts_.setActive) parts_.setActive(false);
  transparencyHeld_ = false;
  ::DestroyWindow(window_);
  // Written whether or not anything changed. The dock reads the veil's colour from the
  // settings at every frame, so a changed transparency stays without more ado.
  if (parts_.saveSettings) parts_.saveSettings();
  ::SetProcessWorkingSetSize(::GetCurrentProcess(), static_cast<SIZE_T>(-1),
                             static_cast<SIZE_T>(-1));
}

bool SettingsDialog::IsDialogMessage(MSG& message) const {
  return window_ != nullptr && ::IsDialogMessageW(window_, &message);
}

INT_PTR SettingsDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      HWND tab = ::GetDlgItem(window_, IDC_SET_TAB);
      const wchar_t* captions[] = {L"  常规  ", L"  外观  "};
      for (int i = 0; i < 2; ++i) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<wchar_t*>(captions[i]);
        ::SendMessageW(tab, TCM_INSERTITEMW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&item));
      }
      // The strip lies behind the pages' controls, which it would otherwise paint over.
      ::SetWindowPos(tab, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      FillCombo(window_, IDC_SET_COMB_ICONCOUNT, IconCountEntries().data(),
                IconCountEntries().size());
      FillCombo(window_, IDC_SET_COMB_MINPOS, MinimizedPositionEntries().data(),
                MinimizedPositionEntries().size());
      const bool backups = parts_.maintenance != nullptr;
      for (const int id : {IDC_SET_BACKUP0, IDC_SET_BACKUP1, IDC_SET_BACKUP2, IDC_SET_BACKUP3,
                           IDC_SET_RESET0, IDC_SET_RESET1}) {
        ::EnableWindow(::GetDlgItem(window_, id), backups);
      }
      IniConfigData();
      ShowPage(0);
      // The keyboard starts on the tab strip: the arrows choose the page, Tab its controls.
      ::SetFocus(tab);
      return FALSE;
    }
    case WM_DRAWITEM:
      if (wParam != IDC_SET_LOGO) return FALSE;
      DrawLogo(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header->idFrom == IDC_SET_TAB && header->code == TCN_SELCHANGE) {
        ShowPage(static_cast<int>(::SendMessageW(header->hwndFrom, TCM_GETCURSEL, 0, 0)));
        return TRUE;
      }
      return FALSE;
    }
    case WM_HSCROLL:
      if (lParam != 0) OnScroll(reinterpret_cast<HWND>(lParam), LOWORD(wParam));
      return TRUE;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return TRUE;
    case WM_CLOSE:
      Close();
      return TRUE;
    default:
      return FALSE;
  }
}

void SettingsDialog::IniConfigData() {
  filling_ = true;
  const ConfigControls c = editor_.Controls();
  SetSlider(window_, IDC_SET_SLD_NORMAL, IconSizeRange(), c.normal);
  SetSlider(window_, IDC_SET_SLD_MAGNIFIED, IconSizeRange(), c.magnified);
  SetSlider(window_, IDC_SET_SLD_RADIUS, c.radiusRange, c.radius);
  SetSlider(window_, IDC_SET_SLD_TRANS, TransparencyRange(), c.transparency);
  ::SendDlgItemMessageW(window_, IDC_SET_COMB_ICONCOUNT, CB_SETCURSEL,
                        static_cast<WPARAM>(c.iconCountIndex), 0);
  ::SendDlgItemMessageW(window_, IDC_SET_COMB_MINPOS, CB_SETCURSEL,
                        static_cast<WPARAM>(c.minimizedPosition), 0);
  ::CheckDlgButton(window_, IDC_SET_CLEARTYPE, c.clearType ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(window_, IDC_SET_AUTORUN, c.autoRun ? BST_CHECKED : BST_UNCHECKED);
  ::EnableWindow(::GetDlgItem(window_, IDC_SET_AUTORUN), parts_.setAutoRun ? TRUE : FALSE);
  ::CheckDlgButton(window_, IDC_SET_AUTOHIDE, c.autoHide ? BST_CHECKED : BST_UNCHECKED);
  ::CheckDlgButton(window_, IDC_SET_LETTERS, c.hideLetters ? BST_CHECKED : BST_UNCHECKED);
  WriteLabels();
  hotKeys_ = parts_.loadHotKeys ? parts_.loadHotKeys() : DefaultHotKeys();
  for (int i = 0; i < kHotKeyCount; ++i) {
    ::SendDlgItemMessageW(window_, kHotKeyControls[i], HKM_SETHOTKEY,
                          HotKeyControlValue(hotKeys_[static_cast<std::size_t>(i)]), 0);
  }
  filling_ = false;
}

void SettingsDialog::WriteLabels() {
  const ConfigControls c = editor_.Controls();
  SetControlText(window_, IDC_SET_LAB_NORMAL, c.normalLabel);
  SetControlText(window_, IDC_SET_LAB_MAGNIFIED, c.magnifiedLabel);
  SetControlText(window_, IDC_SET_LAB_RADIUS, c.radiusLabel);
  SetControlText(window_, IDC_SET_LAB_ICONCOUNT, c.iconCountLabel);
  SetControlText(window_, IDC_SET_LAB_MINPOS, c.minimizedLabel);
  SetControlText(window_, IDC_SET_LAB_TRANS, c.transparencyLabel);
}

void SettingsDialog::ShowPage(int page) {
  const bool general = page != 1;
  const auto show = [this](const int* ids, std::size_t count, bool visible) {
    for (std::size_t i = 0; i < count; ++i) {
      HWND control = ::GetDlgItem(window_, ids[i]);
      if (!visible && HoldsFocus(control)) {
        ::SendMessageW(window_, WM_NEXTDLGCTL,
                       reinterpret_cast<WPARAM>(::GetDlgItem(window_, IDC_SET_TAB)), TRUE);
      }
      ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
    }
  };
  show(general ? kAppearanceControls : kGeneralControls,
       general ? std::size(kAppearanceControls) : std::size(kGeneralControls), false);
  show(general ? kGeneralControls : kAppearanceControls,
       general ? std::size(kGeneralControls) : std::size(kAppearanceControls), true);
  ::SendDlgItemMessageW(window_, IDC_SET_TAB, TCM_SETCURSEL, general ? 0 : 1, 0);
  // The strip under the hidden controls is painted again, or their frames would linger.
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SettingsDialog::OnScroll(HWND slider, int code) {
  if (filling_) return;
  const int id = ::GetDlgCtrlID(slider);
  const bool ended = code == TB_ENDTRACK;
  const int value = SliderValue(slider);
  switch (id) {
    case IDC_SET_SLD_NORMAL:
      if (ended) {
        Apply(editor_.NormalReleased());
      } else {
        Apply(editor_.NormalChanging(value));
        ::SendDlgItemMessageW(window_, IDC_SET_SLD_MAGNIFIED, TBM_SETPOS, TRUE,
                              parts_.settings.MagnifiedSize);
      }
      break;
    case IDC_SET_SLD_MAGNIFIED:
      Apply(ended ? editor_.MagnifiedReleased() : editor_.MagnifiedChanging(value));
      break;
    case IDC_SET_SLD_RADIUS:
      if (!ended && value != parts_.settings.RingRadius) Apply(editor_.RadiusChanging(value));
      break;
    case IDC_SET_SLD_TRANS:
      if (ended) {
        if (transparencyHeld_) Apply(editor_.TransparencyReleased());
        transparencyHeld_ = false;
        break;
      }
      // The slider reports no press: its first move of a drag stands for it.
      if (!transparencyHeld_) {
        transparencyHeld_ = true;
        Apply(editor_.TransparencyPressed());
      }
      Apply(editor_.TransparencyChanging(value));
      break;
    default:
      return;
  }
  WriteLabels();
}

void SettingsDialog::OnCommand(int control, int notification) {
  if (filling_) return;
  const auto checked = [this](int id) { return ::IsDlgButtonChecked(window_, id) == BST_CHECKED; };
  switch (control) {
    case IDC_SET_AUTORUN:
      if (notification != BN_CLICKED) return;
      editor_.AutoRunClicked(parts_.setAutoRun ? parts_.setAutoRun(checked(control))
                                               : parts_.settings.AutoRun);
      ::CheckDlgButton(window_, control, parts_.settings.AutoRun ? BST_CHECKED : BST_UNCHECKED);
      return;
    case IDC_SET_AUTOHIDE:
      if (notification == BN_CLICKED) Apply(editor_.AutoHideClicked(checked(control)));
      return;
    case IDC_SET_LETTERS:
      if (notification == BN_CLICKED) Apply(editor_.HideLettersClicked(checked(control)));
      return;
    case IDC_SET_CLEARTYPE:
      if (notification == BN_CLICKED) Apply(editor_.ClearTypeClicked(checked(control)));
      return;
    case IDC_SET_COMB_ICONCOUNT:
    case IDC_SET_COMB_MINPOS: {
      if (notification != CBN_SELCHANGE) return;
      const int index =
          static_cast<int>(::SendDlgItemMessageW(window_, control, CB_GETCURSEL, 0, 0));
      if (index < 0) return;
      Apply(control == IDC_SET_COMB_ICONCOUNT ? editor_.IconCountChosen(index)
                                              : editor_.MinimizedPositionChosen(index));
      WriteLabels();
      return;
    }
    case IDC_SET_HOTKEY0:
    case IDC_SET_HOTKEY1:
    case IDC_SET_HOTKEY2:
      if (notification == EN_CHANGE) OnHotKeyChanged(control - IDC_SET_HOTKEY0);
      return;
    case IDC_SET_BACKUP0:
    case IDC_SET_BACKUP1:
    case IDC_SET_BACKUP2:
    case IDC_SET_BACKUP3:
    case IDC_SET_RESET0:
    case IDC_SET_RESET1:
      if (notification == BN_CLICKED) RunMaintenance(control);
      return;
    case IDC_SET_ABOUT:
      if (parts_.showAbout) parts_.showAbout(window_);
      return;
    case IDC_SET_OK:
    case IDCANCEL:  // Escape and the close box
      Close();
      return;
    default:
      return;
  }
}

void SettingsDialog::Apply(const SettingsEffect& effect) {
  if (effect.active && parts_.setActive) parts_.setActive(*effect.active);
  if (effect.recomputeRing && parts_.applyRing) {
    parts_.applyRing(effect.followUp);
  } else if (effect.redraw && !effect.rebuildNormalVariant && parts_.redraw) {
    parts_.redraw();
  }
  if (effect.rebuildNormalVariant && parts_.rebuildNormalVariant) parts_.rebuildNormalVariant();
  if (effect.clearType && parts_.clearType) parts_.clearType(parts_.settings.ClearType == 1);
  if (effect.placeDisc && parts_.placeDisc) parts_.placeDisc();
}

void SettingsDialog::OnHotKeyChanged(int index) {
  if (index < 0 || index >= kHotKeyCount) return;
  const auto value = static_cast<std::uint16_t>(
      ::SendDlgItemMessageW(window_, kHotKeyControls[index], HKM_GETHOTKEY, 0, 0));
  const HotKey entered = HotKeyFromControl(value);
  if (ClassifyHotKeyEntry(entered) == HotKeyEntry::Incomplete) {
    SetControlText(window_, IDC_SET_HOTKEY_STATUS, "热键须包含 Ctrl、Alt 或 Win 键。");
    return;
  }
  HotKeySet keys = hotKeys_;
  keys[static_cast<std::size_t>(index)] = entered;
  if (keys == hotKeys_) return;
  hotKeys_ = keys;
  const std::vector<HotKey> taken =
      parts_.changeHotKeys ? parts_.changeHotKeys(keys) : std::vector<HotKey>{};
  SetControlText(window_, IDC_SET_HOTKEY_STATUS,
                 taken.empty() ? std::string("热键已生效。") : HotKeyConflictMessage(taken));
}

void SettingsDialog::RunMaintenance(int control) {
  Maintenance* m = parts_.maintenance;
  if (m == nullptr) return;
  // Everything but the settings backup may take a while (the store, its icons).
  const bool wait = control != IDC_SET_BACKUP0;
  const HCURSOR before = wait ? ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT)) : nullptr;
  bool done = false;
  switch (control) {
    case IDC_SET_BACKUP0:
      done = m->BackupSettings();
      break;
    case IDC_SET_BACKUP1:
      done = m->BackupShortcuts();
      break;
    case IDC_SET_BACKUP2:
      done = m->RestoreSettings();
      break;
    case IDC_SET_BACKUP3:
      done = m->RestoreShortcuts();
      break;
    case IDC_SET_RESET0:
      done = m->ResetSettings();
      break;
    case IDC_SET_RESET1:
      done = m->ResetShortcuts();
      break;
    default:
      break;
  }
  if (wait) ::SetCursor(before != nullptr ? before : ::LoadCursorW(nullptr, IDC_ARROW));
  if (done && (control == IDC_SET_BACKUP2 || control == IDC_SET_RESET0) && window_ != nullptr) {
    // Other settings now: the controls and the dock show them.
    IniConfigData();
    if (parts_.applyRing) parts_.applyRing(RingFollowUp::MagnifiedVariant);
    if (parts_.rebuildNormalVariant) parts_.rebuildNormalVariant();
    if (parts_.clearType) parts_.clearType(parts_.settings.ClearType == 1);
    if (parts_.placeDisc) parts_.placeDisc();
  }
}

void SettingsDialog::DrawLogo(const DRAWITEMSTRUCT& item) const {
  ::FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  const int height = item.rcItem.bottom - item.rcItem.top;
  const int side = height - 8;
  if (logo_) {
    Gdiplus::GpGraphics* raw = nullptr;
    if (gp::GdipCreateFromHDC(item.hDC, &raw) == Gdiplus::Ok) {
      GpGraphicsPtr graphics(raw);
      UseSmoothScaling(graphics.get());
      gp::GdipDrawImageRectI(graphics.get(), logo_.get(), item.rcItem.left + 10,
                             item.rcItem.top + 4, side, side);
    }
  }
  RECT text = item.rcItem;
  text.left += side + 22;
  ::SetBkMode(item.hDC, TRANSPARENT);
  auto font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
  const HGDIOBJ old = font != nullptr ? ::SelectObject(item.hDC, font) : nullptr;
  ::DrawTextW(item.hDC, L"Kivo Launcher", -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  if (old != nullptr) ::SelectObject(item.hDC, old);
}

}  // namespace kivo::win
