#pragma once

#include <QImage>

// Pixels of a picture that differ from another picture of the same size.
int differingPixels(const QImage &a, const QImage &b);
