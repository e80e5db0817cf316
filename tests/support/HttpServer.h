// A small HTTP server for tests, on a free port of 127.0.0.1, answering on
// threads of its own so that a test may block its own thread in a download.
// It answers GET requests from a table of request targets (path and query as
// the client sends them); any other target gets 404. A response can be held
// part-way until the test releases it, which gives a download that is
// certainly running, with a known number of bytes received, without timing.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

class THttpServer {
public:
    THttpServer();
    ~THttpServer();
    THttpServer(const THttpServer&) = delete;
    THttpServer& operator=(const THttpServer&) = delete;

    quint16 Port() const { return FPort; }
    // "http://127.0.0.1:<port>" + Target.
    QString Url(const QString& Target) const;

    // Answers Target with Status and Body, announcing the body's length.
    void Serve(const QString& Target, const QByteArray& Body, int Status = 200);
    // The same, but after the headers and the first SendFirst bytes of the
    // body the answer waits until Release() (or the server's end). Holding
    // starts again with each call.
    void ServeHeld(const QString& Target, const QByteArray& Body, qsizetype SendFirst);
    // Lets every held answer go on, and those that come until the next
    // ServeHeld.
    void Release();
    // Answers Target with a body that never ends, written until the client
    // goes away (or the server's end). No length is announced, or Announced
    // when it is not -1.
    void ServeEndless(const QString& Target, qint64 Announced = -1);

    // The request targets received so far, in order.
    QStringList Requests() const;

private:
    struct TRoute {
        int Status = 200;
        QByteArray Body;
        qsizetype HoldAfter = -1; // -1: never held
        bool Endless = false;
        qint64 Announced = -1; // -1: the body's size, none when endless
    };
    void AcceptLoop();
    void Answer(int Socket);
    bool WaitForRelease();

    int FListen = -1;
    int FWake[2] = {-1, -1};
    quint16 FPort = 0;
    std::atomic<bool> FStopping{false};
    mutable std::mutex FMutex;
    std::condition_variable FReleased;
    bool FRelease = false;
    QMap<QString, TRoute> FRoutes;
    QStringList FRequests;
    std::thread FAcceptThread;
    std::vector<std::thread> FConnections;
};
