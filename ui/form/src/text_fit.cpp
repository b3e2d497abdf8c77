#include "zarn/form/text_fit.h"

#include "zarn/form/form.h"

#include <algorithm>

namespace zarn::form {
namespace {

bool sharesARow(const Control& a, const Control& b)
{
    return a.top < b.top + b.height && b.top < a.top + a.height;
}

} // namespace

TextRoom textRoom(ControlId label)
{
    const Control& own = control(label);
    int right = clientWidth;
    for (const Control& other : controls) {
        if (other.left > own.left && sharesARow(own, other)) {
            right = std::min(right, other.left);
        }
    }
    return {right - own.left - labelGap, own.bold || isLink(label)};
}

int fittedPixels(int layoutPixels, int room, const std::function<int(int pixels)>& widthAt)
{
    int pixels = layoutPixels;
    while (pixels > 1 && widthAt(pixels) > room) {
        --pixels;
    }
    return pixels;
}

} // namespace zarn::form
