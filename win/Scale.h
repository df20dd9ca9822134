#pragma once

// Sizes are stated in pixels of a 96-dpi screen. At another scale each size is multiplied by the
// display's dots per inch over 96 and rounded to the nearest pixel, halves up, as MulDiv rounds
// sizes; at 96 dpi every size stays exactly what it states.
inline constexpr int DefaultDpi = 96;

constexpr int Scaled(int size, int dpi) {
    return static_cast<int>((static_cast<long long>(size) * dpi + DefaultDpi / 2) / DefaultDpi);
}

// The pictures are drawn for 100, 150 and 200 %: a display takes the largest set not above its
// scale, so a picture is never cut and never stretched by a blurring factor such as 1.25.
constexpr int ImagePercent(int dpi) {
    return dpi >= 2 * DefaultDpi ? 200 : dpi >= DefaultDpi * 3 / 2 ? 150 : 100;
}
constexpr int ImageSize(int size, int dpi) {
    return size * ImagePercent(dpi) / 100;
}
// The resource of a picture's set: the 100 % picture's number, plus 1000 at 150 %, 2000 at 200 %.
constexpr int ImageResource(int bitmap, int dpi) {
    return bitmap + (ImagePercent(dpi) - 100) * 20;
}
