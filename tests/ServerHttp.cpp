// SPDX-License-Identifier: GPL-3.0-or-later
#include "ServerHttp.h"

#include <QDir>
#include <QFile>
#include <QMutexLocker>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>
#include <QTimer>
#include <memory>

class ObsluhaHttp : public QObject {
public:
    explicit ObsluhaHttp(ServerHttp* server) : m_server(server) {}

    quint16 naslouchej() {
        m_tcp = new QTcpServer(this);
        m_tcp->listen(QHostAddress::LocalHost, 0);
        connect(m_tcp, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = m_tcp->nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] { prijmi(s); });
                connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
        return m_tcp->serverPort();
    }

private:
    void prijmi(QTcpSocket* s) {
        QByteArray pozadavek = s->property("pozadavek").toByteArray() + s->readAll();
        s->setProperty("pozadavek", pozadavek);
        if (!pozadavek.contains("\r\n\r\n") || s->property("vyrizeno").toBool()) return;
        s->setProperty("vyrizeno", true);
        const QList<QByteArray> radek = pozadavek.left(pozadavek.indexOf("\r\n")).split(' ');
        QString cesta = radek.size() > 1 ? QString::fromUtf8(radek[1]) : QString();
        cesta = cesta.left(cesta.indexOf(QLatin1Char('?')) < 0 ? cesta.size()
                                                               : cesta.indexOf(QLatin1Char('?')));

        QMutexLocker zamek(&m_server->zamek);
        ServerHttp::Nastaveni& n = m_server->nastaveni;
        n.pozadavky << cesta;
        if (n.ticho.contains(cesta)) return;  // accepted, never answered
        if (n.smycky.contains(cesta)) {
            odpovez(s, 302, QByteArray(), "Location: " + cesta.toUtf8() + "\r\n");
            return;
        }
        int stav = n.stavy.value(cesta, 200);
        QByteArray telo;
        bool nalezeno = false;
        if (n.soubory.contains(cesta)) {
            telo = n.soubory.value(cesta);
            nalezeno = true;
        } else if (!n.slozka.isEmpty() && !cesta.contains(QLatin1String(".."))) {
            QFile f(QDir(n.slozka).filePath(cesta.mid(1)));
            if (f.open(QIODevice::ReadOnly)) {
                telo = f.readAll();
                nalezeno = true;
            }
        }
        if (!nalezeno && stav == 200) stav = 404;
        if (stav != 200 && !nalezeno)
            telo = "<html><body>chyba " + QByteArray::number(stav) + "</body></html>";
        if (n.useknuti.contains(cesta)) {
            const QByteArray hlavicka =
                "HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(telo.size()) +
                "\r\nConnection: close\r\n\r\n";
            s->write(hlavicka + telo.left(n.useknuti.value(cesta)));
            s->flush();
            s->disconnectFromHost();
            return;
        }
        if (n.pomalu.contains(cesta)) {
            s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(telo.size()) +
                     "\r\nConnection: close\r\n\r\n");
            auto* hodiny = new QTimer(s);
            auto odeslano = std::make_shared<int>(0);
            connect(hodiny, &QTimer::timeout, s, [s, hodiny, telo, odeslano] {
                if (*odeslano >= telo.size()) {
                    hodiny->stop();
                    s->disconnectFromHost();
                    return;
                }
                s->write(telo.mid((*odeslano)++, 1));
            });
            hodiny->start(n.pomalu.value(cesta));
            return;
        }
        if (n.zpozdeni.contains(cesta)) {
            QTimer::singleShot(n.zpozdeni.value(cesta), s,
                               [s, stav, telo] { odpovez(s, stav, telo, QByteArray()); });
            return;
        }
        odpovez(s, stav, telo, QByteArray());
    }

    static void odpovez(QTcpSocket* s, int stav, const QByteArray& telo,
                        const QByteArray& hlavicky) {
        const QByteArray duvod = stav == 200 ? "OK" : (stav == 302 ? "Found" : "Error");
        s->write("HTTP/1.1 " + QByteArray::number(stav) + ' ' + duvod +
                 "\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                 QByteArray::number(telo.size()) + "\r\nConnection: close\r\n" + hlavicky + "\r\n" +
                 telo);
        s->disconnectFromHost();
    }

    ServerHttp* m_server;
    QTcpServer* m_tcp = nullptr;
};

ServerHttp::ServerHttp() : m_vlakno(new QThread), m_obsluha(new ObsluhaHttp(this)) {
    m_obsluha->moveToThread(m_vlakno);
    m_vlakno->start();
    QMetaObject::invokeMethod(
        m_obsluha, [this] { return m_obsluha->naslouchej(); }, Qt::BlockingQueuedConnection,
        &m_port);
}

ServerHttp::~ServerHttp() {
    QMetaObject::invokeMethod(m_obsluha, &QObject::deleteLater);
    m_vlakno->quit();
    m_vlakno->wait();
    delete m_vlakno;
}

QString ServerHttp::adresa(const QString& cesta) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(m_port).arg(cesta);
}

void ServerHttp::pridejSoubor(const QString& cesta, const QByteArray& obsah) {
    QMutexLocker z(&zamek);
    nastaveni.soubory.insert(cesta, obsah);
}

void ServerHttp::nastavSlozku(const QString& slozka) {
    QMutexLocker z(&zamek);
    nastaveni.slozka = slozka;
}

void ServerHttp::nastavStav(const QString& cesta, int stav) {
    QMutexLocker z(&zamek);
    nastaveni.stavy.insert(cesta, stav);
}

void ServerHttp::nastavTicho(const QString& cesta) {
    QMutexLocker z(&zamek);
    nastaveni.ticho << cesta;
}

void ServerHttp::nastavSmyckuPresmerovani(const QString& cesta) {
    QMutexLocker z(&zamek);
    nastaveni.smycky << cesta;
}

void ServerHttp::nastavUseknuti(const QString& cesta, int bajtu) {
    QMutexLocker z(&zamek);
    nastaveni.useknuti.insert(cesta, bajtu);
}

void ServerHttp::nastavPomalu(const QString& cesta, int intervalMs) {
    QMutexLocker z(&zamek);
    nastaveni.pomalu.insert(cesta, intervalMs);
}

void ServerHttp::nastavZpozdeni(const QString& cesta, int ms) {
    QMutexLocker z(&zamek);
    nastaveni.zpozdeni.insert(cesta, ms);
}

QStringList ServerHttp::pozadavky() const {
    QMutexLocker z(&zamek);
    return nastaveni.pozadavky;
}
