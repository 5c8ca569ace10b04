#include "platform/power/PowerSources.h"

#include "platform/power/PowerSupplySnapshot.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace PowerSources {

namespace {

using Supply = PowerSupplySnapshot::Supply;

constexpr qint64 kNoTimeToFull = 65535;

bool hasStatus(const Supply& s, const char* status)
{
    return s.status && *s.status == QLatin1String(status);
}

// Batteries (or, without any, UPS units) decide the state of the power source as a whole.
const std::vector<Supply>& sourceSupplies(const PowerSupplySnapshot& tree)
{
    return tree.batteries().empty() ? tree.upses() : tree.batteries();
}

// External power: any line-power supply online. Where no line-power supply tells (none exists, or
// none has a readable `online`), a source that charges, is full or holds its charge is on it.
bool externalConnected(const PowerSupplySnapshot& tree)
{
    bool anyKnown = false;
    for (const Supply& line : tree.linePower()) {
        if (!line.online)
            continue;
        anyKnown = true;
        if (*line.online)
            return true;
    }
    if (anyKnown)
        return false;
    for (const Supply& s : sourceSupplies(tree)) {
        if (hasStatus(s, "Charging") || hasStatus(s, "Full") || hasStatus(s, "Not charging"))
            return true;
    }
    return false;
}

bool anyCharging(const std::vector<Supply>& supplies)
{
    for (const Supply& s : supplies)
        if (hasStatus(s, "Charging"))
            return true;
    return false;
}

bool allFull(const std::vector<Supply>& supplies)
{
    if (supplies.empty())
        return false;
    for (const Supply& s : supplies)
        if (!hasStatus(s, "Full"))
            return false;
    return true;
}

// The voltage (µV) that turns a battery's energy into charge: the design voltage, else the present
// one; the first that is above 1 V.
std::optional<qint64> conversionVoltage(const Supply& s)
{
    for (const auto& v : {s.voltageMaxDesign, s.voltageMinDesign, s.voltageNow})
        if (v && *v > 1'000'000)
            return v;
    return std::nullopt;
}

// A capacity in mAh from the charge (µAh) or, for batteries that count energy, the energy (µWh).
std::optional<qint64> capacityMah(const Supply& s, const std::optional<qint64>& charge,
                                  const std::optional<qint64>& energy)
{
    if (charge)
        return qRound64(*charge / 1000.0);
    const auto volts = conversionVoltage(s);
    if (energy && volts)
        return qRound64(static_cast<double>(*energy) / (*volts / 1e6) / 1000.0);
    return std::nullopt;
}

// The current in mA: negative while discharging, positive while charging.
std::optional<qint64> currentMa(const Supply& s)
{
    double milliamps;
    if (s.currentNow)
        milliamps = *s.currentNow / 1000.0;
    else if (s.powerNow && s.voltageNow && *s.voltageNow > 0)
        milliamps = static_cast<double>(*s.powerNow) / static_cast<double>(*s.voltageNow) * 1000.0;
    else
        return std::nullopt;
    if (hasStatus(s, "Discharging"))
        milliamps = -std::fabs(milliamps);
    else if (hasStatus(s, "Charging"))
        milliamps = std::fabs(milliamps);
    return qRound64(milliamps);
}

// Sums one value over every supply; known only when every supply reports its part.
template <typename F>
std::optional<qint64> sumAll(const std::vector<Supply>& supplies, F value)
{
    if (supplies.empty())
        return std::nullopt;
    qint64 sum = 0;
    for (const Supply& s : supplies) {
        const std::optional<qint64> v = value(s);
        if (!v)
            return std::nullopt;
        sum += *v;
    }
    return sum;
}

// The remaining charge in percent: the one battery's own figure; for several, their figures
// weighted by their full-charge capacities (or averaged when those are unknown).
std::optional<qint64> currentCapacityPercent(const std::vector<Supply>& supplies)
{
    if (supplies.size() == 1)
        return supplies.front().capacity;
    const auto percents = sumAll(supplies, [](const Supply& s) { return s.capacity; });
    if (!percents)
        return std::nullopt;
    double weighted = 0;
    double weights = 0;
    for (const Supply& s : supplies) {
        const auto full = capacityMah(s, s.chargeFull, s.energyFull);
        if (!full) {
            weights = 0;
            break;
        }
        weighted += static_cast<double>(*s.capacity) * static_cast<double>(*full);
        weights += static_cast<double>(*full);
    }
    if (weights > 0)
        return qRound64(weighted / weights);
    return qRound64(static_cast<double>(*percents) / static_cast<double>(supplies.size()));
}

// The verdict of the source: the first that is not "Good", else "Good"; absent when none reports one.
std::optional<QString> healthVerdict(const std::vector<Supply>& supplies)
{
    std::optional<QString> verdict;
    for (const Supply& s : supplies) {
        if (!s.health)
            continue;
        if (*s.health != QLatin1String("Good"))
            return s.health;
        verdict = s.health;
    }
    return verdict;
}

QVariantMap description(const std::vector<Supply>& supplies, const QString& type, const QString& name,
                        bool onExternalPower)
{
    QVariantMap d;
    d.insert(QStringLiteral("Type"), type);
    d.insert(QStringLiteral("Name"), name);
    d.insert(QStringLiteral("Is Present"), true);
    d.insert(QStringLiteral("Is Charging"), anyCharging(supplies));
    d.insert(QStringLiteral("Is Charged"), allFull(supplies));
    d.insert(QStringLiteral("Power Source State"),
             onExternalPower ? QStringLiteral("AC Power") : QStringLiteral("Battery Power"));
    if (const auto percent = currentCapacityPercent(supplies))
        d.insert(QStringLiteral("Current Capacity"), *percent);
    if (const auto verdict = healthVerdict(supplies))
        d.insert(QStringLiteral("Voltara"), *verdict);
    return d;
}

// The energy (µWh) left in, or still to go into, one supply, and the power (µW) flowing; charge and
// current count through the present voltage where the battery reports no energy or power.
std::optional<double> energyLeft(const Supply& s)
{
    if (s.energyNow)
        return static_cast<double>(*s.energyNow);
    if (s.chargeNow && s.voltageNow && *s.voltageNow > 0)
        return static_cast<double>(*s.chargeNow) * (*s.voltageNow / 1e6);
    return std::nullopt;
}

std::optional<double> energyToGo(const Supply& s)
{
    if (s.energyFull && s.energyNow)
        return static_cast<double>(std::max<qint64>(0, *s.energyFull - *s.energyNow));
    if (s.chargeFull && s.chargeNow && s.voltageNow && *s.voltageNow > 0)
        return static_cast<double>(std::max<qint64>(0, *s.chargeFull - *s.chargeNow)) * (*s.voltageNow / 1e6);
    return std::nullopt;
}

std::optional<double> powerFlowing(const Supply& s)
{
    if (s.powerNow)
        return std::fabs(static_cast<double>(*s.powerNow));
    if (s.currentNow && s.voltageNow)
        return std::fabs(static_cast<double>(*s.currentNow)) * (*s.voltageNow / 1e6);
    return std::nullopt;
}

// Hours to empty (or, with `toFull`, to fill) the supplies at the present rate, in one consistent
// unit: charge over current where every supply counts charge, else energy over power. None while
// nothing flows or a supply does not tell.
std::optional<double> hoursAtPresentRate(const std::vector<Supply>& supplies, bool toFull)
{
    double amount = 0;
    double rate = 0;
    bool inCharge = true;
    for (const Supply& s : supplies) {
        std::optional<qint64> charge = s.chargeNow;
        if (toFull)
            charge = s.chargeFull && s.chargeNow ? std::optional<qint64>(std::max<qint64>(0, *s.chargeFull - *s.chargeNow))
                                                 : std::nullopt;
        if (!charge || !s.currentNow) {
            inCharge = false;
            break;
        }
        amount += static_cast<double>(*charge);
        rate += std::fabs(static_cast<double>(*s.currentNow));
    }
    if (!inCharge) {
        amount = 0;
        rate = 0;
        for (const Supply& s : supplies) {
            const auto energy = toFull ? energyToGo(s) : energyLeft(s);
            const auto power = powerFlowing(s);
            if (!energy || !power)
                return std::nullopt;
            amount += *energy;
            rate += *power;
        }
    }
    if (rate <= 0)
        return std::nullopt;
    return amount / rate;
}

double timeRemainingEstimate(const PowerSupplySnapshot& tree)
{
    if (externalConnected(tree))
        return -2;
    const std::vector<Supply>& supplies = sourceSupplies(tree);
    if (supplies.empty())
        return -1;
    // The driver's own estimate, where one source tells it (0 means it has none).
    if (supplies.size() == 1) {
        const Supply& s = supplies.front();
        for (const auto& t : {s.timeToEmptyNow, s.timeToEmptyAvg})
            if (t && *t > 0)
                return static_cast<double>(*t);
    }
    const auto hours = hoursAtPresentRate(supplies, false);
    return hours ? *hours * 3600.0 : -1;
}

// Minutes until full: the driver's own estimate for one battery, else what is still to charge over
// the charging rate; 65535 when there is no estimate.
qint64 avgTimeToFull(const std::vector<Supply>& batteries, bool charging)
{
    if (batteries.size() == 1) {
        const Supply& s = batteries.front();
        for (const auto& t : {s.timeToFullAvg, s.timeToFullNow})
            if (t && *t > 0)
                return qRound64(*t / 60.0);
    }
    if (charging) {
        if (const auto hours = hoursAtPresentRate(batteries, true))
            return qRound64(*hours * 60.0);
    }
    return kNoTimeToFull;
}

thread_local int sharedReadDepth = 0;
thread_local std::shared_ptr<const PowerSupplySnapshot> sharedRead;
thread_local QString sharedReadRoot;

// The tree as it is now, or as the enclosing SharedReadScope read it.
std::shared_ptr<const PowerSupplySnapshot> readTree()
{
    const QString root = rootPath();
    if (sharedReadDepth > 0 && sharedRead && sharedReadRoot == root)
        return sharedRead;
    auto tree = std::make_shared<const PowerSupplySnapshot>(PowerSupplySnapshot::read(root));
    if (sharedReadDepth > 0) {
        sharedRead = tree;
        sharedReadRoot = root;
    }
    return tree;
}

} // namespace

SharedReadScope::SharedReadScope()
{
    ++sharedReadDepth;
}

SharedReadScope::~SharedReadScope()
{
    if (--sharedReadDepth == 0) {
        sharedRead.reset();
        sharedReadRoot.clear();
    }
}

QString rootPath()
{
    const QByteArray env = qgetenv("VOLTARA_POWER_SUPPLY_ROOT");
    return env.isEmpty() ? QStringLiteral("/sys/class/power_supply") : QString::fromLocal8Bit(env);
}

QVariantList copyPowerSourcesList()
{
    const auto treeRead = readTree();
    const PowerSupplySnapshot& tree = *treeRead;
    const bool external = externalConnected(tree);
    QVariantList list;
    if (!tree.batteries().empty())
        list << description(tree.batteries(), QStringLiteral("InternalBattery"), QStringLiteral("InternalBattery-0"),
                            external);
    for (const Supply& ups : tree.upses())
        list << description({ups}, QStringLiteral("UPS"), ups.name, external);
    return list;
}

double getTimeRemainingEstimate()
{
    return timeRemainingEstimate(*readTree());
}

std::optional<QVariantMap> copyExternalPowerAdapterDetails()
{
    const auto treeRead = readTree();
    const PowerSupplySnapshot& tree = *treeRead;
    for (const Supply& line : tree.linePower()) {
        if (!line.online || !*line.online || !line.voltageMax || !line.currentMax)
            continue;
        QVariantMap details;
        details.insert(QStringLiteral("Watts"), static_cast<double>(*line.voltageMax) / 1e6 *
                                                    (static_cast<double>(*line.currentMax) / 1e6));
        details.insert(QStringLiteral("Voltage"), qRound64(*line.voltageMax / 1000.0));
        details.insert(QStringLiteral("Current"), qRound64(*line.currentMax / 1000.0));
        details.insert(QStringLiteral("Name"), line.name);
        return details;
    }
    return std::nullopt;
}

std::optional<QVariantMap> copySmartBatteryProperties()
{
    const auto treeRead = readTree();
    const PowerSupplySnapshot& tree = *treeRead;
    const std::vector<Supply>& batteries = tree.batteries();
    if (batteries.empty())
        return std::nullopt;

    QVariantMap p;
    const bool charging = anyCharging(batteries);
    p.insert(QStringLiteral("IsCharging"), charging);
    p.insert(QStringLiteral("FullyCharged"), allFull(batteries));
    p.insert(QStringLiteral("ExternalConnected"), externalConnected(tree));

    std::optional<qint64> cycles;
    for (const Supply& s : batteries)
        if (s.cycleCount && (!cycles || *s.cycleCount > *cycles))
            cycles = s.cycleCount;
    if (cycles)
        p.insert(QStringLiteral("CycleCount"), *cycles);

    const auto design = sumAll(batteries, [](const Supply& s) {
        return capacityMah(s, s.chargeFullDesign, s.energyFullDesign);
    });
    const auto full = sumAll(batteries, [](const Supply& s) { return capacityMah(s, s.chargeFull, s.energyFull); });
    const auto now = sumAll(batteries, [](const Supply& s) { return capacityMah(s, s.chargeNow, s.energyNow); });
    if (design)
        p.insert(QStringLiteral("DesignCapacity"), *design);
    if (full)
        p.insert(QStringLiteral("MaxCapacity"), *full);
    if (now)
        p.insert(QStringLiteral("CurrentCapacity"), *now);

    // Batteries side by side share one voltage; the mean stands for it.
    qint64 voltageSum = 0;
    int voltages = 0;
    for (const Supply& s : batteries) {
        if (s.voltageNow) {
            voltageSum += *s.voltageNow;
            ++voltages;
        }
    }
    if (voltages > 0)
        p.insert(QStringLiteral("Voltage"), qRound64(static_cast<double>(voltageSum) / voltages / 1000.0));

    const auto amperage = sumAll(batteries, currentMa);
    if (amperage) {
        p.insert(QStringLiteral("Amperage"), *amperage);
        p.insert(QStringLiteral("InstantAmperage"), *amperage);
    }
    p.insert(QStringLiteral("AvgTimeToFull"), avgTimeToFull(batteries, charging));

    std::optional<qint64> temp;
    for (const Supply& s : batteries)
        if (s.temp && (!temp || *s.temp > *temp))
            temp = s.temp;
    if (temp)
        p.insert(QStringLiteral("Temperature"), *temp * 10);

    for (const Supply& s : batteries) {
        if (s.manufactureYear && s.manufactureMonth && s.manufactureDay) {
            p.insert(QStringLiteral("ManufactureDate"),
                     *s.manufactureDay + *s.manufactureMonth * 32 + (*s.manufactureYear - 1980) * 512);
            break;
        }
    }
    return p;
}

} // namespace PowerSources
