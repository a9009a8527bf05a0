#include "Shell.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace {
std::function<void(const QString&)> g_otevirani;
}

void Shell::otevri(const QString& souborNeboAdresa) {
    if (g_otevirani) {
        g_otevirani(souborNeboAdresa);
        return;
    }
    const QUrl adresa = QUrl(souborNeboAdresa).scheme().size() > 1
                            ? QUrl(souborNeboAdresa)
                            : QUrl::fromLocalFile(QFileInfo(souborNeboAdresa).absoluteFilePath());
    QDesktopServices::openUrl(adresa);
}

void Shell::nastavOtevirani(std::function<void(const QString&)> otevirani) {
    g_otevirani = std::move(otevirani);
}
