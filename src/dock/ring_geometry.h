// Where the dock ring's slots lie, how large they are drawn, which slot is under the
// pointer and where the collapsed disc sits. Pure functions of plain structs.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/settings.h"
#include "render/canvas.h"

namespace kivo {

inline constexpr int kDiscSize = 190;        // edge of the BORDER disc at 96 dpi
inline constexpr int kCentreIconSize = 128;  // edge of the centre icon at 96 dpi
inline constexpr int kMaxSlot = 36;          // ring slots are 1..36 at most; slot 0 is the centre
inline constexpr int kSlotEntries = kMaxSlot + 1;
inline constexpr int kFadeFrames = 4;

// Screen and ring metrics in pixels, fixed until the screen or a size setting changes.
// Every length is in the screen's pixels: the sizes the settings give at 96 dpi are scaled
// to the monitor's dpi.
struct RingMetrics {
  int W = 0, H = 0;    // window size
  int cx = 0, cy = 0;  // centre of the window
  int D = kDiscSize;
  int C = kCentreIconSize;
  int N = 48;  // icon edge at rest
  int M = 64;  // icon edge when magnified
  int R = 300;
  int K = 24;  // ring slots: 8, 12, ... 36
  int Dpi = 96;
  friend bool operator==(const RingMetrics&, const RingMetrics&) = default;
};

// A length drawn at `logical` pixels at 96 dpi, in the ring's pixels.
inline int Scaled(const RingMetrics& metrics, int logical) {
  return ScaleToDpi(logical, metrics.Dpi);
}

// The metrics for a screen, with every size setting checked again: the settings dialog
// and the settings file both feed these values, and a value out of range must not put
// slots off the screen. A radius that is out of range, or too wide for the window's
// narrower side, falls back to the default radius for the screen.
RingMetrics MakeRingMetrics(const ScreenInfo& screen, const Settings& settings);

// One entry of the slot table. For slots 1..K labelX/labelY are offsets from the centre;
// for slot 0 they are absolute.
struct RingSlot {
  std::int32_t normalLeft = 0, normalTop = 0, normalSize = 0;
  std::int32_t magLeft = 0, magTop = 0, magSize = 0;
  std::int32_t labelX = 0, labelY = 0;

  PixelRect normalSquare() const { return {normalLeft, normalTop, normalSize, normalSize}; }
  PixelRect magSquare() const { return {magLeft, magTop, magSize, magSize}; }
  friend bool operator==(const RingSlot&, const RingSlot&) = default;
};

struct RingGeometry {
  RingMetrics metrics;
  // Entries 0..K are filled; entries beyond K stay empty and are never hit.
  std::array<RingSlot, kSlotEntries> slots{};
  // fadeFrames[slot][k], k = 1..4: where the fade animation draws the slot's icon in
  // image variant k, that is at variant k's size centred on the slot's centre. Fading in
  // shows frames 1..4, fading out the same pictures in reverse. Index 0 is unused.
  std::array<std::array<PixelRect, kFadeFrames + 1>, kSlotEntries> fadeFrames{};
};

// The slot table: the centre, then slot 1 straight right of it and the others following
// clockwise on the screen.
RingGeometry ComputeRing(const RingMetrics& metrics);

// Edge of the pre-scaled image variant: 1 = N, 2 = M, 3 = C, 4 = 32; 0 for any other
// variant (variant 0 is the full image, which has no fixed size).
int VariantSize(const RingMetrics& metrics, int variant);

// Top-left corners of the collapsed disc and of the icon inside it, for the setting
// MinimizedPosition (0 centre, 1 top, 2 bottom, 3 left, 4 right, 5..8 the corners from
// top left to bottom right). An index outside 0..8 is taken as the centre.
struct DiscPosition {
  int discLeft = 0, discTop = 0;
  int iconLeft = 0, iconTop = 0;
  friend bool operator==(const DiscPosition&, const DiscPosition&) = default;
};
DiscPosition CollapsedDiscPosition(const RingMetrics& metrics, int index);

// The slot whose resting square holds the client point, the centre tried first; -1 for
// none. The left edge belongs to the square, the top edge does not.
int HitTest(const RingGeometry& geometry, int x, int y);

// "0".."9" for slots 1..10, "A".."Z" for slots 11..36, "~" for the centre, "" otherwise.
std::string_view HotkeyCharacter(int slot);

}  // namespace kivo
