// SPDX-License-Identifier: GPL-3.0-or-later
#include "Aktualizace.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStringDecoder>
#include <QTimer>
#include <array>

#include "Chyba.h"
#include "Hlaseni.h"
#include "KodovaStranka.h"
#include "Obnovnik.h"
#include "Spolecne.h"
#include "Stahovani.h"

namespace {

const QString kHlavicka = QStringLiteral("[parmex-rozu]");
const QString kDocasnaSlozka = QStringLiteral("tmp\\");

// The announcement is a few hundred bytes; anything beyond this is not an announcement and is
// refused before it can take the program's memory.
constexpr qint64 kNejvetsiOznameni = 1024 * 1024;

class OmezenyBuffer : public QBuffer {
protected:
    qint64 writeData(const char* data, qint64 len) override {
        if (size() + len > kNejvetsiOznameni) {
            setErrorString(
                QStringLiteral("Soubor oznámení je větší než %1 bajtů").arg(kNejvetsiOznameni));
            return -1;
        }
        return QBuffer::writeData(data, len);
    }
};

QString maleAscii(QString text) {
    for (QChar& c : text)
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) c = QChar(c.unicode() + 32);
    return text;
}

// Blanks and control characters at both ends go.
QString orizni(const QString& text) {
    int od = 0, po = int(text.size());
    while (od < po && text.at(od).unicode() <= 32) ++od;
    while (po > od && text.at(po - 1).unicode() <= 32) --po;
    return text.mid(od, po - od);
}

QString vUvozovkach(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// While installed on the application, drops what the user does (keys, shortcuts, mouse, touch,
// closing a window) so that windows keep painting but nobody can act in them.
class BezVstupu : public QObject {
protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::ShortcutOverride:
            case QEvent::Shortcut:
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
            case QEvent::ContextMenu:
            case QEvent::TouchBegin:
            case QEvent::TouchUpdate:
            case QEvent::TouchEnd:
            case QEvent::TabletPress:
            case QEvent::TabletRelease:
            case QEvent::DragEnter:
            case QEvent::Drop:
            case QEvent::InputMethod:
                return true;
            case QEvent::Close:
                // A close box clicked meanwhile; the program's own closing is not spontaneous.
                return e->spontaneous();
            default:
                return false;
        }
    }
};

void zapisDoLoguBezChyby(Hlaseni& hlaseni, const QString& text) {
    try {
        hlaseni.log(text);
    } catch (const Chyba&) {
        // A log that cannot be written must not change the outcome; the caller reports anyway.
    }
}

}  // namespace

QStringList Aktualizace::radky(const QString& text) {
    QStringList r;
    int od = 0;
    const int n = int(text.size());
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        r << text.mid(od, i - od);
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n')) ++i;
        od = i + 1;
    }
    if (od < n) r << text.mid(od);
    return r;
}

Aktualizace::Oznameni Aktualizace::rozeber(const QString& text, TVerzeNaWebu& verze) {
    const QStringList r = radky(maleAscii(text));
    if (r.size() < 7) return Oznameni::MaloRadku;
    if (r.first() != kHlavicka) return Oznameni::SpatnaHlavicka;
    const std::pair<QString, QString*> klice[] = {{QStringLiteral("verzeprog"), &verze.VerzeProg},
                                                  {QStringLiteral("datumprog"), &verze.DatumProg},
                                                  {QStringLiteral("souborprog"), &verze.SouborProg},
                                                  {QStringLiteral("datumcis"), &verze.DatumCis},
                                                  {QStringLiteral("souborcis"), &verze.SouborCis},
                                                  {QStringLiteral("verzecis"), &verze.VerzeCis}};
    for (int i = 1; i < r.size(); ++i) {
        const QString& radek = r.at(i);
        for (const auto& [klic, hodnota] : klice) {
            const int kde = int(radek.indexOf(klic));
            if (kde >= 0) *hodnota = radek.mid(kde + klic.size() + 1);
        }
    }
    return Oznameni::Precteno;
}

QString Aktualizace::textOznameni(const QByteArray& bajty) {
    QByteArrayView data(bajty);
    if (data.startsWith("\xEF\xBB\xBF")) data = data.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(data);
    if (!utf8.hasError()) return text;
    return KodovaStranka::zCp1250(data.toByteArray());
}

int Aktualizace::celeCislo(const QString& text) {
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' ')) ++i;
    bool ok = false;
    const int h = text.mid(i).toInt(&ok, 10);
    // toInt also passes blanks after the number; a whole number has none.
    if (!ok || text.mid(i).isEmpty() || text.at(text.size() - 1).unicode() <= 32) return 0;
    return h;
}

quint8 Aktualizace::porovnej(QString verze1, QString verze2, const QString& vlastniVerze) {
    if (verze1.isEmpty()) verze1 = vlastniVerze;
    if (verze2.isEmpty()) verze2 = vlastniVerze;
    verze1 = orizni(verze1);
    verze2 = orizni(verze2);
    if (verze1 == verze2) return 0;
    auto cisla = [](QString zbytek) {
        std::array<int, 4> c{};
        for (int k = 0; k < 3; ++k) {
            const int tecka = int(zbytek.indexOf(QLatin1Char('.')));
            c[k] = celeCislo(tecka < 0 ? QString() : zbytek.left(tecka));
            zbytek = zbytek.mid(tecka + 1);
        }
        c[3] = celeCislo(zbytek.remove(QLatin1Char('.')));
        return c;
    };
    const auto a = cisla(verze1), b = cisla(verze2);
    for (int k = 0; k < 4; ++k) {
        if (a[k] > b[k]) return 1;
        if (a[k] < b[k]) return 2;
    }
    return 0;
}

QString Aktualizace::zpravaChybyStahovani(const QString& popis) {
    const QChar CR(13);
    return QStringLiteral(
               "Při zjišťování aktualizací došlo k neočekávané výjimce, ověřte prosím "
               "připojení k internetu,") +
           CR +
           QStringLiteral(
               "případně zda antivirus nebrání programu přistupovat na web, je-li vše "
               "v pořádku,") +
           CR + QStringLiteral("kontaktujte rybářský svaz. (popis chyby: ") + popis +
           QStringLiteral(")");
}

bool Aktualizace::platnyNazevArchivu(const QString& nazev) {
    return !orizni(nazev).isEmpty() && !nazev.contains(QLatin1Char('/')) &&
           !nazev.contains(QLatin1Char('\\')) && !nazev.contains(QLatin1Char('"')) &&
           nazev != QLatin1String(".") && nazev != QLatin1String("..");
}

QString Aktualizace::parametryProgramu(const QString& adresaZip, const QString& zip,
                                       const QString& program) {
    return QStringList{vUvozovkach(adresaZip + QLatin1Char('/') + zip), vUvozovkach(kDocasnaSlozka),
                       vUvozovkach(zip), vUvozovkach(program), vUvozovkach(program)}
        .join(QLatin1Char(' '));
}

QString Aktualizace::prikazCiselniku(const QString& obnovnik, const QString& adresaZip,
                                     const QString& zip, const QString& rozbalitJako) {
    return obnovnik + QLatin1Char(' ') +
           QStringList{vUvozovkach(adresaZip + QLatin1Char('/') + zip), vUvozovkach(kDocasnaSlozka),
                       vUvozovkach(zip), vUvozovkach(rozbalitJako)}
               .join(QLatin1Char(' '));
}

QString Aktualizace::chybaCestyProgramu(const QString& souborProgramu) {
    if (!souborProgramu.contains(QLatin1Char('"'))) return QString();
    const QChar CR(13);
    return QStringLiteral("Program nelze spustit z umístění, jehož cesta obsahuje uvozovky (\"):") +
           CR + QDir::toNativeSeparators(souborProgramu) + CR +
           QStringLiteral(
               "Aktualizace by do něj nebylo možné nainstalovat. Přesuňte prosím "
               "program do složky bez uvozovek v názvu.");
}

QString Aktualizace::adresaServeru() {
    const QString z = qEnvironmentVariable("PARMEX_ADRESA_SERVERU");
    return z.isEmpty() ? QStringLiteral(PARMEX_SERVER) : z;
}

int SpustACekej(const QString& prikaz, quint16 zobrazeni) {
    Q_UNUSED(zobrazeni)
    QStringList a = obnovnik::rozdelPrikazovouRadku(prikaz);
    if (a.isEmpty()) return -1;
    QString program = a.takeFirst();
    if (!program.contains(QLatin1Char('/')) && QFileInfo(program).isFile())
        program = QFileInfo(program).absoluteFilePath();
    QProcess proces;
    proces.setProgram(program);
    proces.setArguments(a);
    proces.setWorkingDirectory(QDir::currentPath());
    proces.setProcessChannelMode(QProcess::ForwardedChannels);
    proces.start();
    if (!proces.waitForStarted()) return -1;
    // The windows keep painting meanwhile (the notice of the running update stays on screen),
    // but what the user does is dropped, not kept for later.
    {
        BezVstupu bezVstupu;
        QCoreApplication* aplikace = QCoreApplication::instance();
        if (aplikace) aplikace->installEventFilter(&bezVstupu);
        QEventLoop smycka;
        QTimer kontrola;
        QObject::connect(&kontrola, &QTimer::timeout, &smycka, [&] {
            if (proces.state() == QProcess::NotRunning) smycka.quit();
        });
        QObject::connect(&proces, &QProcess::finished, &smycka, &QEventLoop::quit);
        kontrola.start(500);
        if (proces.state() != QProcess::NotRunning) smycka.exec();
        if (aplikace) aplikace->removeEventFilter(&bezVstupu);
    }
    // A loop stopped from outside (the program is ending) still waits for the process.
    while (proces.state() != QProcess::NotRunning) proces.waitForFinished(500);
    return proces.exitStatus() == QProcess::NormalExit ? proces.exitCode() : -1;
}

// ------------------------------------------------------------------ fetching and updating

QString SouborObnovniku() {
#ifdef Q_OS_WIN
    return QStringLiteral("Obnovnik.exe");
#else
    return QStringLiteral("Obnovnik");
#endif
}

QString Aktualizace::stahniOznameni(const QString& adresa, QString& text) {
    OmezenyBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const Stahovani::Vysledek v = Stahovani::stahni(adresa, &buffer, {}, Stahovani::casovyLimitMs(),
                                                    Stahovani::limitOznameniMs());
    if (!v.uspech) return zpravaChybyStahovani(v.chyba);
    text = textOznameni(buffer.data());
    return QString();
}

// The updater lives in a library linked into the program; its resource is registered
// explicitly (outside any namespace, where the resource's own function is).
static void nactiObnovnik() {
    Q_INIT_RESOURCE(obnovnik);
}

bool Aktualizace::zapisObnovnik(const QString& ZipNaServeru, Hlaseni& hlaseni, QString* duvod) {
    nactiObnovnik();
    try {
        // The name comes from the web: it must stay a plain file name inside the updater's
        // temporary folder, or the updater would store and later delete a file elsewhere.
        if (!platnyNazevArchivu(ZipNaServeru))
            throw Chyba(
                QStringLiteral("Neplatný název archívu aktualizace: \"%1\"").arg(ZipNaServeru));
        try {
            UlozZdrojDoSouboru(QStringLiteral("EXEFILE"), QStringLiteral("Obnovnik"),
                               SouborObnovniku());
            QFile obnovnik(SouborObnovniku());
            if (!obnovnik.setPermissions(obnovnik.permissions() | QFile::ExeOwner |
                                         QFile::ExeGroup | QFile::ExeOther))
                throw Chyba(QStringLiteral("Soubor \"%1\" nelze označit jako spustitelný: %2")
                                .arg(SouborObnovniku(), obnovnik.errorString()));
        } catch (const Chyba& e) {
            // Said with the folder: where the program cannot write, the log beside it cannot be
            // written either, and the message is all the member gets.
            throw Chyba(QStringLiteral("Do složky programu \"%1\" nelze zapisovat. %2")
                            .arg(QDir::toNativeSeparators(QDir::currentPath()), e.zprava()));
        }
        return true;
    } catch (const Chyba& e) {
        zapisDoLoguBezChyby(hlaseni, e.zprava());
        if (duvod) *duvod = e.zprava();
        return false;
    }
}

bool Aktualizace::spustAktualizaciProgramu(const QString& adresaZip, const QString& ZipNaServeru,
                                           Hlaseni& hlaseni, QString* duvod) {
    if (!zapisObnovnik(ZipNaServeru, hlaseni, duvod)) return false;
    const QString parametry =
        parametryProgramu(adresaZip, ZipNaServeru, QFileInfo(SouborProgramu()).fileName());
    // Started and not waited for; whether it started is not examined: the program closes
    // either way and the next start asks again.
    QProcess::startDetached(QDir::current().absoluteFilePath(SouborObnovniku()),
                            obnovnik::rozdelPrikazovouRadku(parametry), QDir::currentPath());
    return true;
}

bool Aktualizace::aktualizujCiselniky(const QString& adresaZip, const QString& ZipNaServeru,
                                      const QString& RozbalitJako, Hlaseni& hlaseni,
                                      QString* duvod) {
    if (!zapisObnovnik(ZipNaServeru, hlaseni, duvod)) return false;
    // The import takes whatever file lies at RozbalitJako. An older file left there (by an
    // import that failed, or put there by hand) would be imported and stamped with the announced
    // version when the updater brings nothing, and the new code lists would never be fetched
    // again: only a file this run's updater writes may be there afterwards.
    const QFileInfo stary(RozbalitJako);
    if ((stary.exists() || stary.isSymLink()) && !QFile::remove(RozbalitJako)) {
        const QString zprava = QStringLiteral("Starý soubor číselníků \"%1\" nelze smazat.")
                                   .arg(QDir::toNativeSeparators(RozbalitJako));
        zapisDoLoguBezChyby(hlaseni, zprava);
        if (duvod) *duvod = zprava;
        return false;
    }
    // Its exit code is not used: a failed run shows as a code-list file that did not arrive.
    SpustACekej(prikazCiselniku(SouborObnovniku(), adresaZip, ZipNaServeru, RozbalitJako), 0);
    return true;
}
