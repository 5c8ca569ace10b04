#pragma once

#include <QApplication>
#include <QPalette>

// Gives the application a dark palette (a dark menu bar) for the lifetime of the object.
class DarkPalette {
public:
    DarkPalette() : m_saved(QApplication::palette())
    {
        QPalette dark = m_saved;
        dark.setColor(QPalette::Window, QColor(40, 40, 40));
        dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
        QApplication::setPalette(dark);
    }
    ~DarkPalette() { QApplication::setPalette(m_saved); }
    DarkPalette(const DarkPalette&) = delete;
    DarkPalette& operator=(const DarkPalette&) = delete;

private:
    QPalette m_saved;
};
