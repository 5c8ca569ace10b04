#include "alerts/SystemSounds.h"
#include "platform/notify/SystemSound.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

class SystemSoundsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        user = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/sounds";
        QDir(user).removeRecursively();
        const QByteArray wav = QByteArray("RIFF") + QByteArray(4, '\0') + "WAVEfmt " + QByteArray(32, '\0');
        write(user + "/Zeta.wav", wav);
        write(user + "/nested/deeper/alpha.oga", QByteArray("OggS") + QByteArray(40, '\1'));
        write(user + "/Submarine.wav", wav);
        write(user + "/notes.txt", "not a sound");
        write(user + "/broken.wav", "RIFF but nothing else");
        write(user + "/index.theme", "[Sound Theme]");
    }
    void TearDown() override { QDir(user).removeRecursively(); }
    QString user;
};

TEST_F(SystemSoundsTest, ListsLoadableSoundsPerFolderSorted)
{
    EXPECT_EQ(kz_userSoundsArray(), (QStringList{"Submarine", "Zeta", "alpha"}));

    const QStringList all = kz_allSoundsArray();
    EXPECT_TRUE(std::is_sorted(all.begin(), all.end(), [](const QString& a, const QString& b) { return a.compare(b) < 0; }));
    // Once from the application's own sounds, once from the user's folder.
    EXPECT_EQ(all.count("Submarine"), 2);
    EXPECT_EQ(all.count("alpha"), 1);
    EXPECT_FALSE(all.contains("notes") || all.contains("broken") || all.contains("index"));

    const QStringList system = kz_systemSoundsArray();
    EXPECT_EQ(system.count("Submarine"), 1);
    EXPECT_FALSE(system.contains("Zeta"));
}

TEST_F(SystemSoundsTest, SoundNamedSearchesTheApplicationFirstAndSkipsNonSounds)
{
    const auto submarine = SystemSound::soundNamed("Submarine");
    ASSERT_TRUE(submarine);
    EXPECT_EQ(QFileInfo(submarine->path()).canonicalPath(),
              QFileInfo(VOLTARA_SOURCE_DIR "/resources/sounds").canonicalFilePath());
    const auto alpha = SystemSound::soundNamed("alpha");
    ASSERT_TRUE(alpha);
    EXPECT_EQ(alpha->path(), user + "/nested/deeper/alpha.oga");
    for (const QString missing : {"broken", "notes", "", "No such sound"})
        EXPECT_FALSE(SystemSound::soundNamed(missing)) << missing.toStdString();
}

TEST_F(SystemSoundsTest, PlayingNeverBlocks)
{
    const auto submarine = SystemSound::soundNamed("Submarine");
    ASSERT_TRUE(submarine);
    QElapsedTimer timer;
    timer.start();
    EXPECT_TRUE(submarine->play());
    submarine->stop();
    EXPECT_LT(timer.elapsed(), 500);
}

} // namespace
