#pragma once

#include <QIcon>

// The desktop's notifications icon from the current icon theme, looked up once; a null icon when
// the theme has none.
QIcon kz_notificationsSystemImage();
