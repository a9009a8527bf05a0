// SPDX-License-Identifier: GPL-3.0-or-later
// The floor of the start-up measurement: a Qt Widgets program that shows one empty window and
// ends the same way the program does under PARMEX_KONEC_PO_STARTU=1, once the event loop is
// idle after the window's first activation.
//   bench_prazdne_okno [URL]
// With a URL the first activation also fetches it with one plain GET, waiting for it as the
// program's update check waits for the announcement; the process fails when the GET does.
#include <QApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

int main(int argc, char* argv[]) {
    QApplication aplikace(argc, argv);
    const QString adresa = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    int vysledek = 0;
    bool hotovo = false;
    QObject::connect(
        &aplikace, &QGuiApplication::focusWindowChanged, &aplikace, [&](QWindow* okno) {
            if (!okno || hotovo) return;
            hotovo = true;
            if (!adresa.isEmpty()) {
                QNetworkAccessManager spravce;
                QNetworkReply* odpoved = spravce.get(QNetworkRequest(QUrl(adresa)));
                QEventLoop smycka;
                QObject::connect(odpoved, &QNetworkReply::finished, &smycka, &QEventLoop::quit);
                smycka.exec(QEventLoop::ExcludeUserInputEvents);
                const QByteArray obsah = odpoved->readAll();
                if (odpoved->error() != QNetworkReply::NoError || obsah.isEmpty()) {
                    std::fprintf(stderr, "GET %s: %s\n", qPrintable(adresa),
                                 qPrintable(odpoved->errorString()));
                    vysledek = 1;
                }
                delete odpoved;
            }
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        });
    QWidget okno;
    okno.resize(731, 600);
    okno.show();
    okno.activateWindow();
    aplikace.exec();
    return vysledek;
}
