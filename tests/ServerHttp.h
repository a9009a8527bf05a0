// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QMap>
#include <QMutex>
#include <QString>
#include <QStringList>

class QThread;
class ObsluhaHttp;

// A small HTTP server for tests, on 127.0.0.1 with a port the system picks. It runs in its own
// thread, so it answers while the test blocks (for example waiting for a started program).
// Paths are served from an in-memory map or from a folder; single paths can be given a status
// code, stay silent (the connection is accepted and never answered), redirect to themselves for
// ever, announce a longer body than they send, trickle their body a byte at a time or answer late.
class ServerHttp {
public:
    ServerHttp();
    ~ServerHttp();
    ServerHttp(const ServerHttp&) = delete;
    ServerHttp& operator=(const ServerHttp&) = delete;

    quint16 port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by the path ("/x.zip").
    QString adresa(const QString& cesta) const;

    void pridejSoubor(const QString& cesta, const QByteArray& obsah);
    // Paths not in the map are looked up as files below this folder.
    void nastavSlozku(const QString& slozka);
    void nastavStav(const QString& cesta, int stav);
    void nastavTicho(const QString& cesta);
    void nastavSmyckuPresmerovani(const QString& cesta);
    // Sends only the first bajtu bytes of the body, then closes the connection.
    void nastavUseknuti(const QString& cesta, int bajtu);
    // Sends the body one byte every intervalMs milliseconds (the headers at once).
    void nastavPomalu(const QString& cesta, int intervalMs);
    // Answers only after this many milliseconds.
    void nastavZpozdeni(const QString& cesta, int ms);

    // The paths requested so far, in order.
    QStringList pozadavky() const;

    // What the serving thread reads, under the lock.
    struct Nastaveni {
        QMap<QString, QByteArray> soubory;
        QString slozka;
        QMap<QString, int> stavy;
        QStringList ticho;
        QStringList smycky;
        QMap<QString, int> useknuti;
        QMap<QString, int> pomalu;
        QMap<QString, int> zpozdeni;
        QStringList pozadavky;
    };
    mutable QMutex zamek;
    Nastaveni nastaveni;

private:
    QThread* m_vlakno = nullptr;
    ObsluhaHttp* m_obsluha = nullptr;
    quint16 m_port = 0;
};
