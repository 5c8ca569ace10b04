#pragma once

#include <QColor>

// The text and icon colour of a light menu bar: calibrated white 0.225.
QColor kz_menuBarDarkColor();
