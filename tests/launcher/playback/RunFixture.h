// The run panel's tests: a configured launcher with the game, and readers of
// what a run wrote, logged and started.
#pragma once

#include "support/WaitUntil.h"
#include "support/WindowFixture.h"

#include "common/ShellOpen.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

inline const QString CDemo = QStringLiteral("mods\\bf2\\Demos\\Intro\\take1.bf2demo");
inline const QString CCam = QStringLiteral("mods\\bf2\\Demos\\Intro\\cam1.bf2cam");
inline const QString CParamsText =
    QStringLiteral("Parameters are not valid, please go through them\r"
                   "and enter valid entries before running BF2 again.");

inline QByteArray Crlf(const QStringList& Lines) {
    QByteArray Data;
    for (const QString& L : Lines)
        Data += L.toUtf8() + "\r\n";
    return Data;
}

// The size block and playback tail of the start-up values.
inline const QStringList CSize = {"demo.renderwidth 800", "demo.renderheight 600",
                                  "demo.renderfieldofview 90", "demo.renderfps 30"};
inline const QStringList CTail = {"demo.synccameraanddemo 1", "demo.timedemo 0",
                                  "demo.renderstats 0",       "demo.vtuneFrame -1 ",
                                  "demo.vtuneRendering 0",    "demo.vtuneRepeatCount 1"};

class RunTest : public WindowTest {
protected:
    // A configured launcher with the game, showing the run page, with bf2 or
    // the given mod as the current mod.
    void StartReady(const QByteArray& Mod = "bf2") {
        MakeGame();
        WriteConfigured("defaultmod=" + Mod + "\r\n");
        Start();
        Dialogs.Clear();
        FLogMark = LogMark();
    }
    void ChooseMode(const char* Button) {
        auto* B = Find<QToolButton>(Button);
        ASSERT_TRUE(B->isVisible()) << Button;
        B->click();
    }
    void SetText(const char* Edit, const QString& Text) { Find<QLineEdit>(Edit)->setText(Text); }
    void ChooseFiles(const QString& Demo = CDemo, const QString& Cam = CCam) {
        SetText("edSelDemo", Demo);
        SetText("edSelCam", Cam);
    }
    void Run() {
        auto* B = Find<QPushButton>("btnRun");
        ASSERT_TRUE(B->isVisible() && B->isEnabled());
        B->click();
    }
    QByteArray Script() { return ReadHost(GameHost + "/quorvane.con"); }
    // The log lines since StartReady, without their time stamps.
    QStringList NewLog() { return LogSince(FLogMark); }
    bool IsRed(const char* Label) {
        return Find<QLabel>(Label)->palette().color(QPalette::WindowText) == QColor(255, 0, 0);
    }
    bool IsNormal(const char* Label) {
        QLabel* L = Find<QLabel>(Label);
        return L->palette().color(QPalette::WindowText) ==
               L->parentWidget()->palette().color(QPalette::WindowText);
    }
    // The starts asked for, as "file|params|folder".
    QStringList Starts() {
        QStringList R;
        for (const QStringList& S : Starter.Started)
            R << S.join('|');
        return R;
    }
    QString StartOf(const QString& Params) { return "BF2.exe|" + Params + "|" + GameDir; }

    qsizetype FLogMark = 0;
};
