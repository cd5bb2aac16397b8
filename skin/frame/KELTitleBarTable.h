// What the title bar reads of the built-in style table and of its title-button strip, shared by
// its style and button code.
#pragma once

namespace kel::titlebar {

// The title-button strip holds 18 frames: normal, hot and pressed of six buttons in a row.
constexpr int kStripFrames = 18;

// Built-in style positions.
constexpr int kStripPosition = 5, kTransparentPosition = 6, kLeftOffsetPosition = 7,
              kRightOffsetPosition = 8, kButtonTopPosition = 9, kLeftPicturePosition = 10,
              kClientPicturePosition = 11, kRightPicturePosition = 12, kMinWidthPosition = 13,
              kRoundCornerPosition = 14;

} // namespace kel::titlebar
