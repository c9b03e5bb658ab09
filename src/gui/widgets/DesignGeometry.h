#pragma once

#include <QLayout>
#include <QLineEdit>
#include <QWidget>

namespace tallora {

// The windows are laid out in pixels at 96 dots per inch; on other screens every figure scales.
double DesignScale();
int Px(int designPixels);
// Sets a layout's margins so that its contents stand as measured from the widget's corner,
// whatever room the widget's frame and title take (a group box's).
void SetMarginsFromCorner(QWidget* widget, QLayout* layout, int left, int top, int right,
                          int bottom = 0);
// The width an edit needs to show a text whole in its own font, frame and margins included.
int EditWidthFor(const QLineEdit* edit, const QString& text);

}  // namespace tallora
