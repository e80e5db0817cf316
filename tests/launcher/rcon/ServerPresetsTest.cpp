// Server presets in Servers.ini, and the local server's Admin\default.cfg and
// "Localhost" preset, on real files in a temporary folder.
#include "launcher/rcon/ServerPresets.h"
#include "common/Errors.h"
#include "common/ProfileFile.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

void PrintTo(const TServerPreset& P, std::ostream* Out) {
    *Out << qPrintable(
        QStringList({P.Host, P.Port, P.Pass, P.ReadChat ? "True" : "False", P.Players.join('|')})
            .join(','));
}

namespace {

class ServerPresetsTest : public ::testing::Test {
protected:
    void SetUp() override { QDir(Dir.path()).mkpath(QStringLiteral("game/Admin")); }
    QString Path(const char* Name) const { return Dir.filePath(QString::fromLatin1(Name)); }
    QByteArray Read(const char* Name) const {
        QFile F(Path(Name));
        return F.open(QIODevice::ReadOnly) ? F.readAll() : QByteArray("(missing)");
    }
    void Write(const char* Name, const QByteArray& Bytes) {
        QFile F(Path(Name));
        ASSERT_TRUE(F.open(QIODevice::WriteOnly));
        F.write(Bytes);
    }
    QString GameDir() const { return Path("game"); }

    QTemporaryDir Dir;
    TProfileFile Servers{Dir.filePath(QStringLiteral("Servers.ini"))};
};

TEST_F(ServerPresetsTest, APresetIsWrittenKeyByKeyAndReadBack) {
    TServerPreset Preset{QStringLiteral("10.0.0.2"),
                         QStringLiteral("4711"),
                         QStringLiteral("pw"),
                         true,
                         {QStringLiteral("Alpha"), QStringLiteral("Bravo")}};
    WriteServerPreset(Servers, QStringLiteral("Clan"), Preset);
    EXPECT_EQ(Read("Servers.ini"), QByteArray("[Clan]\r\nhost=10.0.0.2\r\nport=4711\r\npass=pw\r\n"
                                              "readchat=True\r\nprivs=, Alpha, Bravo\r\n"));
    EXPECT_EQ(ReadServerPreset(Servers, QStringLiteral("clan")), Preset);
    Preset.ReadChat = false;
    Preset.Players.clear();
    WriteServerPreset(Servers, QStringLiteral("Second"), Preset);
    EXPECT_EQ(ReadServerPreset(Servers, QStringLiteral("Second")), Preset);
    EXPECT_EQ(ServerPresetNames(Servers), QStringList({"Clan", "Second"}));
}

// A password goes only to the server it was given for.
TEST_F(ServerPresetsTest, TheLoginPasswordIsThatOfThePresetOfTheServer) {
    Write("Servers.ini", "[Localhost]\r\nhost=localhost\r\nport=6711\r\npass=local\r\n"
                         "[Neighbour]\r\nhost=localhost\r\nport=4712\r\npass=near\r\n"
                         "[Real]\r\nhost=Real.Example\r\nport=4711\r\npass=real\r\n"
                         "[Broken]\r\nhost=broken.example\r\nport=x\r\npass=broken\r\n");
    const TServerPreset Shown{
        QStringLiteral("typed.example"), QStringLiteral("$10"), QStringLiteral("shown"), false, {}};
    const struct {
        const char* Host;
        int Port;
        std::optional<QString> Password;
    } Cases[] = {
        {"typed.example", 16, QStringLiteral("shown")},
        {"TYPED.example", 16, QStringLiteral("shown")},
        {"real.example", 4711, QStringLiteral("real")},
        {"localhost", 6711, QStringLiteral("local")},
        // The local server's password goes to its port alone.
        {"localhost", 4711, std::nullopt},
        {"localhost", 4712, QStringLiteral("near")},
        {"LOCALHOST", 6711, QStringLiteral("local")},
        {"typed.example", 17, std::nullopt},
        {"real.example", 4712, std::nullopt},
        {"other.example", 4711, std::nullopt},
        {"broken.example", 0, std::nullopt},
        {"127.0.0.1", 6711, std::nullopt},
    };
    for (const auto& C : Cases)
        EXPECT_EQ(LoginPassword(Servers, Shown, QLatin1String(C.Host), C.Port), C.Password)
            << C.Host << ':' << C.Port;
}

TEST_F(ServerPresetsTest, PrivsAndReadChatAreReadByTheirRules) {
    Write("Servers.ini", "[A]\r\nreadchat=true\r\nprivs=, John Smith, \"Q\", , Zed\r\n"
                         "[B]\r\nreadchat=True\r\n[C]\r\nhost=h\r\n");
    const TServerPreset A = ReadServerPreset(Servers, QStringLiteral("A"));
    EXPECT_FALSE(A.ReadChat);
    EXPECT_EQ(A.Players, QStringList({"John", "Smith", "Q", "Zed"}));
    EXPECT_TRUE(ReadServerPreset(Servers, QStringLiteral("B")).ReadChat);
    EXPECT_FALSE(ReadServerPreset(Servers, QStringLiteral("C")).ReadChat);
    EXPECT_EQ(ReadServerPreset(Servers, QString()), TServerPreset());
    EXPECT_EQ(PrivsOfPlayers({}), QString());
}

TEST_F(ServerPresetsTest, AMissingAdminCfgIsWrittenWithANewPasswordAndLocalhostToMatch) {
    Write("Servers.ini", "[Localhost]\r\nhost=old\r\nprivs=, Bob\r\n");
    EXPECT_TRUE(EnsureLocalServer(Servers, GameDir()));
    const QRegularExpression Cfg(
        QStringLiteral("^port=6711\r\npassword=(0|[1-9][0-9]{0,9})\r\nip=127\\.0\\.0\\.1\r\n$"));
    const auto Match = Cfg.match(QString::fromLatin1(Read("game/Admin/default.cfg")));
    ASSERT_TRUE(Match.hasMatch()) << Read("game/Admin/default.cfg").constData();
    EXPECT_LT(Match.captured(1).toLongLong(), 2147483647LL);
    const TServerPreset Local = ReadServerPreset(Servers, QStringLiteral("Localhost"));
    EXPECT_EQ(
        Local,
        (TServerPreset{
            QStringLiteral("localhost"), QStringLiteral("6711"), Match.captured(1), true, {}}));
    EXPECT_TRUE(Servers.ValueExists(QStringLiteral("Localhost"), QStringLiteral("privs")));
    // Both there now: nothing is written again.
    const QByteArray Before = Read("Servers.ini");
    EXPECT_FALSE(EnsureLocalServer(Servers, GameDir() + '/'));
    EXPECT_EQ(Read("Servers.ini"), Before);
}

TEST_F(ServerPresetsTest, AnExistingAdminCfgGivesLocalhostItsPortAndPassword) {
    const struct {
        const char* Name;
        QByteArray Cfg;
        QByteArray Ini;
        const char* Port;
        const char* Pass;
    } Cases[] = {
        {"both values", "ip=1.2.3.4\r\nPort=7000\r\nPASSWORD=x=y\r\nport=1\r\n", "", "7000", "x=y"},
        {"no password line", "port=7001\n", "", "7001", ""},
        {"no port line", "password=abc", "", "", "abc"},
        {"a Localhost section without keys", "port=7002\r\npassword=p\r\n",
         "[Other]\r\nhost=h\r\n[Localhost]\r\n", "7002", "p"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        QFile::remove(Path("Servers.ini"));
        Write("Servers.ini", C.Ini);
        Write("game/Admin/default.cfg", C.Cfg);
        EXPECT_TRUE(EnsureLocalServer(Servers, GameDir()));
        EXPECT_EQ(ReadServerPreset(Servers, QStringLiteral("Localhost")),
                  (TServerPreset{QStringLiteral("localhost"),
                                 QString::fromLatin1(C.Port),
                                 QString::fromLatin1(C.Pass),
                                 true,
                                 {}}));
        EXPECT_EQ(Read("game/Admin/default.cfg"), C.Cfg);
    }
}

TEST_F(ServerPresetsTest, AnAdminCfgThatCannotBeWrittenIsReportedByName) {
    QDir(GameDir()).rmdir(QStringLiteral("Admin"));
    try {
        EnsureLocalServer(Servers, GameDir());
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& Error) {
        EXPECT_TRUE(Error.Message().contains(QStringLiteral("default.cfg"))) << Error.what();
    }
    EXPECT_FALSE(Servers.SectionExists(QStringLiteral("Localhost")));
}

} // namespace
