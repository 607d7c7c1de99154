#pragma once

#include <string>
#include <string_view>

// Every page background and button strip is drawn twice: once at the page's own pixels (the
// named file, a bitmap) and once with twice the pixels in each direction for high-density
// screens, stored as PNG beside it under the same name with "@2x" before the extension:
// "home.bmp" -> "home@2x.png".
inline std::string DoubleDensityName(std::string_view file) {
    const std::size_t dot = file.rfind('.');
    const std::string_view stem = dot == std::string_view::npos ? file : file.substr(0, dot);
    return std::string(stem) + "@2x.png";
}
