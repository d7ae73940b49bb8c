// The application icon: Pomrin's face, as a 256-pixel PNG and as SVG, both from one drawing.
#pragma once
#include <filesystem>

// Writes DIR/pomrin.png (256 x 256, RGBA) and DIR/pomrin.svg. False when a file cannot be written.
bool WriteIcons(const std::filesystem::path& dir);
