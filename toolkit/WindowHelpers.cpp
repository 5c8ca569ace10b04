#include "toolkit/WindowHelpers.h"

#include <QWidget>

bool kz_isFullScreen(const QWidget* window)
{
    return window && window->window()->windowState().testFlag(Qt::WindowFullScreen);
}
