// The Bookmarks page through the real window: a profile's bookmarks, and the
// download of a bookmarked demo from a local HTTP server into the Demos
// folder with its progress, Abort and the watchdog.
#include "support/CommaLocale.h"
#include "support/GameDocs.h"
#include "support/HttpServer.h"
#include "support/WindowFixture.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QTimer>
#include <QTimerEvent>
#include <QTreeWidget>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace {

// Lets held answers go after a deadline, so that a download which the window
// fails to end still ends, and the test reports it instead of hanging.
class TRescue {
public:
    explicit TRescue(THttpServer& Server)
        : FThread([this, &Server] {
              std::unique_lock<std::mutex> Lock(FMutex);
              if (!FDone.wait_for(Lock, std::chrono::seconds(20), [this] { return FStop; }))
                  Server.Release();
          }) {}
    ~TRescue() {
        {
            const std::lock_guard<std::mutex> Lock(FMutex);
            FStop = true;
        }
        FDone.notify_all();
        FThread.join();
    }

private:
    std::mutex FMutex;
    std::condition_variable FDone;
    bool FStop = false;
    std::thread FThread;
};

class BookmarksWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        MakeGame();
        WriteConfigured();
        ASSERT_TRUE(Docs.Write("0001/Profile.con", "LocalProfile.setName \"Alpha\"\r\n"));
        ASSERT_TRUE(Docs.Write("0002/Profile.con", "LocalProfile.setName \"Bravo\"\r\n"));
    }
    // Alpha's bookmarks file, then the page shown with Alpha chosen.
    void ShowBookmarks(const QByteArray& Lines) {
        ASSERT_TRUE(Docs.Write("0001/DemoBookmarks.con", Lines));
        Start();
        Find<QTabWidget>("Pages")->setCurrentWidget(Find<QWidget>("taBookmarks"));
        ChooseProfile("0001");
    }
    // One bookmark of the server's target, chosen.
    void ShowDownload(const QString& Target) {
        ShowBookmarks("bm \"Server One\" strike_at_karkand " + Server.Url(Target).toUtf8() +
                      " 2006-05-01\r\n");
        auto* List = Find<QTreeWidget>("edBookmarks");
        ASSERT_EQ(List->topLevelItemCount(), 1);
        List->setCurrentItem(List->topLevelItem(0));
    }
    void ChooseProfile(const QString& Id) { ChooseRow("edMiniProfiles", Id, 1); }
    QList<QStringList> Rows(const char* Name) {
        QList<QStringList> R;
        auto* L = Find<QTreeWidget>(Name);
        for (int I = 0; I < L->topLevelItemCount(); ++I) {
            QStringList Row;
            for (int C = 0; C < L->columnCount(); ++C)
                Row << L->topLevelItem(I)->text(C);
            R << Row;
        }
        std::sort(R.begin(), R.end());
        return R;
    }
    // Step runs each time the window processes its events, until it answers
    // true: the download it waits for is running meanwhile, on the same
    // thread.
    void DuringDownload(std::function<bool()> Step) {
        auto* Watch = new QTimer(Window.get());
        Watch->setInterval(0);
        QObject::connect(Watch, &QTimer::timeout, Watch, [Watch, Step] {
            if (Step())
                Watch->stop();
        });
        Watch->start();
    }
    void Download() {
        auto* B = Find<QPushButton>("btnDownload");
        ASSERT_TRUE(B->isVisible());
        B->click();
    }
    QString Info() { return Find<QLabel>("laDownloadInfo")->text(); }
    QTimer* Watchdog() { return Window->Bookmarks().CatchDownload(); }
    // One tick of a timer, through its own handling of timer events.
    static void Tick(QTimer* Timer) {
        QTimerEvent Event(Timer->timerId());
        QCoreApplication::sendEvent(Timer, &Event);
    }
    QStringList Demos() {
        return QDir(GameHost + "/mods/bf2/Demos").entryList(QDir::Files | QDir::Hidden);
    }
    static QByteArray RandomBytes(qsizetype Size) {
        QByteArray Data(Size, Qt::Uninitialized);
        QRandomGenerator Random(7);
        for (char& C : Data)
            C = char(Random.bounded(256));
        return Data;
    }

    TGameDocs Docs;
    THttpServer Server;
    TRescue Rescue{Server};
};

TEST_F(BookmarksWindowTest, ListsAProfilesBookmarksWithMapNames) {
    ShowBookmarks("bm \"Server One\" strike_at_karkand http://h/d/take1.bf2demo \"1 May 2006\"\r\n"
                  "bm \"Server Two\" no_such_map http://h/take2.bf2demo 2006-05-02\r\n");
    EXPECT_EQ(Rows("edMiniProfiles"), QList<QStringList>({{"Alpha", "0001"}, {"Bravo", "0002"}}));
    auto* List = Find<QTreeWidget>("edBookmarks");
    EXPECT_EQ(List->headerItem()->text(1), "Map");
    EXPECT_EQ(Rows("edBookmarks"),
              QList<QStringList>(
                  {{"Server One", "Strike at Karkand", "1 May 2006", "http://h/d/take1.bf2demo"},
                   {"Server Two", "", "2006-05-02", "http://h/take2.bf2demo"}}));
    // A profile without bookmarks empties the list.
    ChooseProfile("0002");
    EXPECT_EQ(List->topLevelItemCount(), 0);
    EXPECT_TRUE(Dialogs.Messages().isEmpty()) << Dialogs.Messages().join('|').toStdString();
}

TEST_F(BookmarksWindowTest, DownloadsIntoTheDemosFolderWithProgress) {
    const TCommaLocale Comma;
    const QByteArray Body = RandomBytes(2345678);
    Server.ServeHeld("/d/take1.bf2demo", Body, 1000000);
    ShowDownload("/d/take1.bf2demo");
    // Held part-way, the download goes on only once the window has handled
    // an event posted before it started, and shown the bytes received.
    QStringList Midway;
    DuringDownload([&] {
        if (Find<QProgressBar>("ProgressBar1")->value() != 1000000)
            return false;
        Midway << Info() << Find<QLabel>("laFilename")->text()
               << QString::number(Find<QProgressBar>("ProgressBar1")->maximum());
        Server.Release();
        return true;
    });
    Download();
    EXPECT_EQ(Midway, QStringList({"Downloading 1,00 MB of 2,35 MB", "Filename: take1.bf2demo",
                                   "2345678"}));
    EXPECT_EQ(Info(), "Download Complete!");
    EXPECT_EQ(Find<QProgressBar>("ProgressBar1")->value(), 2345678);
    EXPECT_TRUE(ReadHost(GameHost + "/mods/bf2/Demos/take1.bf2demo") == Body);
    EXPECT_EQ(Demos(), QStringList({"take1.bf2demo"}));
    EXPECT_DOUBLE_EQ(Window->Bookmarks().DownloadedMB(), 2.345678);

    // The watchdog runs and, with bytes received, keeps running.
    ASSERT_TRUE(Watchdog()->isActive());
    Tick(Watchdog());
    EXPECT_TRUE(Watchdog()->isActive());
    EXPECT_EQ(Info(), "Download Complete!");
    EXPECT_FALSE(Window->Bookmarks().DownloadAbort());
}

TEST_F(BookmarksWindowTest, AbortMidwayLeavesNoFile) {
    Server.ServeHeld("/d/take1.bf2demo", RandomBytes(100000), 1000);
    ShowDownload("/d/take1.bf2demo");
    DuringDownload([&] {
        if (Find<QProgressBar>("ProgressBar1")->value() != 1000)
            return false;
        Find<QPushButton>("btnAbort")->click();
        return true;
    });
    Download();
    EXPECT_EQ(Info(), "Download Aborted");
    EXPECT_TRUE(Demos().isEmpty());
    EXPECT_FALSE(Watchdog()->isActive());
    EXPECT_FALSE(Window->Bookmarks().DownloadAbort());
}

TEST_F(BookmarksWindowTest, AbortPressedBeforeCancelsTheNextDownload) {
    Server.Serve("/d/take1.bf2demo", "demo");
    ShowDownload("/d/take1.bf2demo");
    Find<QPushButton>("btnAbort")->click();
    Download();
    EXPECT_EQ(Info(), "Download Aborted");
    EXPECT_TRUE(Server.Requests().isEmpty());
    EXPECT_TRUE(Demos().isEmpty());
    EXPECT_FALSE(Watchdog()->isActive());

    // The request was used up: the next download goes through.
    Download();
    EXPECT_EQ(Info(), "Download Complete!");
    EXPECT_EQ(Demos(), QStringList({"take1.bf2demo"}));
}

TEST_F(BookmarksWindowTest, TheWatchdogCancelsAfterADownloadOfNoBytes) {
    Server.Serve("/d/empty.bf2demo", "");
    ShowDownload("/d/empty.bf2demo");
    Download();
    // No size announced above 0: never complete in the text.
    EXPECT_EQ(Info(), "Downloading 0.00 MB of 0.00 MB");
    ASSERT_TRUE(Watchdog()->isActive());

    Tick(Watchdog());
    EXPECT_EQ(Info(), "Download Aborted");
    EXPECT_FALSE(Watchdog()->isActive());
    EXPECT_TRUE(Window->Bookmarks().DownloadAbort());

    // Its request cancels the next download before anything is asked.
    Download();
    EXPECT_EQ(Server.Requests(), QStringList({"/d/empty.bf2demo"}));
    EXPECT_EQ(Info(), "Download Aborted");
    EXPECT_FALSE(Window->Bookmarks().DownloadAbort());
}

TEST_F(BookmarksWindowTest, ClosingTheWindowEndsTheDownload) {
    Server.ServeHeld("/d/take1.bf2demo", RandomBytes(100000), 1000);
    ShowDownload("/d/take1.bf2demo");
    DuringDownload([&] {
        if (Find<QProgressBar>("ProgressBar1")->value() != 1000)
            return false;
        Window->close();
        return true;
    });
    // Returns although the server still holds the rest.
    Download();
    EXPECT_TRUE(Demos().isEmpty());
    EXPECT_FALSE(Watchdog()->isActive());
}

} // namespace
