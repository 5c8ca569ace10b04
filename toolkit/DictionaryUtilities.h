#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>

#include <optional>

// A copy with `object` stored under `forKey`; none when either is missing.
std::optional<QVariantMap> kz_dictionaryByReplacingObject(const QVariantMap& dictionary, const QVariant& object,
                                                          const QString& forKey);

// A copy of `dictionary` with every entry of `other` stored over it (the other wins).
QVariantMap kz_dictionaryByMergingWithDictionary(const QVariantMap& dictionary, const QVariantMap& other);

// The property list (a JSON document) compiled into the application as ":/defaults/<name>.json"
// or ":/<name>.json"; none when missing or when its root is not a dictionary.
std::optional<QVariantMap> kz_dictionaryFromPropertyListWithName(const QString& name);

// The property list (JSON) at `path` when its root is a dictionary; none otherwise.
std::optional<QVariantMap> kz_dictionaryFromPropertyListAtPath(const QString& path);

// A copy in which every null value is replaced by the empty string (keys stay).
QVariantMap kz_dictionaryByRemovingNullValues(const QVariantMap& dictionary);
