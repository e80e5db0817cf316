// Profiles and their graphics settings, read from and written to real files
// in a temporary documents folder.
#include "launcher/playback/VideoSettings.h"

#include "common/Errors.h"
#include "common/FileSystem.h"
#include "support/CommaLocale.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class VideoSettingsTest : public ::testing::Test {
protected:
    // The game's documents folder, Windows form, ending with "\".
    QString Docs() const { return QvrFs::WinPathOfHost(Tmp.path()) + u'\\'; }
    QString Folder(const QString& Id) const { return ProfileFolder(Docs(), Id); }
    QString HostFile(const QString& Id, const QString& Name) const {
        return Tmp.path() + "/Profiles/" + Id + "/" + Name;
    }
    void Write(const QString& Id, const QString& Name, const QByteArray& Text) {
        ASSERT_TRUE(WriteHostFile(HostFile(Id, Name), Text));
    }
    QByteArray Read(const QString& Id, const QString& Name) const {
        return ReadHostFile(HostFile(Id, Name));
    }
    // A profile as the game leaves it: both files the reader needs.
    void MakeProfile(const QString& Id, const QByteArray& Video,
                     const QByteArray& Server = "sv.demoQuality 1\r\n") {
        Write(Id, "Video.con", Video);
        Write(Id, "ServerSettings.con", Server);
    }
    QTemporaryDir Tmp;
};

TEST_F(VideoSettingsTest, ValuesReadAsPositionsAndWrittenBack) {
    const TCommaLocale Comma;
    ASSERT_TRUE(Comma.NumericActive());
    MakeProfile("1", "VideoSettings.setTerrainQuality 4\r\n"
                     "VideoSettings.setLightingQuality 0\r\n"
                     "VideoSettings.setDynamicShadowsQuality 0\r\n"
                     "VideoSettings.setTextureQuality 2 trailing words\r\n"
                     "VideoSettings.setAntialiasing 4Samples\r\n"
                     "VideoSettings.setViewDistanceScale 0.8\r\n"
                     "\r\n"
                     "VideoSettings.setResolution 1024x768@60Hz\r\n");
    TVideoPage Page;
    ReadProfileVideo(Folder("1"), Page);
    const std::array<int, CVideoControlCount> Expected{3, -1, -1, -1, 0, -1, 1, -1, 2, 8};
    EXPECT_EQ(Page.Position, Expected);
    EXPECT_EQ(ViewDistanceLabel(Page.Position[vcViewDistance]), "0.80");

    QStringList Log;
    SaveVideoCon(Folder("1") + "Video.con", Page, [&](const QString& L) { Log << L; });
    // A list without a selection goes back as the value that reads as none.
    const QByteArray Written = "VideoSettings.setTerrainQuality 4\r\n"
                               "VideoSettings.setLightingQuality 0\r\n"
                               "VideoSettings.setDynamicShadowsQuality 0\r\n"
                               "VideoSettings.setTextureQuality 2\r\n"
                               "VideoSettings.setAntialiasing 4Samples\r\n"
                               "VideoSettings.setViewDistanceScale 0.80\r\n"
                               "\r\n"
                               "VideoSettings.setResolution 1024x768@60Hz\r\n";
    EXPECT_EQ(Read("1", "Video.con"), Written);
    QStringList ExpectedLog{"Saving Video settings to file [" + Folder("1") + "Video.con]",
                            "Video.con:"};
    for (const QByteArray& L : Written.split('\n').mid(0, 8))
        ExpectedLog << "    " + QString::fromLatin1(L.chopped(1));
    ExpectedLog << "-- end of Video.con";
    EXPECT_EQ(Log, ExpectedLog);

    Page.Position[vcViewDistance] = 10;
    SaveVideoCon(Folder("1") + "Video.con", Page, [](const QString&) {});
    EXPECT_TRUE(Read("1", "Video.con").contains("\r\nVideoSettings.setViewDistanceScale 1\r\n"));
}

TEST_F(VideoSettingsTest, OneValueToOnePosition) {
    const TCommaLocale Comma;
    struct TCase {
        TVideoControl Control;
        const char* Value;
        int Position; // -2: unchanged from 5
    };
    const TCase Cases[] = {
        {vcTerrainQuality, "1", 0},    {vcTerrainQuality, "4", 3},   {vcTerrainQuality, "0", -1},
        {vcTerrainQuality, "5", -1},   {vcTerrainQuality, "$2", 1},  {vcDynLightQuality, "0", 0},
        {vcDynLightQuality, "-1", -1}, {vcDynShadow, "5", -1},       {vcAntialias, "Off", 0},
        {vcAntialias, "2Samples", 1},  {vcAntialias, "6Samples", 3}, {vcAntialias, "off", -2},
        {vcAntialias, "8Samples", -2}, {vcViewDistance, "0.75", 8},  {vcViewDistance, "0.65", 6},
        {vcViewDistance, "0.05", 0},   {vcViewDistance, "0.15", 2},  {vcViewDistance, "1", 10},
        {vcViewDistance, "2.5", 10},   {vcViewDistance, "-0.3", 0},  {vcViewDistance, "1e-1", 1},
    };
    for (const TCase& C : Cases) {
        TVideoPage Page;
        Page.Position[C.Control] = 5;
        ApplyVideoSetting(Page, C.Control, C.Value);
        EXPECT_EQ(Page.Position[C.Control], C.Position == -2 ? 5 : C.Position) << C.Value;
    }
    for (const auto& [Control, Value] : {std::pair{vcTerrainQuality, "high"},
                                         {vcDynShadow, "1.0"},
                                         {vcViewDistance, "0.8x"},
                                         {vcViewDistance, "nan"},
                                         {vcViewDistance, "1,000"}}) {
        TVideoPage Page;
        EXPECT_THROW(ApplyVideoSetting(Page, Control, Value), EConvertError) << Value;
    }
}

TEST_F(VideoSettingsTest, OnePositionToOneValue) {
    const TCommaLocale Comma;
    struct TCase {
        TVideoControl Control;
        int Position;
        const char* Written; // nullptr: the line keeps its value
    };
    const TCase Cases[] = {
        {vcTerrainQuality, -1, "0"}, {vcTerrainQuality, 0, "1"},  {vcTxtFilterQuality, 3, "4"},
        {vcDynShadow, -1, "-1"},     {vcDynShadow, 0, "0"},       {vcDynLightQuality, 4, "4"},
        {vcAntialias, -1, nullptr},  {vcAntialias, 0, "Off"},     {vcAntialias, 3, "6Samples"},
        {vcViewDistance, 0, "0.00"}, {vcViewDistance, 7, "0.70"}, {vcViewDistance, 10, "1"},
    };
    for (const TCase& C : Cases) {
        const std::optional<QString> W = WrittenVideoValue(C.Control, C.Position);
        if (C.Written)
            EXPECT_EQ(W, QString(C.Written)) << C.Control << " " << C.Position;
        else
            EXPECT_EQ(W, std::nullopt) << C.Control;
    }
    EXPECT_EQ(ViewDistanceLabel(7), "0.70");
    EXPECT_EQ(ViewDistanceLabel(10), "1.00");
}

TEST_F(VideoSettingsTest, AntialiasingOfAnEarlierProfileIsKeptAndWritten) {
    MakeProfile("A", "VideoSettings.setAntialiasing 4Samples\r\n");
    MakeProfile("B", "VideoSettings.setAntialiasing 8Samples\r\n");
    TVideoPage Page;
    ReadProfileVideo(Folder("A"), Page);
    ReadProfileVideo(Folder("B"), Page);
    EXPECT_EQ(Page.Position[vcAntialias], 2);
    SaveVideoCon(Folder("B") + "Video.con", Page, [](const QString&) {});
    EXPECT_EQ(Read("B", "Video.con"), "VideoSettings.setAntialiasing 4Samples\r\n");
}

TEST_F(VideoSettingsTest, DemoQuality) {
    MakeProfile("Mid", "", "sv.demoQuality 7\r\nsv.serverName \"My server\"\r\n");
    MakeProfile("None", "", "sv.serverName x\r\nsv.demoQuality\r\n");
    Write("NoVideo", "ServerSettings.con", "sv.demoQuality 3\r\n");
    TVideoPage Page;
    ReadProfileVideo(Folder("Mid"), Page);
    EXPECT_EQ(Page.DemoQuality, 6);
    // Without a value for it the display shows its first entry, "1".
    ReadProfileVideo(Folder("None"), Page);
    EXPECT_EQ(Page.DemoQuality, 0);
    // A profile without Video.con empties the display for good.
    Page.Position[vcTerrainQuality] = 2;
    ReadProfileVideo(Folder("NoVideo"), Page);
    EXPECT_EQ(Page.DemoQualityEntries, 0);
    EXPECT_EQ(Page.DemoQuality, -1);
    EXPECT_EQ(Page.Position[vcTerrainQuality], 2);
    ReadProfileVideo(Folder("Mid"), Page);
    EXPECT_EQ(Page.DemoQuality, -1);
}

TEST_F(VideoSettingsTest, FilesOfAnyLengthAndLinesWithoutValues) {
    // Well past the 256 lines an 8-bit line counter can reach.
    QByteArray Video = "\r\n\r\nVideoSettings.setTerrainQuality\r\n  \r\n";
    for (int I = 0; I < 300; ++I)
        Video += "VideoSettings.setResolution 800x600@60Hz\r\n";
    Video += "VideoSettings.setTerrainQuality 2\r\nVideoSettings.setViewDistanceScale\r\n";
    MakeProfile("1", Video, "\r\nsv.demoQuality\r\n");
    TVideoPage Page;
    Page.Position[vcViewDistance] = 4;
    ReadProfileVideo(Folder("1"), Page);
    EXPECT_EQ(Page.Position[vcTerrainQuality], 1);
    EXPECT_EQ(Page.Position[vcViewDistance], 4);
    EXPECT_EQ(Page.DemoQuality, 0);

    // And past the 65536 lines of a 16-bit one when writing.
    QByteArray Long;
    for (int I = 0; I < 70000; ++I)
        Long += "x\r\n";
    Long += "VideoSettings.setGeometryQuality 1\r\n";
    Write("1", "Video.con", Long);
    Page.Position[vcGeometryQuality] = 3;
    SaveVideoCon(Folder("1") + "Video.con", Page, [](const QString&) {});
    EXPECT_TRUE(Read("1", "Video.con").endsWith("x\r\nVideoSettings.setGeometryQuality 4\r\n"));
}

TEST_F(VideoSettingsTest, ErrorsKeepWhatWasReadBefore) {
    MakeProfile("1", "VideoSettings.setTerrainQuality 2\r\n"
                     "VideoSettings.setGeometryQuality high\r\n"
                     "VideoSettings.setLightingQuality 3\r\n");
    TVideoPage Page;
    EXPECT_THROW(ReadProfileVideo(Folder("1"), Page), EConvertError);
    EXPECT_EQ(Page.Position[vcTerrainQuality], 1);
    EXPECT_EQ(Page.Position[vcLightQuality], -1);

    // Without ServerSettings.con the read ends before Video.con.
    Write("2", "Video.con", "VideoSettings.setTerrainQuality 4\r\n");
    TVideoPage Other;
    EXPECT_THROW(ReadProfileVideo(Folder("2"), Other), EFOpenError);
    EXPECT_EQ(Other, TVideoPage());

    // A missing Video.con is neither logged nor made.
    QStringList Log;
    EXPECT_THROW(SaveVideoCon(Folder("3") + "Video.con", Page, [&](const QString& L) { Log << L; }),
                 EFOpenError);
    EXPECT_TRUE(Log.isEmpty());
    EXPECT_FALSE(QFile::exists(HostFile("3", "Video.con")));
}

TEST_F(VideoSettingsTest, ProfileList) {
    Write("11111111", "Profile.con", "LocalProfile.setName \"Player One\"\r\nx\r\n");
    Write("default", "Profile.con", "LocalProfile.setName Lower\r\n");
    Write("Default", "Profile.con", "LocalProfile.setName Skipped\r\n");
    Write("Empty", "Profile.con", "");
    Write("Short", "Profile.con", "LocalProfile.setName\r\n");
    QFile(Tmp.path() + "/Profiles/file.con").open(QIODevice::WriteOnly);
    QList<TProfileRow> Rows;
    EXPECT_TRUE(ListProfiles(Docs(), [&](const TProfileRow& R) { Rows << R; }));
    std::sort(Rows.begin(), Rows.end(),
              [](const TProfileRow& A, const TProfileRow& B) { return A.Id < B.Id; });
    EXPECT_EQ(
        Rows,
        QList<TProfileRow>(
            {{"Player One", "11111111"}, {"", "Empty"}, {"", "Short"}, {"Lower", "default"}}));

    // A folder without Profile.con: its row comes, then the error.
    ASSERT_TRUE(QDir(Tmp.path()).mkpath("Profiles/Broken"));
    QList<TProfileRow> Partial;
    EXPECT_THROW(ListProfiles(Docs(), [&](const TProfileRow& R) { Partial << R; }), EFOpenError);
    ASSERT_FALSE(Partial.isEmpty());
    EXPECT_EQ(Partial.last(), TProfileRow({"", "Broken"}));

    QTemporaryDir Nothing;
    EXPECT_FALSE(ListProfiles(QvrFs::WinPathOfHost(Nothing.path()) + u'\\',
                              [](const TProfileRow&) { ADD_FAILURE(); }));
}

TEST_F(VideoSettingsTest, ListEntries) {
    const TTextLookup English = [](const QString& Key) {
        return Key == "UltraHigh" ? QString("Ultra-High") : Key;
    };
    EXPECT_EQ(VideoListEntries(vcDynShadow, English),
              QStringList({"Off", "Low", "Medium", "High", "Ultra-High"}));
    EXPECT_EQ(VideoListEntries(vcTextureQuality, English),
              QStringList({"Low", "Medium", "High", "Ultra-High"}));
    EXPECT_EQ(VideoListEntries(vcAntialias, English), QStringList({"Off", "2x", "4x", "6x"}));
    EXPECT_TRUE(VideoListEntries(vcViewDistance, English).isEmpty());
}

} // namespace
