#include "toolkit/DictionaryUtilities.h"
#include "toolkit/ImageHelpers.h"
#include "toolkit/ImageTintColor.h"
#include "toolkit/OSVersionHelper.h"
#include "toolkit/StringSize.h"

#include <QDir>
#include <QFile>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

TEST(DictionaryUtilities, ReplaceMergeAndNullValues)
{
    const QVariantMap base {{"a", 1}, {"b", 2}};
    EXPECT_EQ(kz_dictionaryByReplacingObject(base, 3, "b"), (QVariantMap {{"a", 1}, {"b", 3}}));
    EXPECT_FALSE(kz_dictionaryByReplacingObject(base, QVariant(), "b"));
    EXPECT_FALSE(kz_dictionaryByReplacingObject(base, 3, QString()));

    EXPECT_EQ(kz_dictionaryByMergingWithDictionary(base, {{"b", "other"}, {"c", 4}}),
              (QVariantMap {{"a", 1}, {"b", "other"}, {"c", 4}}));

    const QVariantMap withNulls {{"x", QVariant()}, {"y", QVariant::fromValue(nullptr)}, {"z", 0}};
    EXPECT_EQ(kz_dictionaryByRemovingNullValues(withNulls), (QVariantMap {{"x", ""}, {"y", ""}, {"z", 0}}));
}

TEST(DictionaryUtilities, PropertyListsAreDictionariesOrNothing)
{
    QTemporaryDir dir;
    const auto write = [&](const QString& name, const QByteArray& text) {
        QFile file(dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        return file.fileName();
    };
    EXPECT_EQ(kz_dictionaryFromPropertyListAtPath(write("dict.json", R"({"k": [1, 2], "s": "v"})")),
              (QVariantMap {{"k", QVariantList {1, 2}}, {"s", "v"}}));
    EXPECT_FALSE(kz_dictionaryFromPropertyListAtPath(write("list.json", "[1, 2]")));
    EXPECT_FALSE(kz_dictionaryFromPropertyListAtPath(write("broken.json", "{\"k\": ")));
    EXPECT_FALSE(kz_dictionaryFromPropertyListAtPath(dir.filePath("missing.json")));
    EXPECT_FALSE(kz_dictionaryFromPropertyListWithName("no-such-list"));
}

TEST(StringSize, MeasuresWrappedTextAndRoundsAfterThePadding)
{
    QFont font;
    font.setPixelSize(13);
    const QFontMetricsF metrics(font);
    const QString word = QStringLiteral("Battery");
    const qreal lineHeight = kzn_sizeWithWidth(word, 1.0e9f, font, 0).height();
    EXPECT_NEAR(lineHeight, metrics.height(), 1.0);

    // Rounded after the padding is added, each dimension on its own.
    const QSizeF size = kz_sizeWithWidth(word, 1.0e9, font, 0.5);
    EXPECT_EQ(size.width(), std::round(metrics.horizontalAdvance(word) + 0.5));
    EXPECT_EQ(size.height(), std::round(lineHeight + 0.5));

    // A box just wider than one word puts each word on a line of its own.
    const QSizeF wrapped = kz_sizeWithWidth(QStringLiteral("Battery Battery Battery"), metrics.horizontalAdvance(word) + 4, font, 0);
    EXPECT_EQ(wrapped.height(), std::round(3 * lineHeight));
    EXPECT_LE(wrapped.width(), std::round(metrics.horizontalAdvance(word) + 4));

    // The other form keeps the given width and does not round.
    const QSizeF unrounded = kzn_sizeWithWidth(word, 120.25f, font, 0.25);
    EXPECT_EQ(unrounded.width(), 120.25);
    EXPECT_DOUBLE_EQ(unrounded.height(), lineHeight + 0.25);
}

TEST(OSVersionHelper, ThresholdsCompareAtLeastAndEveryModernTestAnswersTrue)
{
    EXPECT_TRUE(kz_isVersionNumberAtLeast(1151.16, 1151.16));
    EXPECT_FALSE(kz_isVersionNumberAtLeast(1151.15, 1151.16));
    EXPECT_TRUE(kz_isOperatingSystemAtLeast10_9());
    EXPECT_TRUE(kz_isOperatingSystemAtLeast10_10());
    EXPECT_TRUE(kz_isOperatingSystemAtLeast10_10_3());
}

TEST(ImageTintColor, ColourReplacesOpaquePixelsAndKeepsTransparency)
{
    QImage image(4, 1, QImage::Format_ARGB32);
    image.setPixelColor(0, 0, QColor(0, 0, 0, 255));
    image.setPixelColor(1, 0, QColor(255, 255, 0, 255));
    image.setPixelColor(2, 0, QColor(0, 0, 0, 0));
    image.setPixelColor(3, 0, QColor(0, 0, 0, 128));
    const QImage tinted = kz_imageWithTintColor(image, Qt::red).convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(tinted.size(), image.size());
    EXPECT_EQ(tinted.pixelColor(0, 0), QColor(Qt::red));
    EXPECT_EQ(tinted.pixelColor(1, 0), QColor(Qt::red));
    EXPECT_EQ(tinted.pixelColor(2, 0).alpha(), 0);
    EXPECT_NEAR(tinted.pixelColor(3, 0).alpha(), 128, 1);
    EXPECT_EQ(tinted.pixelColor(3, 0).red(), 255);

    EXPECT_FALSE(kz_imageWithName("no-such-image", Qt::red));
    // Without an icon theme there is no notifications icon, and asking again changes nothing.
    EXPECT_EQ(kz_notificationsSystemImage().isNull(), kz_notificationsSystemImage().isNull());
}
