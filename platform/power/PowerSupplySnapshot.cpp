#include "platform/power/PowerSupplySnapshot.h"

#include <QFile>
#include <QStringList>

#include <algorithm>
#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

constexpr qint64 kMicroMax = 1'000'000'000'000LL;   // 1 MWh / 1 kA / 1 MV: beyond any battery

std::optional<bool> readFlag(const QString& path)
{
    const auto v = PowerSupplySnapshot::readInteger(path, 0, 1);
    if (!v)
        return std::nullopt;
    return *v == 1;
}

// The entries of the root that may be supplies (folders, or links to them as in sysfs), by name.
QStringList supplyNames(const QString& root)
{
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(root).constData());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        if (entry->d_type == DT_DIR || entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN)
            names << QFile::decodeName(entry->d_name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

PowerSupplySnapshot::Kind kindOf(const QString& type)
{
    if (type == QLatin1String("Battery"))
        return PowerSupplySnapshot::Kind::Battery;
    if (type == QLatin1String("Mains") || type.startsWith(QLatin1String("USB")))
        return PowerSupplySnapshot::Kind::LinePower;
    if (type == QLatin1String("UPS"))
        return PowerSupplySnapshot::Kind::Ups;
    return PowerSupplySnapshot::Kind::Other;
}

} // namespace

std::optional<QString> PowerSupplySnapshot::readString(const QString& path)
{
    // Plain system calls: a refresh reads a few dozen of these files, and QFile's extra checks
    // would double the cost.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    // Attribute files are short; a page is more than any of them holds.
    char buffer[4096];
    ssize_t length;
    do {
        length = ::read(fd, buffer, sizeof buffer);
    } while (length < 0 && errno == EINTR);
    ::close(fd);
    if (length <= 0)
        return std::nullopt;
    const QByteArray bytes(buffer, static_cast<qsizetype>(length));
    if (bytes.contains('\0'))
        return std::nullopt;
    const QString text = QString::fromUtf8(bytes).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    return text;
}

std::optional<qint64> PowerSupplySnapshot::readInteger(const QString& path, qint64 min, qint64 max)
{
    const auto text = readString(path);
    if (!text)
        return std::nullopt;
    // The whole text must be one decimal number: "12abc", "1.5" or "0x10" are not read as a part.
    bool ok = false;
    const qint64 value = text->toLongLong(&ok, 10);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

PowerSupplySnapshot PowerSupplySnapshot::read(const QString& root)
{
    PowerSupplySnapshot tree;
    for (const QString& name : supplyNames(root)) {
        const QString dir = root + QLatin1Char('/') + name + QLatin1Char('/');
        const auto type = readString(dir + QLatin1String("type"));
        if (!type)
            continue;
        Supply s;
        s.name = name;
        s.kind = kindOf(*type);
        if (s.kind == Kind::Other)
            continue;
        const auto scope = readString(dir + QLatin1String("scope"));
        if (scope && *scope == QLatin1String("Device"))
            continue;
        if (s.kind == Kind::Battery) {
            const auto present = readFlag(dir + QLatin1String("present"));
            if (present && !*present)
                continue;
        }

        auto integer = [&](const char* attr, qint64 min, qint64 max) {
            return readInteger(dir + QLatin1String(attr), min, max);
        };
        s.online = readFlag(dir + QLatin1String("online"));
        if (s.kind == Kind::LinePower) {
            // An adapter tells only whether it is plugged in and, sometimes, its rating.
            s.voltageMax = integer("voltage_max", 0, kMicroMax);
            s.currentMax = integer("current_max", 0, kMicroMax);
            tree.m_linePower.push_back(std::move(s));
            continue;
        }
        s.status = readString(dir + QLatin1String("status"));
        s.health = readString(dir + QLatin1String("health"));
        if (s.health && *s.health == QLatin1String("Unknown"))
            s.health.reset();
        s.capacity = integer("capacity", 0, 100);
        s.cycleCount = integer("cycle_count", 0, 1'000'000);
        s.chargeFullDesign = integer("charge_full_design", 0, kMicroMax);
        s.chargeFull = integer("charge_full", 0, kMicroMax);
        s.chargeNow = integer("charge_now", 0, kMicroMax);
        // Energy counts only where the battery does not count charge.
        if (!s.chargeFullDesign || !s.chargeFull || !s.chargeNow) {
            s.energyFullDesign = integer("energy_full_design", 0, kMicroMax);
            s.energyFull = integer("energy_full", 0, kMicroMax);
            s.energyNow = integer("energy_now", 0, kMicroMax);
        }
        s.voltageNow = integer("voltage_now", 0, kMicroMax);
        s.voltageMaxDesign = integer("voltage_max_design", 0, kMicroMax);
        s.voltageMinDesign = integer("voltage_min_design", 0, kMicroMax);
        s.currentNow = integer("current_now", -kMicroMax, kMicroMax);
        s.powerNow = integer("power_now", -kMicroMax, kMicroMax);
        s.temp = integer("temp", -1000, 2000);
        s.timeToFullAvg = integer("time_to_full_avg", 0, 10'000'000);
        s.timeToFullNow = integer("time_to_full_now", 0, 10'000'000);
        s.timeToEmptyNow = integer("time_to_empty_now", 0, 10'000'000);
        s.timeToEmptyAvg = integer("time_to_empty_avg", 0, 10'000'000);
        s.manufactureYear = integer("manufacture_year", 1980, 2107);
        s.manufactureMonth = integer("manufacture_month", 1, 12);
        s.manufactureDay = integer("manufacture_day", 1, 31);

        if (s.kind == Kind::Battery)
            tree.m_batteries.push_back(std::move(s));
        else
            tree.m_upses.push_back(std::move(s));
    }
    return tree;
}
