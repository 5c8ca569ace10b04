#include "menubar/MenuBarColors.h"

QColor kz_menuBarDarkColor()
{
    return QColor::fromRgbF(0.225f, 0.225f, 0.225f, 1.0f);
}
