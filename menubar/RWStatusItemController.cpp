#include "menubar/RWStatusItemController.h"

#include "app/settings/QVUserDefaults.h"
#include "battery/QVBatteryManager.h"
#include "menubar/MenuBarColors.h"

#include <cmath>
#include <limits>

namespace {
// The single-precision 0.1: exactly 10 % counts as low.
const double kLowFraction = static_cast<double>(0.1f);
constexpr double kLowSeconds = 300;
} // namespace

RWStatusItemController::RWStatusItemController(QObject* parent)
    : KZViewController(parent)
{
    makeStatusItem();
    update();
    QVUserDefaults& defaults = QVUserDefaults::standardUserDefaults();
    for (const char* key : {QVUserDefaults::kMenuBarShowInfo, QVUserDefaults::kMenuBarDisplay,
                            QVUserDefaults::kMenuBarColor})
        defaults.addObserver(QLatin1String(key), [this](const QVariant&) { update(); }, this);
}

RWStatusItemController::~RWStatusItemController()
{
    QVUserDefaults::standardUserDefaults().removeObserver(this);
}

void RWStatusItemController::makeStatusItem()
{
    m_statusItem = new QVStatusItem(this);
}

void RWStatusItemController::setStatusMenu(QMenu* statusMenu)
{
    m_statusMenu = statusMenu;
    m_statusItem->setContextMenu(statusMenu);
}

void RWStatusItemController::update()
{
    QVUserDefaults& defaults = QVUserDefaults::standardUserDefaults();
    QVBatteryManager& manager = QVBatteryManager::sharedManager();
    const auto data = manager.data();
    if (!manager.hasBatteryInstalled() || !defaults.menuBarShowInfo() || !data) {
        m_statusItem->setBadge(QString());
        return;
    }

    const bool connected = data->isConnectedToPowerSource();
    const double level = data->chargeLevel();
    const double estimate = data->timeRemainingEstimate();
    const bool timeMode = defaults.menuBarDisplay() != 0;
    const bool noEstimate = estimate == -1 || estimate == -2;

    bool goRed = false;
    if (defaults.menuBarColor() == 1 && !connected) {
        if (!timeMode)
            goRed = level <= kLowFraction;
        else
            goRed = !noEstimate && estimate <= kLowSeconds;
    }
    m_statusItem->setGoRed(goRed);
    if (goRed) {
        m_statusItem->setBadgeColor(QVStatusItem::alertRedColor());
        m_statusItem->setBadgeColorDark(QVStatusItem::alertRedColor());
    } else {
        m_statusItem->setBadgeColor(kz_menuBarDarkColor());
        m_statusItem->setBadgeColorDark(Qt::white);
    }

    QString text;
    if (timeMode) {
        if (noEstimate)
            text = connected ? QStringLiteral("\u221E") : QStringLiteral("Calculating...");
        else
            text = timeStringWithSeconds(estimate);
    } else {
        text = QString::asprintf("%0.0f%%", std::max(0.0, level * 100));
    }
    m_statusItem->setBadge(text);
}

QString RWStatusItemController::timeStringWithSeconds(double seconds)
{
    if (seconds == 0)
        return QStringLiteral("0");
    // Whole minutes as an unsigned number; a negative or absurd input counts as none.
    const double minutesValue = seconds / 60;
    unsigned long minutes = 0;
    if (std::isfinite(minutesValue) && minutesValue > 0
        && minutesValue < static_cast<double>(std::numeric_limits<unsigned long>::max()))
        minutes = static_cast<unsigned long>(minutesValue);
    return QString::asprintf("%02ld:%02ld", static_cast<long>(minutes / 60), static_cast<long>(minutes % 60));
}
