#pragma once

#include <QWidget>

namespace tallora {

// The windows are laid out in pixels at 96 dots per inch; on other screens every figure scales.
double DesignScale();
int Px(int designPixels);
void Place(QWidget* widget, int left, int top, int width, int height);

}  // namespace tallora
