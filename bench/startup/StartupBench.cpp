// Launcher start to a shown window, against a bare Qt Widgets window built
// with the same flags: both run as fresh processes, alternately, and the
// ratio of their times is reported at the minimum and at the median. The
// launcher starts configured: a program folder with its language, presets
// and settings, and a game folder with the bf2 mod and a Demos project.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int Runs = 40;

bool Write(const QString& Path, const QByteArray& Data) {
    QDir().mkpath(QFileInfo(Path).absolutePath());
    QFile F(Path);
    return F.open(QIODevice::WriteOnly) && F.write(Data) == Data.size();
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    return Values[Values.size() / 2];
}

long long MonotonicNs() {
    timespec Now = {};
    ::clock_gettime(CLOCK_MONOTONIC, &Now);
    return static_cast<long long>(Now.tv_sec) * 1000000000LL + Now.tv_nsec;
}

// Milliseconds from just before the program is started to the moment it
// tells that its window is shown.
double TimeOf(const QString& Program, const QStringList& Args, const QProcessEnvironment& Env) {
    QProcess P;
    P.setProcessEnvironment(Env);
    P.setStandardErrorFile(QProcess::nullDevice());
    const long long Start = MonotonicNs();
    P.start(Program, Args);
    bool Ok = false;
    const long long Shown =
        P.waitForFinished(30000) ? P.readAllStandardOutput().trimmed().toLongLong(&Ok) : 0;
    if (!Ok || P.exitCode() != 0) {
        std::fprintf(stderr, "%s did not tell its start\n", qPrintable(Program));
        std::exit(1);
    }
    return double(Shown - Start) / 1e6;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication App(argc, argv);
    QTemporaryDir Temp;
    const QString AppDir = Temp.path() + QStringLiteral("/Quorvane");
    const QString Game = Temp.path() + QStringLiteral("/Battlefield 2");
    const QString Stage = QStringLiteral(QVR_STAGE_DIR);
    QDir().mkpath(AppDir + QStringLiteral("/Languages"));
    bool Ok = QFile::copy(Stage + QStringLiteral("/Languages/English.lang"),
                          AppDir + QStringLiteral("/Languages/English.lang")) &&
              QFile::copy(Stage + QStringLiteral("/Presets.ini"),
                          AppDir + QStringLiteral("/Presets.ini"));
    const QString GameWin = QStringLiteral("Z:") + QString(Game).replace(u'/', u'\\') + u'\\';
    Ok = Ok && Write(Game + QStringLiteral("/BF2.exe"), "MZ") &&
         Write(Game + QStringLiteral("/mods/bf2/mod.desc"),
               "<version> 1.5.3153-802.0 </version>\r\n") &&
         Write(Game + QStringLiteral("/mods/bf2/Demos/Intro/take1.bf2demo"), "x") &&
         Write(AppDir + QStringLiteral("/Settings.ini"),
               "[SETTINGS]\r\nbf2dir=" + GameWin.toUtf8() +
                   "\r\n[MISC]\r\npreset=Default 800x600\r\n");
    if (!Ok) {
        std::fprintf(stderr, "cannot make the program and game folders\n");
        return 1;
    }

    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    // A real display server when there is one to start: a window shown on
    // it is what a user waits for. Else the offscreen platform.
    QProcess Display;
    const QString Xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (!Xvfb.isEmpty()) {
        Display.start(Xvfb, {QStringLiteral(":93"), QStringLiteral("-screen"), QStringLiteral("0"),
                             QStringLiteral("1280x1024x24"), QStringLiteral("-nolisten"),
                             QStringLiteral("tcp")});
        Display.waitForStarted();
        QThread::msleep(500);
    }
    const bool OnDisplay = Display.state() == QProcess::Running;
    if (OnDisplay) {
        Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        Env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":93"));
    } else {
        Env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    }
    Env.insert(QStringLiteral("HOME"), Temp.path());
    Env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Temp.path());
    Env.insert(QStringLiteral("XDG_CONFIG_HOME"), Temp.path() + QStringLiteral("/config"));
    Env.insert(QStringLiteral("XDG_DATA_HOME"), Temp.path() + QStringLiteral("/data"));
    Env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent"));
    Env.insert(QStringLiteral("LD_LIBRARY_PATH"), Stage);

    const QString Launcher = QStringLiteral(QVR_LAUNCHER_START);
    const QString Bare = QStringLiteral(QVR_BARE_START);
    // One of each first, so that neither pays for a cold disk cache.
    TimeOf(Launcher, {AppDir}, Env);
    TimeOf(Bare, {}, Env);
    std::vector<double> Ours, Base, Text;
    for (int I = 0; I < Runs; ++I) {
        Ours.push_back(TimeOf(Launcher, {AppDir}, Env));
        Base.push_back(TimeOf(Bare, {}, Env));
        Text.push_back(TimeOf(Bare, {QStringLiteral("text")}, Env));
    }
    const double OursMin = *std::min_element(Ours.begin(), Ours.end());
    const double BaseMin = *std::min_element(Base.begin(), Base.end());
    const double TextMin = *std::min_element(Text.begin(), Text.end());
    std::printf("start to shown window, %d runs each, %s\n", Runs,
                OnDisplay ? "on Xvfb" : "offscreen");
    std::printf("  launcher: min %.1f ms, median %.1f ms\n", OursMin, Median(Ours));
    std::printf("  bare Qt:  min %.1f ms, median %.1f ms\n", BaseMin, Median(Base));
    std::printf("  bare Qt with one line of text: min %.1f ms, median %.1f ms\n", TextMin,
                Median(Text));
    std::printf("  ratio to bare: min %.2f, median %.2f (goal <= 1.3)\n", OursMin / BaseMin,
                Median(Ours) / Median(Base));
    std::printf("  ratio to bare with text: min %.2f, median %.2f\n", OursMin / TextMin,
                Median(Ours) / Median(Text));
    Display.terminate();
    Display.waitForFinished();
    return 0;
}
