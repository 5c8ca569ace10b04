#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <initializer_list>
#include <utility>

// A throw-away power_supply tree for one test. While it lives, VOLTARA_POWER_SUPPLY_ROOT points at
// it; the previous value comes back when it goes.
class PowerSupplyTreeBuilder {
public:
    using Attributes = std::initializer_list<std::pair<const char*, const char*>>;

    PowerSupplyTreeBuilder() : m_previous(qgetenv("VOLTARA_POWER_SUPPLY_ROOT"))
    {
        qputenv("VOLTARA_POWER_SUPPLY_ROOT", m_dir.path().toUtf8());
    }
    ~PowerSupplyTreeBuilder()
    {
        if (m_previous.isEmpty())
            qunsetenv("VOLTARA_POWER_SUPPLY_ROOT");
        else
            qputenv("VOLTARA_POWER_SUPPLY_ROOT", m_previous);
    }

    // Writes each attribute as the kernel does, with a trailing newline.
    PowerSupplyTreeBuilder& supply(const QString& name, Attributes attributes)
    {
        for (const auto& [attr, value] : attributes)
            writeRaw(name, attr, QByteArray(value) + '\n');
        return *this;
    }
    void writeRaw(const QString& name, const QString& attr, const QByteArray& bytes)
    {
        QDir(m_dir.path()).mkpath(name);
        QFile file(m_dir.filePath(name + '/' + attr));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    void remove(const QString& name, const QString& attr) { QFile::remove(m_dir.filePath(name + '/' + attr)); }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_previous;
};
