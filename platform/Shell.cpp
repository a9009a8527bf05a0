// SPDX-License-Identifier: GPL-3.0-or-later
#include "Shell.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace {
std::function<void(const QString&)> g_otevirani;
QString g_otevirac = QStringLiteral("xdg-open");

// An opener that finds no program gives up at once; one that is still running after this long
// has started a program (which may run in its place until the user closes it).
constexpr qint64 kCasNaVzdani = 30000;
}  // namespace

void Shell::otevri(const QString& souborNeboAdresa, std::function<void()> nepodarilo) {
    if (g_otevirani) {
        g_otevirani(souborNeboAdresa);
        return;
    }
    const bool adresa = QUrl(souborNeboAdresa).scheme().size() > 1;
    const QString cil = adresa ? souborNeboAdresa : QFileInfo(souborNeboAdresa).absoluteFilePath();
    const QString program = QStandardPaths::findExecutable(g_otevirac);
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (!program.isEmpty()) {
        // The desktop's opener tells by its exit status whether some program took the file,
        // which the toolkit's own opening does not pass on. The process has no parent, so it is
        // not ended with this program when it still runs the program it started; its output
        // goes nowhere, so nothing it writes later can fail on a closed pipe.
        auto* proces = new QProcess;
        proces->setProgram(program);
        proces->setArguments({cil});
        proces->setStandardInputFile(QProcess::nullDevice());
        proces->setStandardOutputFile(QProcess::nullDevice());
        proces->setStandardErrorFile(QProcess::nullDevice());
        auto beh = std::make_shared<QElapsedTimer>();
        QObject::connect(proces, &QProcess::finished, proces,
                         [proces, beh, nepodarilo](int kod, QProcess::ExitStatus stav) {
                             proces->deleteLater();
                             const bool selhal = stav != QProcess::NormalExit || kod != 0;
                             if (selhal && beh->elapsed() < kCasNaVzdani && nepodarilo)
                                 nepodarilo();
                         });
        QObject::connect(proces, &QProcess::errorOccurred, proces,
                         [proces, nepodarilo](QProcess::ProcessError chyba) {
                             if (chyba != QProcess::FailedToStart) return;
                             proces->deleteLater();
                             if (nepodarilo) nepodarilo();
                         });
        beh->start();
        proces->start();
        return;
    }
#endif
    const QUrl url = adresa ? QUrl(cil) : QUrl::fromLocalFile(cil);
    if (!QDesktopServices::openUrl(url) && nepodarilo) nepodarilo();
}

void Shell::nastavOtevirani(std::function<void(const QString&)> otevirani) {
    g_otevirani = std::move(otevirani);
}

void Shell::nastavOtevirac(const QString& program) {
    g_otevirac = program.isEmpty() ? QStringLiteral("xdg-open") : program;
}
