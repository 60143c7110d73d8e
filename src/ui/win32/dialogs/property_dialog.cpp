#include "ui/win32/dialogs/property_dialog.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <cstddef>

#include "core/text.h"
#include "dialogs/property_rules.h"
#include "platform/win32/icon_extract_win.h"
#include "platform/win32/image_files.h"
#include "platform/win32/message_win.h"
#include "platform/win32/unicode.h"
#include "ui/win32/dialogs/change_user_win.h"
#include "ui/win32/dialogs/dialog_support.h"
#include "ui/win32/dialogs/property_ids.h"

namespace kivo::win {
namespace {

constexpr std::array<int, 3> kTypeIds = {IDC_PROP_TYPE0, IDC_PROP_TYPE1, IDC_PROP_TYPE2};
constexpr std::array<int, 3> kIconIds = {IDC_PROP_ICON0, IDC_PROP_ICON1, IDC_PROP_ICON2};
// A notification code of our own, posted to put the path back into its box after a link
// kind was declined (the box writes the kind's caption only after CBN_SELENDOK).
constexpr int kRestoreLink = 0x7F00;

class WinPropertyPrompts final : public PropertyPrompts {
 public:
  bool Ask(const ShellMessage& question) override { return ShowShellMessage(question); }
  void Tell(const ShellMessage& message) override { ShowShellMessage(message); }
};

class PropertyDialog final : public DialogBase {
 public:
  PropertyDialog(ItemContext& items, const ItemMenuContext& context, bool addShortcut,
                 std::uint32_t osMajor)
      : editor_(items, context, addShortcut, prompts_, osMajor) {}

  bool changed() const { return changed_; }

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_INITDIALOG:
        OnInit();
        return TRUE;
      case WM_DRAWITEM:
        if (wParam == IDC_PROP_ICON) {
          DrawKivoIcon(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
          return TRUE;
        }
        return FALSE;
      case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam));
      case WM_CTLCOLORSTATIC:
      case WM_CTLCOLORBTN: {
        // Labels and options lie on the tab's page, which is painted in the window colour.
        const auto dc = reinterpret_cast<HDC>(wParam);
        ::SetBkColor(dc, ::GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_WINDOW));
      }
      default:
        return FALSE;
    }
  }

 private:
  HWND Control(int id) const { return ::GetDlgItem(window_, id); }

  void OnInit() {
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    std::wstring tabText = Widen(kPropertyTabCaption);
    tab.pszText = tabText.data();
    ::SendMessageW(Control(IDC_PROP_TAB), TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tab));
    for (const char* caption : kRunWindowCaptions) {
      ::SendMessageW(Control(IDC_PROP_RUN), CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(caption).c_str()));
    }
    IniCombLink();
    Reload();
  }

  // The link kinds in the path's list; the path itself is the box's text.
  void IniCombLink() {
    const HWND combo = Control(IDC_PROP_LINK);
    ::SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::string& caption : LinkKindCaptions(editor_.addMode())) {
      ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(caption).c_str()));
    }
  }

  void Reload() {
    const PropertyView v = editor_.Reload();
    shownType_ = v.type;
    ::SetWindowTextW(window_, Widen(v.caption).c_str());
    for (std::size_t i = 0; i < kTypeIds.size(); ++i) {
      const HWND option = Control(kTypeIds[i]);
      ::SendMessageW(
          option, BM_SETCHECK,
          static_cast<WPARAM>(i) == static_cast<WPARAM>(v.type) ? BST_CHECKED : BST_UNCHECKED, 0);
      ::EnableWindow(option, v.typeEnabled[i] ? TRUE : FALSE);
    }
    SetControlText(window_, IDC_PROP_TITLE, v.title);
    SetControlText(window_, IDC_PROP_LINK, v.link);
    SetControlText(window_, IDC_PROP_ARGS, v.arguments);
    SetControlText(window_, IDC_PROP_TARGET, v.target);
    ::SendMessageW(Control(IDC_PROP_RUN), CB_SETCURSEL, static_cast<WPARAM>(v.runWindow), 0);
    Enable(IDC_PROP_TITLE, v.titleEnabled);
    Enable(IDC_PROP_LINK, v.linkEnabled || v.linkKindsEnabled);
    Enable(IDC_PROP_BROWSE, v.linkEnabled);
    Enable(IDC_PROP_ARGS, v.argumentsEnabled);
    Enable(IDC_PROP_RUN, v.runEnabled);
    Enable(IDC_PROP_TARGET, v.targetEnabled);
    for (std::size_t i = 0; i < kIconIds.size(); ++i) Enable(kIconIds[i], v.iconEnabled[i]);
    ::InvalidateRect(Control(IDC_PROP_ICON), nullptr, TRUE);
  }

  void Enable(int id, bool on) { ::EnableWindow(Control(id), on ? TRUE : FALSE); }

  // Something changed in the store: the windows must show it when the dialog closes.
  void Changed() {
    changed_ = true;
    Reload();
  }

  INT_PTR OnCommand(int id, int code) {
    switch (id) {
      case IDOK:
        OnOk();
        return TRUE;
      case IDCANCEL:
        ::EndDialog(window_, IDCANCEL);
        return TRUE;
      case IDC_PROP_BROWSE:
        if (code == BN_CLICKED) OnBrowse();
        return TRUE;
      case IDC_PROP_LINK:
        if (code == CBN_SELENDOK) OnLinkKind();
        if (code == kRestoreLink) RestoreLink();
        return TRUE;
      case IDC_PROP_TYPE0:
      case IDC_PROP_TYPE1:
      case IDC_PROP_TYPE2:
        if (code == BN_CLICKED)
          OnType(id == IDC_PROP_TYPE0   ? PropertyType::Shortcut
                 : id == IDC_PROP_TYPE1 ? PropertyType::Group
                                        : PropertyType::System);
        return TRUE;
      case IDC_PROP_ICON0:
        if (code == BN_CLICKED) OnChangeIcon();
        return TRUE;
      case IDC_PROP_ICON1:
        if (code == BN_CLICKED && editor_.RestoreIcon()) Changed();
        return TRUE;
      case IDC_PROP_ICON2:
        if (code == BN_CLICKED) {
          ::ShellExecuteW(nullptr, L"open", Widen(kIconSearchAddress).c_str(), nullptr, nullptr,
                          SW_SHOWNORMAL);
        }
        return TRUE;
      default:
        return FALSE;
    }
  }

  void OnOk() {
    PropertyInput input;
    input.title = ControlText(window_, IDC_PROP_TITLE);
    input.link = ControlText(window_, IDC_PROP_LINK);
    input.arguments = ControlText(window_, IDC_PROP_ARGS);
    input.target = ControlText(window_, IDC_PROP_TARGET);
    const LRESULT run = ::SendMessageW(Control(IDC_PROP_RUN), CB_GETCURSEL, 0, 0);
    input.runWindow = run == CB_ERR ? 0 : static_cast<int>(run);
    if (editor_.Ok(input) == OkResult::Saved) changed_ = true;
    ::EndDialog(window_, IDOK);
  }

  void OnBrowse() {
    const auto file = ChooseOpenFile(window_, kBrowseDialogTitle, kBrowseFilter);
    if (!file) return;
    if (editor_.addMode()) {
      // Nothing exists yet to rebuild: the file is the new shortcut's path.
      SetControlText(window_, IDC_PROP_LINK, *file);
      return;
    }
    if (editor_.Browse(*file)) Changed();
  }

  void OnLinkKind() {
    const LRESULT chosen = ::SendMessageW(Control(IDC_PROP_LINK), CB_GETCURSEL, 0, 0);
    if (chosen == CB_ERR || chosen < 0 || chosen >= kLinkKindCount) return;
    const ChoiceResult result = editor_.ChooseLinkKind(static_cast<LinkKind>(chosen));
    ::SendMessageW(Control(IDC_PROP_LINK), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    switch (result) {
      case ChoiceResult::Added:
        changed_ = true;
        ::EndDialog(window_, IDOK);
        return;
      case ChoiceResult::Changed:
        Changed();
        return;
      case ChoiceResult::Declined:
        ::PostMessageW(window_, WM_COMMAND, MAKEWPARAM(IDC_PROP_LINK, kRestoreLink), 0);
        return;
    }
  }

  void OnType(PropertyType type) {
    if (type == shownType_) return;
    if (editor_.SwitchType(type) == ChoiceResult::Changed) {
      Changed();
    } else {
      Reload();  // the former option stays checked
    }
  }

  void OnChangeIcon() {
    const auto picture = ChooseOpenFile(window_, kChangeIconDialogTitle, kChangeIconFilter);
    if (picture && editor_.ChangeIcon(*picture)) {
      changed_ = true;
      ::InvalidateRect(Control(IDC_PROP_ICON), nullptr, TRUE);
    }
  }

  // The preview: the entry's custom icon, else its own icon file, scaled into the box.
  void DrawKivoIcon(const DRAWITEMSTRUCT& item) {
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_WINDOW));
    const ShortcutItem* entry = editor_.record();
    if (entry == nullptr) return;
    GpBitmapPtr image;
    for (const std::string& file : {CleanText(entry->CustomIconFile), CleanText(entry->IconFile)}) {
      if (file.empty()) continue;
      image = LoadImageFile(Widen(file));
      if (image) break;
    }
    // No icon file of its own: the picture the shell shows for the path, as on the ring.
    if (!image) image = ShellIconBitmap(CleanText(entry->LinkPath));
    if (!image) return;
    Gdiplus::GpGraphics* raw = nullptr;
    if (gp::GdipCreateFromHDC(item.hDC, &raw) != Gdiplus::Ok) return;
    GpGraphicsPtr graphics(raw);
    UseSmoothScaling(graphics.get());
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    const int side = (width < height ? width : height) - 8;
    if (side <= 0) return;
    gp::GdipDrawImageRectI(graphics.get(), image.get(), item.rcItem.left + (width - side) / 2,
                           item.rcItem.top + (height - side) / 2, side, side);
  }

  void RestoreLink() {
    const ShortcutItem* entry = editor_.record();
    SetControlText(window_, IDC_PROP_LINK, entry ? CleanText(entry->LinkPath) : std::string());
  }

  WinPropertyPrompts prompts_;
  PropertyEditor editor_;
  PropertyType shownType_ = PropertyType::Shortcut;
  bool changed_ = false;
};

}  // namespace

bool ShowPropertyDialog(HWND owner, ItemContext& items, const ItemMenuContext& context,
                        bool addShortcut, std::uint32_t osMajor) {
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_TAB_CLASSES};
  ::InitCommonControlsEx(&controls);
  PropertyDialog dialog(items, context, addShortcut, osMajor);
  ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PROPERTY), owner,
                    &DialogBase::Procedure, reinterpret_cast<LPARAM>(&dialog));
  return dialog.changed();
}

}  // namespace kivo::win
