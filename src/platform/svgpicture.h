// SVG pictures, plain or gzip-compressed, rendered at the size they are
// shown within bounded work. Their text is checked before Qt reads it: its
// length, the elements and characters of text it draws (counting what <use>
// repeats), the pictures it embeds and the style rules Qt matches against
// its elements. Before a picture is rendered, what Qt's rasterizer would
// spend on it at that size is counted from a drawing that only counts.
#pragma once

#include "platform/types.h"

#include <QImage>
#include <QSize>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// Limits of an SVG picture that is drawn at all.
inline constexpr std::size_t kMaxSvgBytes = std::size_t(1) << 20;  // its text, inflated
inline constexpr std::uint64_t kMaxSvgElements = 20'000;           // <use> counting what it repeats
inline constexpr std::uint64_t kMaxSvgTextChars = 10'000;          // likewise
inline constexpr std::uint64_t kMaxSvgStyleMatches = 1'000'000;    // style rules times elements
inline constexpr std::int64_t kMaxSvgImagePixels = std::int64_t(1) << 23;  // the pictures it embeds
// The rasterizer's work for one rendering, in units of about 10 ns, and
// the times a picture's sides are halved to keep to it.
inline constexpr double kMaxSvgRasterWork = 1e7;
inline constexpr int kMaxSvgHalvings = 2;

// True when Qt reads bytes as SVG, plain or compressed.
bool IsSvgPicture(std::span<const BYTE> bytes);

// The size the picture gives; the reason when its text is not an SVG within the limits.
std::optional<std::string> SvgPictureSize(std::span<const BYTE> bytes, QSize& size);

// The rasterizer's work, in the units of kMaxSvgRasterWork, to render the
// picture over size pixels; the reason when its text is not an SVG within the limits.
std::optional<std::string> SvgRasterWork(std::span<const BYTE> bytes, QSize size, double& work);

// The picture stretched over an image of size pixels, or of a half or a
// quarter of them (kMaxSvgHalvings) where size would take more than
// kMaxSvgRasterWork; the reason when its text is not an SVG within the
// limits or it takes more than that even then. work, when given, becomes
// the rasterizer's work counted on the way, in the units of kMaxSvgRasterWork.
std::optional<std::string> RenderSvgPicture(std::span<const BYTE> bytes, QSize size, QImage& image,
                                            double* work = nullptr);
