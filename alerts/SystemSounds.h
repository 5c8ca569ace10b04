#pragma once

#include <QStringList>

// Sorted names of the alert sounds in the sound folders (see SystemSound), extensions stripped.
// A name found in several folders appears once per folder.

// Every folder: the application's own sounds, the user's, the machine's and the system's.
QStringList kz_allSoundsArray();
// The user's folder ($XDG_DATA_HOME/sounds) only.
QStringList kz_userSoundsArray();
// The system's folder (/usr/share/sounds) and the sounds that ship with the application.
QStringList kz_systemSoundsArray();
