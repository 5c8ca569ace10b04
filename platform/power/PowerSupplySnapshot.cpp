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

// The text of the file `name` inside the folder `dirFd` (or a path, with AT_FDCWD). Plain system
// calls relative to the supply's folder: a refresh reads a few dozen of these files, and QFile's
// extra checks and full path walks would double the cost.
std::optional<QString> textAt(int dirFd, const char* name)
{
    const int fd = ::openat(dirFd, name, O_RDONLY | O_CLOEXEC);
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

std::optional<qint64> integerFromText(const std::optional<QString>& text, qint64 min, qint64 max)
{
    if (!text)
        return std::nullopt;
    // The whole text must be one decimal number: "12abc", "1.5" or "0x10" are not read as a part.
    bool ok = false;
    const qint64 value = text->toLongLong(&ok, 10);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

// The entries of the root that may be supplies (folders, or links to them as in sysfs), by name.
QStringList supplyNames(int rootFd)
{
    QStringList names;
    const int listFd = ::dup(rootFd);
    if (listFd < 0)
        return names;
    DIR* dir = ::fdopendir(listFd);
    if (!dir) {
        ::close(listFd);
        return names;
    }
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

// Closes a descriptor when the scope ends.
struct FdGuard {
    int fd;
    ~FdGuard()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::optional<QString> PowerSupplySnapshot::readString(const QString& path)
{
    return textAt(AT_FDCWD, QFile::encodeName(path).constData());
}

std::optional<qint64> PowerSupplySnapshot::readInteger(const QString& path, qint64 min, qint64 max)
{
    return integerFromText(readString(path), min, max);
}

PowerSupplySnapshot PowerSupplySnapshot::read(const QString& root)
{
    PowerSupplySnapshot tree;
    const FdGuard rootFd{::open(QFile::encodeName(root).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (rootFd.fd < 0)
        return tree;
    for (const QString& name : supplyNames(rootFd.fd)) {
        const FdGuard dirFd{::openat(rootFd.fd, QFile::encodeName(name).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
        if (dirFd.fd < 0)
            continue;
        auto text = [&](const char* attr) { return textAt(dirFd.fd, attr); };
        auto integer = [&](const char* attr, qint64 min, qint64 max) {
            return integerFromText(textAt(dirFd.fd, attr), min, max);
        };
        auto flag = [&](const char* attr) -> std::optional<bool> {
            const auto v = integer(attr, 0, 1);
            if (!v)
                return std::nullopt;
            return *v == 1;
        };

        const auto type = text("type");
        if (!type)
            continue;
        Supply s;
        s.name = name;
        s.kind = kindOf(*type);
        if (s.kind == Kind::Other)
            continue;
        const auto scope = text("scope");
        if (scope && *scope == QLatin1String("Device"))
            continue;
        if (s.kind == Kind::Battery) {
            const auto present = flag("present");
            if (present && !*present)
                continue;
        }

        s.online = flag("online");
        if (s.kind == Kind::LinePower) {
            // An adapter tells only whether it is plugged in and, sometimes, its rating.
            s.voltageMax = integer("voltage_max", 0, kMicroMax);
            s.currentMax = integer("current_max", 0, kMicroMax);
            tree.m_linePower.push_back(std::move(s));
            continue;
        }
        s.status = text("status");
        s.health = text("health");
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
