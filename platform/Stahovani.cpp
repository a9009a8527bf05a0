#include "Stahovani.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>

#include "Chyba.h"

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
        if (!zapisSelhal && cil->write(data) != data.size()) {
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
    if (poTerminu)
        v.chyba = QStringLiteral("Stahování nebylo dokončeno do %1 s").arg((celkemMs + 999) / 1000);
    else if (zapisSelhal)
        v.chyba = cil->errorString();
    else if (odpoved->error() != QNetworkReply::NoError)
        v.chyba = odpoved->errorString();
    else if (v.stavHttp >= 300)
        v.chyba = QStringLiteral("HTTP %1").arg(v.stavHttp);
    else
        v.uspech = true;
    delete odpoved;
    return v;
}

void Stahovani::stahniSoubor(const QString& adresa, const QString& soubor, const Prubeh& prubeh,
                             int limitMs, int celkemMs) {
    QSaveFile f(soubor);
    if (!f.open(QIODevice::WriteOnly))
        throw Chyba(QStringLiteral("Error downloading URL: ") + adresa);
    if (!stahni(adresa, &f, prubeh, limitMs, celkemMs).uspech || !f.commit()) {
        f.cancelWriting();
        throw Chyba(QStringLiteral("Error downloading URL: ") + adresa);
    }
}
