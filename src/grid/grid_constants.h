#pragma once

// The simulator's terrain grid, shared by everything that converts between positions on the
// globe, cells, areas, image pixels and grid points.
namespace lod {
inline constexpr double cellWidth = 0.46875;    // 360 / 768 degrees of longitude
inline constexpr double cellHeight = 0.3515625; // 180 / 512 degrees of latitude
inline constexpr int areasPerCell = 32;
inline constexpr double areaWidth = cellWidth / areasPerCell;
inline constexpr double areaHeight = cellHeight / areasPerCell;
inline constexpr int lastCellColumn = 767;
inline constexpr int lastCellRow = 511;
inline constexpr int lastArea = areasPerCell - 1;

// An area image is 256 pixel units each way; its pixels are numbered 0..255.
inline constexpr int pixelUnits = 256;
inline constexpr int lastPixel = pixelUnits - 1;
// Grid points of a cell run 4080..12239. Pitch is 255, not 256: the last pixel of one area is
// the first of the next.
inline constexpr int gridOrigin = 4080;
inline constexpr int areaPitch = 255;
inline constexpr int lastGridPoint = 12239;
} // namespace lod
