#pragma once

#include <QColor>
#include <QString>

#include <optional>

// The named palette of the application. Each colour is made on first use and kept in one
// process-wide cache keyed by its function's name ("rw_redColor").
std::optional<QColor> rw_cachedColorWithKey(const QString& key);

QColor rw_redColor();
QColor rw_orangeColor();
QColor rw_yellowColor();
QColor rw_greenColor();
QColor rw_lightGreenColor();
QColor rw_blueColor();
QColor rw_darkBlueColor();
QColor rw_purpleColor();
QColor rw_pinkColor();
QColor rw_darkGrayColor();
QColor rw_lightGrayColor();
QColor rw_reallyLightGrayColor();
QColor rw_lightRedColor();
QColor rw_lightBlueColor();
