#include "menubar/ThemeColors.h"

#include <QHash>

#include <functional>
#include <mutex>

namespace {

std::mutex g_cacheLock;
QHash<QString, QColor>* g_cache = nullptr;

QColor cachedColor(const char* key, const std::function<QColor()>& make)
{
    std::lock_guard<std::mutex> lock(g_cacheLock);
    if (!g_cache)
        g_cache = new QHash<QString, QColor>;
    const QString name = QString::fromLatin1(key);
    auto it = g_cache->constFind(name);
    if (it != g_cache->constEnd())
        return *it;
    const QColor color = make();
    g_cache->insert(name, color);
    return color;
}

QColor rgb(float r, float g, float b)
{
    return QColor::fromRgbF(r, g, b, 1.0f);
}

} // namespace

std::optional<QColor> rw_cachedColorWithKey(const QString& key)
{
    std::lock_guard<std::mutex> lock(g_cacheLock);
    if (!g_cache)
        g_cache = new QHash<QString, QColor>;
    auto it = g_cache->constFind(key);
    if (it == g_cache->constEnd())
        return std::nullopt;
    return *it;
}

QColor rw_redColor() { return cachedColor("rw_redColor", [] { return rgb(0.9059f, 0.298f, 0.2353f); }); }
QColor rw_orangeColor() { return cachedColor("rw_orangeColor", [] { return rgb(0.9331f, 0.5423f, 0.0687f); }); }
QColor rw_yellowColor() { return cachedColor("rw_yellowColor", [] { return rgb(1.0f, 0.8f, 0.0f); }); }
QColor rw_greenColor() { return cachedColor("rw_greenColor", [] { return rgb(0.1804f, 0.8f, 0.4431f); }); }
QColor rw_lightGreenColor()
{
    return cachedColor("rw_lightGreenColor", [] { return rgb(0.5882f, 0.898f, 0.7176f); });
}
QColor rw_blueColor() { return cachedColor("rw_blueColor", [] { return rgb(0.0409f, 0.3748f, 0.9984f); }); }
QColor rw_darkBlueColor() { return cachedColor("rw_darkBlueColor", [] { return rgb(0.2039f, 0.6667f, 0.8627f); }); }
QColor rw_purpleColor() { return cachedColor("rw_purpleColor", [] { return rgb(0.3451f, 0.3373f, 0.8392f); }); }
QColor rw_pinkColor() { return cachedColor("rw_pinkColor", [] { return rgb(0.9867f, 0.1735f, 0.4319f); }); }
QColor rw_darkGrayColor() { return cachedColor("rw_darkGrayColor", [] { return rgb(0.3f, 0.3f, 0.3f); }); }
QColor rw_lightGrayColor()
{
    return cachedColor("rw_lightGrayColor", [] { return rgb(0.6761f, 0.6754f, 0.6972f); });
}
QColor rw_reallyLightGrayColor()
{
    return cachedColor("rw_reallyLightGrayColor", [] { return QColor::fromHsvF(0.0f, 0.0f, 0.92f, 1.0f); });
}
QColor rw_lightRedColor() { return cachedColor("rw_lightRedColor", [] { return rgb(0.9176f, 0.4039f, 0.349f); }); }
QColor rw_lightBlueColor()
{
    return cachedColor("rw_lightBlueColor", [] { return rgb(0.1686f, 0.5176f, 0.8235f); });
}
