#pragma once

#include <QSizeF>

class QWidget;

// Resizes `window` so that its content gets `size`, keeping its top edge and its horizontal centre
// where they are: the frame grows by the difference and moves left by half the width difference.
// Animated over 0.2 s when asked.
void kz_setContentSize(QWidget* window, const QSizeF& size, bool animated);
