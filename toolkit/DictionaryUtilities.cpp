#include "toolkit/DictionaryUtilities.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

std::optional<QVariantMap> kz_dictionaryByReplacingObject(const QVariantMap& dictionary, const QVariant& object,
                                                          const QString& forKey)
{
    if (!object.isValid() || forKey.isNull())
        return std::nullopt;
    QVariantMap copy = dictionary;
    copy.insert(forKey, object);
    return copy;
}

QVariantMap kz_dictionaryByMergingWithDictionary(const QVariantMap& dictionary, const QVariantMap& other)
{
    QVariantMap merged = dictionary;
    for (auto it = other.constBegin(); it != other.constEnd(); ++it)
        merged.insert(it.key(), it.value());
    return merged;
}

std::optional<QVariantMap> kz_dictionaryFromPropertyListWithName(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    for (const QString& path : {QStringLiteral(":/defaults/%1.json").arg(name), QStringLiteral(":/%1.json").arg(name)}) {
        if (QFile::exists(path))
            return kz_dictionaryFromPropertyListAtPath(path);
    }
    return std::nullopt;
}

std::optional<QVariantMap> kz_dictionaryFromPropertyListAtPath(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object().toVariantMap();
}

QVariantMap kz_dictionaryByRemovingNullValues(const QVariantMap& dictionary)
{
    QVariantMap copy = dictionary;
    for (auto it = copy.begin(); it != copy.end(); ++it) {
        if (!it.value().isValid() || it.value().isNull())
            it.value() = QString();
    }
    return copy;
}
