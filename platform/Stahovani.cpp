// SPDX-License-Identifier: GPL-3.0-or-later
#include "Stahovani.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

#include "Chyba.h"
#include "Disk.h"

int Stahovani::casovyLimitMs(int vychozi) {
    bool ok = false;
    const int z = qEnvironmentVariable("PARMEX_CASOVY_LIMIT_MS").toInt(&ok);
    return ok && z > 0 ? z : vychozi;
}

int Stahovani::celkovyLimitMs(int vychozi) {
    bool ok = false;
    const int z = qEnvironmentVariable("PARMEX_CELKOVY_LIMIT_MS").toInt(&ok);
    return ok && z > 0 ? z : vychozi;
}

int Stahovani::limitOznameniMs() {
    return celkovyLimitMs(casovyLimitMs() + 5000);
}

Stahovani::Vysledek Stahovani::stahni(const QString& adresa, QIODevice* cil, const Prubeh& prubeh,
                                      int limitMs, int celkemMs) {
    Vysledek v;
    const QUrl url(adresa);
    if (!url.isValid() || url.isRelative()) {
        v.chyba = QStringLiteral("Neplatná adresa");
        return v;
    }
    QNetworkAccessManager spravce;
    QNetworkRequest pozadavek(url);
    pozadavek.setTransferTimeout(limitMs);
    pozadavek.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                           QNetworkRequest::NoLessSafeRedirectPolicy);
    pozadavek.setMaximumRedirectsAllowed(10);

    QNetworkReply* odpoved = spravce.get(pozadavek);
    bool zapisSelhal = false;
    auto prepis = [&] {
        if (!odpoved->isOpen()) return;
        // An error page is never written: the body counts only under a success status.
        const int stav = odpoved->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (stav >= 300) {
            odpoved->readAll();
            return;
        }
        const QByteArray data = odpoved->readAll();
        if (zapisSelhal) return;
        const qint64 n = cil->write(data);
        if (n > 0) v.zapsano += n;
        if (n != data.size()) {
            zapisSelhal = true;
            odpoved->abort();
        }
    };
    QObject::connect(odpoved, &QNetworkReply::readyRead, odpoved, prepis);
    if (prubeh)
        QObject::connect(odpoved, &QNetworkReply::downloadProgress, odpoved,
                         [&](qint64 prijato, qint64 celkem) { prubeh(prijato, celkem); });
    QEventLoop smycka;
    QObject::connect(odpoved, &QNetworkReply::finished, &smycka, &QEventLoop::quit);
    // The idle time-out does not catch a server that sends a byte now and then for ever.
    bool poTerminu = false;
    QTimer termin;
    termin.setSingleShot(true);
    QObject::connect(&termin, &QTimer::timeout, odpoved, [&] {
        poTerminu = true;
        odpoved->abort();
    });
    if (celkemMs > 0) termin.start(celkemMs);
    if (!odpoved->isFinished()) smycka.exec(QEventLoop::ExcludeUserInputEvents);
    termin.stop();
    // A loop stopped from outside (the program is ending) leaves the transfer unfinished: a
    // failure, never an empty success.
    if (!odpoved->isFinished()) odpoved->abort();
    prepis();

    v.stavHttp = odpoved->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    v.zapisSelhal = zapisSelhal;
    // The announced length counts for the body as it travelled; a body the network layer
    // unpacked has another.
    const QByteArray kodovani = odpoved->rawHeader("Content-Encoding").trimmed().toLower();
    const QVariant delka = odpoved->header(QNetworkRequest::ContentLengthHeader);
    if (delka.isValid() && (kodovani.isEmpty() || kodovani == "identity"))
        v.ohlaseno = delka.toLongLong();
    if (poTerminu)
        v.chyba = QStringLiteral("Stahování nebylo dokončeno do %1 s").arg((celkemMs + 999) / 1000);
    else if (zapisSelhal)
        v.chyba = cil->errorString();
    else if (odpoved->error() != QNetworkReply::NoError)
        v.chyba = odpoved->errorString();
    else if (v.stavHttp >= 300)
        v.chyba = QStringLiteral("HTTP %1").arg(v.stavHttp);
    else if (v.ohlaseno >= 0 && v.zapsano != v.ohlaseno)
        v.chyba = QStringLiteral("Přijato %1 z ohlášených %2 bajtů").arg(v.zapsano).arg(v.ohlaseno);
    else
        v.uspech = true;
    delete odpoved;
    return v;
}

void Stahovani::stahniSoubor(const QString& adresa, const QString& soubor, const Prubeh& prubeh,
                             int limitMs, int celkemMs) {
    const QString chyba = QStringLiteral("Error downloading URL: ") + adresa;
    QSaveFile f(soubor);
    if (!f.open(QIODevice::WriteOnly)) throw Chyba(chyba);
    const Vysledek v = stahni(adresa, &f, prubeh, limitMs, celkemMs);
    // The file's buffer is written and the data forced to the disk here, where a failure is
    // seen: the final write of the temporary file and a disk that only refuses at the forcing
    // would otherwise pass unnoticed, and a file cut short would count as downloaded.
    bool naDisku = v.uspech && f.flush() && Disk::zapisNaDisk(f);
    // The size of the temporary file as the system has it.
    naDisku = naDisku && f.size() == v.zapsano;
    if (!naDisku && (v.uspech || v.zapisSelhal)) {
        const qint64 zbyva = qMax<qint64>(1, qMax(v.ohlaseno, v.zapsano + 1) - f.size());
        const bool plny = Disk::maloMista(soubor, zbyva);
        f.cancelWriting();
        if (plny)
            throw Chyba(chyba + QChar(13) + QStringLiteral("Soubor nelze uložit: ") +
                        Disk::zpravaPlnyDisk(soubor) + QLatin1Char('.'));
        throw Chyba(chyba);
    }
    if (!naDisku || !f.commit()) {
        f.cancelWriting();
        throw Chyba(chyba);
    }
}
