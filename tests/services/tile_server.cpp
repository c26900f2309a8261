#include "tile_server.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

TileServer::TileServer(Handler handler) : handler(std::move(handler)), server(new QTcpServer(this))
{
    server->listen(QHostAddress::LocalHost, 0);
    connect(server, &QTcpServer::newConnection, this, &TileServer::accept);
}

TileServer::~TileServer() = default;

QString TileServer::address() const
{
    return QStringLiteral("http://127.0.0.1:%1").arg(server->serverPort());
}

void TileServer::stop()
{
    server->close();
}

void TileServer::accept()
{
    while (QTcpSocket *socket = server->nextPendingConnection()) {
        auto *received = new QByteArray;
        connect(socket, &QTcpSocket::disconnected, socket, [socket, received] {
            delete received;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, received] {
            received->append(socket->readAll());
            const qsizetype end = received->indexOf("\r\n\r\n");
            if (end < 0 || received->startsWith("done"))
                return;
            const QList<QByteArray> lines = received->left(end).split('\n');
            for (const QByteArray &line : lines)
                if (line.toLower().startsWith("user-agent:"))
                    userAgent = line.mid(11).trimmed();
            const QString path = QString::fromLatin1(lines.first().split(' ').value(1));
            *received = "done";
            requests << path;
            mostAtOnce = std::max(mostAtOnce, ++open);
            const ServedAnswer answer = handler(path);
            QPointer<QTcpSocket> alive(socket);
            QTimer::singleShot(answer.delayMs, this, [this, alive, answer] {
                --open;
                if (!alive || alive->state() != QAbstractSocket::ConnectedState)
                    return;
                alive->write(QByteArray("HTTP/1.1 ") + QByteArray::number(answer.status)
                             + " Answer\r\nContent-Length: "
                             + QByteArray::number(answer.body.size())
                             + "\r\nConnection: close\r\n\r\n" + answer.body);
                alive->disconnectFromHost();
            });
        });
    }
}
