#pragma once

class QWidget;

// Whether the window is in full-screen mode.
bool kz_isFullScreen(const QWidget* window);
