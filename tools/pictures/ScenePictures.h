#pragma once

#include <QImage>
#include <QPainter>
#include <QPointF>

// The two pictures that the program carries inside itself: the banner above the groups tree and
// the splash picture that the about window shows as well.
namespace orvane::pictures {

inline constexpr int kBannerWidth = 170;
inline constexpr int kBannerHeight = 83;
inline constexpr int kSplashWidth = 449;
inline constexpr int kSplashHeight = 302;

// Height of the belfry from the ground to the top of its cross, per unit of its base width.
inline constexpr double kBelfryHeightPerWidth = 2.4;

enum class BelfryStyle {
    Silhouette,  // one dark colour, the sky showing through the openings
    Lit,         // white stone, green tent roof, gilded dome, bronze bells in the openings
};

// Draws a tiered belfry standing on `groundCentre` (middle of its base on the ground) whose base
// is `baseWidth` pixels wide.
void PaintBelfry(QPainter& painter, QPointF groundCentre, double baseWidth, BelfryStyle style);

// The banner: a belfry silhouette against an evening sky and the program's name.
QImage BannerPicture();

// The splash picture: a lit belfry with its bells, the title and the subtitle.
QImage SplashPicture();

}  // namespace orvane::pictures
