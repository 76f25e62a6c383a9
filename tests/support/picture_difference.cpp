#include "tests/support/picture_difference.h"

#include <algorithm>
#include <cstdlib>

namespace verada::test {

double PictureDifference::span(const QSize& size) const {
    if (count == 0) {
        return 0.0;
    }
    return static_cast<double>(std::max(right - left + 1, bottom - top + 1)) /
           std::min(size.width(), size.height());
}

bool PictureDifference::touchesEdge(const QSize& size) const {
    return count > 0 &&
           (left == 0 || top == 0 || right == size.width() - 1 || bottom == size.height() - 1);
}

PictureDifference comparePictures(const QImage& a, const QImage& b) {
    PictureDifference difference;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            QRgb p = a.pixel(x, y);
            QRgb q = b.pixel(x, y);
            if (std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                    std::abs(qBlue(p) - qBlue(q)) >
                6) {
                ++difference.count;
                difference.left = std::min(difference.left, x);
                difference.right = std::max(difference.right, x);
                difference.top = std::min(difference.top, y);
                difference.bottom = std::max(difference.bottom, y);
            }
        }
    }
    return difference;
}

}  // namespace verada::test
