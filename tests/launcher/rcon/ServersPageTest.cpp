// The Servers sub-page through the real window: the local server's files
// made on the first showing, presets saved and loaded back, and privileged
// players added through the Add player form and removed.
#include "RconWindowFixture.h"

#include "launcher/shell/qvr_Controls.h"

#include <QAction>
#include <QDialog>
#include <QPushButton>
#include <QRegularExpression>

namespace {

class ServersPageTest : public RconWindowTest {
protected:
    void ShowServersPage() {
        Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taSettings"));
        Find<QToolButton>("btnSettingsCategories0Items3")->click();
    }
    // The user picks a preset.
    void Pick(const QString& Name) {
        auto* Servers = Find<QComboBox>("edServers");
        const int Index = Servers->findText(Name);
        ASSERT_GE(Index, 0) << Name.toStdString();
        Servers->setCurrentIndex(Index);
        emit Servers->activated(Index);
    }
    // Adds a player through the form: the name typed, then Add or Cancel.
    void AddPlayer(const QString& Name, bool Add = true) {
        Dialogs.QueueForm([=](QDialog& Form) {
            EXPECT_EQ(Form.windowTitle(), "Add Player");
            auto* Edit = Form.findChild<QLineEdit*>("edName");
            EXPECT_EQ(Edit->text(), "");
            Edit->setText(Name);
            Form.findChild<QPushButton*>(Add ? "btnAdd" : "btnCancel")->click();
        });
        Find<QAction>("menuAddPlayer")->trigger();
    }
    QStringList Players() {
        QStringList Names;
        auto* List = Find<QTreeWidget>("edPlayers");
        for (int I = 0; I < List->topLevelItemCount(); ++I)
            Names << List->topLevelItem(I)->text(0);
        return Names;
    }
    QByteArray ServersIni() { return ReadHost(AppHost + "/Servers.ini"); }
};

TEST_F(ServersPageTest, TheFirstShowingMakesTheLocalServerAndItsPreset) {
    StartConfigured();
    ShowServersPage();
    const QByteArray Cfg = ReadHost(GameHost + "/Admin/default.cfg");
    const QRegularExpressionMatch Match =
        QRegularExpression("^port=6711\r\npassword=(\\d+)\r\nip=127\\.0\\.0\\.1\r\n$")
            .match(QString::fromLatin1(Cfg));
    ASSERT_TRUE(Match.hasMatch()) << Cfg.constData();
    const QString Password = Match.captured(1);
    EXPECT_EQ(ServersIni(), "[Localhost]\r\nhost=localhost\r\nport=6711\r\npass=" +
                                Password.toLatin1() + "\r\nreadchat=True\r\nprivs=\r\n");
    EXPECT_TRUE(
        ReadHost(AppHost + "/Settings.ini").contains("[SERVERS]\r\nselected=Localhost\r\n"));
    // Both hold the password: they are the user's alone.
    for (const QString& Secret : {AppHost + "/Servers.ini", GameHost + "/Admin/default.cfg"})
        EXPECT_EQ(QFile::permissions(Secret) & 0xF0FF, QFile::ReadOwner | QFile::WriteOwner)
            << Secret.toStdString();
    EXPECT_EQ(Find<QComboBox>("edServers")->currentText(), "Localhost");
    EXPECT_EQ(Find<QLineEdit>("edHost")->text(), "localhost");
    EXPECT_EQ(Find<QLineEdit>("edPort")->text(), "6711");
    EXPECT_EQ(Find<QLineEdit>("edPass")->text(), Password);
    EXPECT_TRUE(Find<QCheckBox>("cbReadChat")->isChecked());
    EXPECT_TRUE(Dialogs.Shown().isEmpty());
}

TEST_F(ServersPageTest, APresetIsSavedWithItsPlayersAndLoadedBack) {
    StartConfigured();
    ShowServersPage();
    AddPlayer("Alpha");
    AddPlayer("Bravo");
    AddPlayer("Carol", false);
    AddPlayer("");
    AddPlayer("Dave");
    EXPECT_EQ(Players(), QStringList({"Alpha", "Bravo", "Dave"}));
    auto* List = Find<QTreeWidget>("edPlayers");
    List->setCurrentItem(List->topLevelItem(1));
    Find<QAction>("menuRemovePlayer")->trigger();
    EXPECT_EQ(Players(), QStringList({"Alpha", "Dave"}));

    Find<QLineEdit>("edHost")->setText("10.0.0.5");
    Find<QLineEdit>("edPort")->setText("4711");
    Find<QLineEdit>("edPass")->setText("pw");
    Find<QCheckBox>("cbReadChat")->setChecked(false);
    // Cancel, and a name of blanks, save nothing; the name is taken without
    // the blanks around it, as the file keeps it.
    const QByteArray Before = ServersIni();
    Dialogs.QueueInput(QString());
    Find<QToolButton>("SpeedButton4")->click();
    Dialogs.QueueInput("   ");
    Find<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(ServersIni(), Before);
    Dialogs.QueueInput("  Team ");
    Find<QToolButton>("SpeedButton4")->click();
    EXPECT_EQ(Dialogs.Shown().last().Title, "New Server Preset");
    EXPECT_EQ(Dialogs.Shown().last().Text, "Enter the name of your new server preset:");
    EXPECT_EQ(ServersIni(), Before + "[Team]\r\nhost=10.0.0.5\r\nport=4711\r\npass=pw\r\n"
                                     "readchat=False\r\nprivs=, Alpha, Dave\r\n");
    EXPECT_EQ(ComboItems(Find<QComboBox>("edServers")), QStringList({"Localhost", "Team"}));
    EXPECT_EQ(Find<QComboBox>("edServers")->currentText(), "Team");

    // Unsaved edits go when another preset is picked.
    List->setCurrentItem(List->topLevelItem(0));
    Find<QAction>("menuRemovePlayer")->trigger();
    Pick("Localhost");
    EXPECT_EQ(Players(), QStringList());
    EXPECT_TRUE(Find<QCheckBox>("cbReadChat")->isChecked());
    Pick("Team");
    EXPECT_EQ(Players(), QStringList({"Alpha", "Dave"}));
    EXPECT_EQ(Find<QLineEdit>("edHost")->text(), "10.0.0.5");
    EXPECT_FALSE(Find<QCheckBox>("cbReadChat")->isChecked());

    // Leaving the sub-page stores the choice, which the next showing selects.
    Find<QToolButton>("btnSettingsCategories0Items0")->click();
    EXPECT_TRUE(ReadHost(AppHost + "/Settings.ini").contains("[SERVERS]\r\nselected=Team\r\n"));
    Find<QToolButton>("btnSettingsCategories0Items3")->click();
    EXPECT_EQ(Find<QComboBox>("edServers")->currentText(), "Team");
    EXPECT_EQ(Players(), QStringList({"Alpha", "Dave"}));
}

} // namespace
