// The window with a game that runs when the test says so and a remote-console
// peer on 127.0.0.1. The watch timer is stopped after start-up: tests run its
// ticks themselves.
#pragma once

#include "support/RconPeer.h"
#include "support/WaitUntil.h"
#include "support/WindowFixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

class RconWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Services.Processes = &Game;
    }

    // A configured launcher with the game and its Admin folder, the watch
    // timer stopped.
    void StartConfigured() {
        MakeGame();
        QDir().mkpath(GameHost + "/Admin");
        WriteConfigured();
        Start();
        Rcon().BF2Catch()->stop();
        Dialogs.Clear();
    }

    TRconArea& Rcon() { return Window->Rcon(); }
    void Tick() { Rcon().BF2CatchTimer(); }
    // Ticks until Condition holds; false when it never does.
    template <class TCondition> bool TickUntil(TCondition Condition) {
        return WaitUntil([&] {
            Tick();
            return Condition();
        });
    }

    // A preset section of Servers.ini.
    static QByteArray Preset(const QByteArray& Name, const QByteArray& Host, int Port,
                             const QByteArray& Pass, const QByteArray& Privs = {}) {
        return "[" + Name + "]\r\nhost=" + Host + "\r\nport=" + QByteArray::number(Port) +
               "\r\npass=" + Pass + "\r\nreadchat=True\r\nprivs=" + Privs + "\r\n";
    }
    void WriteServers(const QByteArray& Ini) { WriteHost(AppHost + "/Servers.ini", Ini); }

    bool Logged(const QString& Line) { return LogLines().contains(Line); }

    // Shows the console page (which fills the server menu) and chooses a
    // server there.
    void ChooseServer(const QString& Name) {
        auto* Pages = Find<QTabWidget>("Pages");
        if (Pages->currentWidget() == Find<QWidget>("taConsole"))
            Rcon().taConsoleShow();
        else
            Pages->setCurrentWidget(Find<QWidget>("taConsole"));
        for (QAction* Item : Rcon().ServersMenu()->actions())
            if (Item->text() == Name)
                return Item->trigger();
        ADD_FAILURE() << "no server item " << Name.toStdString();
    }
    // Types a command line and presses Enter.
    void Type(const QString& Text) {
        auto* Com = Find<QComboBox>("edCom");
        Com->setEditText(Text);
        QKeyEvent Enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QCoreApplication::sendEvent(Com->lineEdit(), &Enter);
    }

    TScriptedGame Game;
    TRconPeer Peer;
};
