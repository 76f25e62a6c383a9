#pragma once

#include <QImage>

namespace verada::test {

// The pixels whose colour moved by more than a rounding step between two pictures of one
// size, and the box around them: with a model in one picture and not in the other, where the
// model shows.
struct PictureDifference {
    int count = 0;
    int left = 1 << 30;
    int right = -1;
    int top = 1 << 30;
    int bottom = -1;

    // The box's longer side as a share of the picture's shorter side: framing fills a share
    // of the view's height, and a wide view only adds room at the sides.
    double span(const QSize& size) const;
    bool touchesEdge(const QSize& size) const;
};

PictureDifference comparePictures(const QImage& a, const QImage& b);

}  // namespace verada::test
