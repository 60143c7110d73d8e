#include "gfx/win32/skins_win.h"

#include "dock/dock_view.h"
#include "platform/win32/image_files.h"
#include "platform/win32/unicode.h"
#include "popup/popup_geometry.h"
#include "popup/popup_view.h"
#include "render/canvas.h"

namespace kivo::win {
namespace {

constexpr int kSkinSizes[][3] = {
    // skin number, width, height as drawn (0: drawn at its own size)
    {kSkinLogo, 128, 128},
    {kSkinBorder, kDiscSize, kDiscSize},
    {kSkinMenuSelect, 248, 38},
    {kSkinMenuMouseDown, 248, 38},
    {kSkinMenuUpUnselect, 248, 25},
    {kSkinMenuUpSelect, 248, 25},
    {kSkinMenuDownUnselect, 248, 25},
    {kSkinMenuDownSelect, 248, 25},
    {kSkinMenuSpace, 248, 5},
    {kSkinMenuTop, 268, 12},
    {kSkinMenuBottom, 268, 12},
};

constexpr int kSkinNumbers[] = {
    kSkinLogo,           kSkinBackSelectColor, kSkinMenuSelect,       kSkinMenuMouseDown,
    kSkinMenuUpUnselect, kSkinMenuUpSelect,    kSkinMenuDownUnselect, kSkinMenuDownSelect,
    kSkinMenuSpace,      kSkinMenuBody,        kSkinMenuTop,          kSkinMenuBottom,
    kSkinBorder,         kSkinNoDrop,          kSkinAddIcon,          kSkinReplaceIcon,
    kSkinDelIcon};

constexpr int kMaxIconNumber = kIconCount - 1;

// The delete animation's strip holds its frames side by side; each is kept as a variant
// of its own (frame k as variant k + 1), so a frame draws like any pre-scaled image. The
// frames are `edge` pixels square: the strip's own size at 96 dpi, scaled at another.
void SplitDeleteFrames(ImageTables& images, int edge = kDeleteFrameSize) {
  auto* strip = static_cast<Gdiplus::GpBitmap*>(images.Get({ImageTable::Skin, kSkinDelIcon, 0}));
  const auto [width, height] = ImageSize(strip);
  if (width < kDeleteFrames * kDeleteFrameSize || height < kDeleteFrameSize) return;
  for (int k = 0; k < kDeleteFrames; ++k) {
    Gdiplus::GpBitmap* frame = nullptr;
    if (gp::GdipCloneBitmapAreaI(k * kDeleteFrameSize, 0, kDeleteFrameSize, kDeleteFrameSize,
                                 PixelFormat32bppARGB, strip, &frame) == Gdiplus::Ok) {
      GpBitmapPtr picture(frame);
      if (edge != kDeleteFrameSize) picture = MakeScaledImage(picture.get(), edge, edge);
      images.SetVariant(ImageTable::Skin, kSkinDelIcon, k + 1, std::move(picture));
    }
  }
}

}  // namespace

int SkinNumberOf(const std::wstring& name) {
  for (std::size_t i = 0; i < std::size(kSkinNames); ++i) {
    if (name == kSkinNames[i]) return kSkinNumbers[i];
  }
  return -1;
}

GpBitmapPtr LoadSkinResource(HMODULE module, const wchar_t* name) {
  HRSRC resource = ::FindResourceW(module, name, L"CUSTOM");
  if (resource == nullptr) return nullptr;
  HGLOBAL loaded = ::LoadResource(module, resource);
  const DWORD size = ::SizeofResource(module, resource);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  return bytes ? DecodeImage(bytes, size) : nullptr;
}

namespace {

// The group list's pieces (MENU…) are the larger half of the skins' pixels.
bool IsListSkin(int number) {
  return number >= kSkinMenuSelect && number <= kSkinMenuBottom;
}

int LoadSkinsOf(ImageTables& images, HMODULE module, bool listSkins) {
  int loaded = 0;
  for (std::size_t i = 0; i < std::size(kSkinNames); ++i) {
    const int number = kSkinNumbers[i];
    if (IsListSkin(number) != listSkins) continue;
    GpBitmapPtr image = LoadSkinResource(module, kSkinNames[i]);
    if (!image) continue;
    ++loaded;
    // Skins with a fixed drawing size are scaled once; the rest keep their own size.
    for (const auto& size : kSkinSizes) {
      if (size[0] == number) {
        image = MakeScaledImage(image.get(), size[1], size[2]);
        break;
      }
    }
    images.Set(ImageTable::Skin, number, std::move(image));
    if (number == kSkinDelIcon) SplitDeleteFrames(images);
  }
  return loaded;
}

}  // namespace

int LoadRingSkins(ImageTables& images, HMODULE module, const std::string& userPicture,
                  int pictureSize) {
  const int loaded = LoadSkinsOf(images, module, false);
  SetUserPicture(images, userPicture, pictureSize);
  return loaded;
}

int LoadListSkins(ImageTables& images, HMODULE module, int dpi) {
  if (images.Has(ImageTable::Skin, kSkinMenuBody)) return 0;
  const int loaded = LoadSkinsOf(images, module, true);
  BuildPopupVariants(images, dpi);
  return loaded;
}

int LoadSkins(ImageTables& images, HMODULE module, const std::string& userPicture,
              int pictureSize) {
  return LoadRingSkins(images, module, userPicture, pictureSize) +
         LoadListSkins(images, module, 96);
}

void SetUserPicture(ImageTables& images, const std::string& userPicture, int size) {
  GpBitmapPtr picture;
  if (!userPicture.empty()) picture = LoadImageFile(Widen(userPicture));
  Gdiplus::GpImage* source = picture ? picture.get() : images.Get({ImageTable::Skin, kSkinLogo, 0});
  if (source != nullptr) images.Set(ImageTable::Icon, 0, MakeScaledImage(source, size, size));
}

void BuildRingVariants(ImageTables& images, const RingMetrics& metrics) {
  images.BuildVariant(ImageTable::Skin, kSkinBackSelectColor, 1, metrics.N, metrics.N);
  images.BuildVariant(ImageTable::Skin, kSkinBackSelectColor, 2, metrics.M, metrics.M);
  images.BuildVariant(ImageTable::Skin, kSkinBorder, 1, metrics.D, metrics.D);
  // The drop badges follow the pointer at one size whatever the ring's, scaled to the dpi.
  const int badge = Scaled(metrics, kBadgeSize);
  for (const int skin : {kSkinNoDrop, kSkinAddIcon, kSkinReplaceIcon}) {
    images.BuildVariant(ImageTable::Skin, skin, 1, badge, badge);
  }
  for (int icon = 0; icon <= kMaxIconNumber; ++icon) {
    if (!images.Has(ImageTable::Icon, icon)) continue;
    for (int variant = 1; variant <= 4; ++variant) {
      const int size = VariantSize(metrics, variant);
      // Loading a ring entry made its normal-size image already, from the same picture.
      Gdiplus::GpImage* made = images.Get({ImageTable::Icon, icon, variant});
      if (made != nullptr && ImageSize(made) == std::pair{size, size}) continue;
      images.BuildVariant(ImageTable::Icon, icon, variant, size, size);
    }
  }
  if (metrics.Dpi != 96) SplitDeleteFrames(images, Scaled(metrics, kDeleteFrameSize));
  BuildPopupVariants(images, metrics.Dpi);
}

void BuildPopupVariants(ImageTables& images, int dpi) {
  const PopupSizes z = PopupSizesAt(dpi);
  // At 96 dpi the skins are stored at the list's sizes already.
  if (z.dpi == 96) return;
  const int pieces[][3] = {{kSkinMenuSelect, z.rowWidth, z.rowHeight},
                           {kSkinMenuMouseDown, z.rowWidth, z.rowHeight},
                           {kSkinMenuUpUnselect, z.rowWidth, z.buttonHeight},
                           {kSkinMenuUpSelect, z.rowWidth, z.buttonHeight},
                           {kSkinMenuDownUnselect, z.rowWidth, z.buttonHeight},
                           {kSkinMenuDownSelect, z.rowWidth, z.buttonHeight},
                           {kSkinMenuSpace, z.rowWidth, z.spacer},
                           {kSkinMenuTop, z.width, z.rim},
                           {kSkinMenuBottom, z.width, z.rim}};
  for (const auto& [skin, width, height] : pieces) {
    images.BuildVariant(ImageTable::Skin, skin, kPopupSkinVariant, width, height);
  }
}

}  // namespace kivo::win
