#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QTcpServer;

// What the server answers to one path.
struct ServedAnswer
{
    int status = 200;
    QByteArray body;
    int delayMs = 0; // before the answer is sent
};

// A small HTTP server on 127.0.0.1 for the tests: one answer a connection, then it closes.
// It notes every path asked for, the User-Agent, and how many requests it held at once.
class TileServer : public QObject
{
public:
    using Handler = std::function<ServedAnswer(const QString &path)>;

    explicit TileServer(Handler handler);
    ~TileServer() override;

    QString address() const; // "http://127.0.0.1:PORT"
    void stop();             // no more connections: as if the network were gone

    QStringList requests;
    QByteArray userAgent;
    int mostAtOnce = 0;

private:
    void accept();

    Handler handler;
    QTcpServer *server;
    int open = 0;
};
