// SPDX-License-Identifier: GPL-3.0-or-later
#include "JetSoubor.h"

#ifdef _WIN32
// The library is built without glib here and brings its own small replacement.
#include <mdbtools.h>

#include <fcntl.h>
#include <io.h>
#include "WindowsApi.h"
#else
// glib must come before the library's header, which includes it inside extern "C".
#include <glib.h>
#include <mdbtools.h>

#include <sys/resource.h>
#endif
#include <unistd.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QtEndian>
#include <cerrno>
#include <cmath>
#include <exception>
#include <vector>

#include "Databaze.h"
#include "SqlHodnoty.h"

#if defined(__SANITIZE_ADDRESS__)
#define PARMEX_ASAN
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PARMEX_ASAN
#endif
#endif

namespace jet {

namespace {

// The header: four bytes, then the engine's name, then the version byte (0 Jet 3, 1 Jet 4).
const QByteArray kPodpis = QByteArrayLiteral("Standard Jet DB");
constexpr int kOffsetPodpisu = 4;
constexpr int kOffsetVerze = 0x14;
// Rows store their start on the page with two flag bits above the offset.
constexpr int kMaskaOffsetu = 0x1fff;
// Memo values are read whole into a buffer of this size (a memo holds at most 65,535
// characters, three bytes each in UTF-8 at worst).
constexpr size_t kVelikostMema = 256 * 1024;

Druh druhSloupce(int typ) {
    switch (typ) {
        case MDB_BOOL:
            return Druh::Logicky;
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
            return Druh::Cele;
        case MDB_MONEY:
        case MDB_NUMERIC:
            return Druh::Castka;
        case MDB_FLOAT:
        case MDB_DOUBLE:
            return Druh::Desetinne;
        case MDB_TEXT:
        case MDB_MEMO:
            return Druh::Text;
        case MDB_DATETIME:
            return Druh::DatumCas;
        default:
            return Druh::Nepodporovany;
    }
}

QString nazevTypu(int typ) {
    switch (typ) {
        case MDB_BINARY:
            return QStringLiteral("binární data");
        case MDB_OLE:
            return QStringLiteral("objekt OLE");
        case MDB_REPID:
            return QStringLiteral("identifikátor replikace");
        case MDB_COMPLEX:
            return QStringLiteral("příloha");
        default:
            return QStringLiteral("typ %1").arg(typ);
    }
}

// The day and the second of the day a stored date value stands for. The whole part counts
// days from 30 December 1899, towards the past when negative; the fraction is the time of day
// whatever the sign (-1.25 is 29 December 1899, 6:00).
void rozlozDatum(double dny, QDate& datum, QTime& cas) {
    // Far outside the years 1 to 9999 (and not a number at all) only in a damaged file.
    if (!std::isfinite(dny) || std::fabs(dny) > 1e7) {
        datum = QDate();
        cas = QTime();
        return;
    }
    double cele = 0;
    const double zlomek = std::modf(dny, &cele);
    qint64 den = static_cast<qint64>(cele);
    qint64 sekundy = qRound64(std::fabs(zlomek) * 86400.0);
    if (sekundy >= 86400) {
        sekundy -= 86400;
        ++den;
    }
    datum = QDate(1899, 12, 30).addDays(den);
    if (datum.year() < 1 || datum.year() > 9999) datum = QDate();
    cas = QTime(0, 0).addSecs(static_cast<int>(sekundy));
}

QString desetinnyText(qint64 hodnota, int meritko) {
    const bool zaporne = hodnota < 0;
    quint64 abs = zaporne ? quint64(0) - static_cast<quint64>(hodnota) : quint64(hodnota);
    QString cislice = QString::number(abs);
    if (cislice.size() <= meritko) cislice.prepend(QString(meritko - cislice.size() + 1, '0'));
    if (meritko > 0) cislice.insert(cislice.size() - meritko, QLatin1Char('.'));
    return zaporne ? QLatin1Char('-') + cislice : cislice;
}

}  // namespace

QString textDesetinnehoCisla(const unsigned char* bajty, int meritko) {
    // A sign byte, then a 128-bit magnitude in four 32-bit groups, the most significant group
    // first and each group's bytes from the least significant.
    unsigned __int128 velikost = 0;
    for (int skupina = 0; skupina < 4; ++skupina)
        velikost = (velikost << 32) | qFromLittleEndian<quint32>(bajty + 1 + 4 * skupina);
    const bool zaporne = (bajty[0] & 0x80) != 0 && velikost != 0;
    QString cislice;
    do {
        cislice.prepend(QLatin1Char(char('0' + int(velikost % 10))));
        velikost /= 10;
    } while (velikost != 0);
    meritko = qBound(0, meritko, 38);
    if (cislice.size() <= meritko) cislice.prepend(QString(meritko - cislice.size() + 1, '0'));
    if (meritko > 0) cislice.insert(cislice.size() - meritko, QLatin1Char('.'));
    return zaporne ? QLatin1Char('-') + cislice : cislice;
}

namespace {

QString prevezmiText(char* s) {
    if (!s) return QString();
    const QString t = QString::fromUtf8(s);
    g_free(s);
    return t;
}

// One table definition, freed with its columns.
struct Tabulka {
    MdbTableDef* t = nullptr;
    explicit Tabulka(MdbTableDef* def) : t(def) {}
    ~Tabulka() {
        if (t) mdb_free_tabledef(t);
    }
    Tabulka(const Tabulka&) = delete;
    Tabulka& operator=(const Tabulka&) = delete;
    MdbColumn* sloupec(unsigned i) const {
        return static_cast<MdbColumn*>(g_ptr_array_index(t->columns, i));
    }
};

QString deklarace(const Sloupec& s) {
    switch (s.druh) {
        case Druh::Logicky:
        case Druh::Cele:
            return QStringLiteral("integer");
        case Druh::Castka:
            return QStringLiteral("numeric(28,%1)").arg(s.meritko);
        case Druh::Desetinne:
            return QStringLiteral("double");
        case Druh::Text:
            return s.typ == MDB_MEMO ? QStringLiteral("text")
                                     : QStringLiteral("varchar(%1)").arg(qMax(1, s.delka));
        case Druh::DatumCas:
            return QStringLiteral("datetime");
        case Druh::Nepodporovany:
            break;
    }
    return QString();
}

QString literal(const QVariant& v) {
    if (v.isNull()) return Sql::null();
    switch (v.typeId()) {
        case QMetaType::Bool:
            return Sql::number(static_cast<qint64>(v.toBool() ? 1 : 0));
        case QMetaType::LongLong:
            return Sql::number(static_cast<qint64>(v.toLongLong()));
        case QMetaType::Double:
            return Sql::number(v.toDouble());
        case QMetaType::QDateTime:
            return Sql::dateTime(v.toDateTime());
        default:
            return Sql::text(v.toString());
    }
}

// An amount, given as the reader's exact decimal text with a point, as a number literal
// whatever the user's decimal separator is.
QString castka(const QString& text) {
    bool ok = false;
    const double hodnota = QLocale::c().toDouble(text, &ok);
    if (!ok) throw Chyba(QStringLiteral("Hodnota \"%1\" není číslo.").arg(text));
    return Sql::number(hodnota);
}

}  // namespace

namespace {
bool jeJet3(const QString& soubor) {
    QFile f(soubor);
    const QByteArray hlavicka =
        f.open(QIODevice::ReadOnly) ? f.read(kOffsetVerze + 1) : QByteArray();
    return hlavicka.size() > kOffsetVerze && hlavicka.at(kOffsetVerze) == MDB_VER_JET3;
}
}  // namespace

bool jeJetSoubor(const QString& soubor) {
    QFile f(soubor);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray hlavicka = f.read(kOffsetVerze + 1);
    if (hlavicka.size() < kOffsetVerze + 1) return false;
    if (hlavicka.mid(kOffsetPodpisu, kPodpis.size()) != kPodpis) return false;
    const char verze = hlavicka.at(kOffsetVerze);
    return verze == MDB_VER_JET3 || verze == MDB_VER_JET4;
}

QDateTime datumZHodnoty(double dny) {
    QDate datum;
    QTime cas;
    rozlozDatum(dny, datum, cas);
    return QDateTime(datum, cas, Qt::UTC);
}

struct Soubor::Data {
    MdbHandle* mdb = nullptr;
    QString soubor;

    MdbCatalogEntry* polozka(const QString& nazev) const {
        for (unsigned i = 0; i < mdb->num_catalog; ++i) {
            auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb->catalog, i));
            if (e->object_type == MDB_TABLE && mdb_is_user_table(e) &&
                QString::fromUtf8(e->object_name).compare(nazev, Qt::CaseInsensitive) == 0)
                return e;
        }
        return nullptr;
    }

    std::unique_ptr<Tabulka> otevriTabulku(const QString& nazev) const {
        MdbCatalogEntry* e = polozka(nazev);
        if (!e) throw Chyba(QStringLiteral("Soubor %1 nemá tabulku %2.").arg(soubor, nazev));
        auto t = std::make_unique<Tabulka>(mdb_read_table(e));
        if (!t->t || !mdb_read_columns(t->t))
            throw Chyba(QStringLiteral("Tabulku %1 souboru %2 nelze přečíst.").arg(nazev, soubor));
        return t;
    }

    // The value of one column of the row on the current page.
    QVariant hodnota(const MdbColumn* col, const MdbField& pole) const {
        if (col->col_type == MDB_BOOL) return QVariant(!pole.is_null);  // kept in the null mask
        if (pole.is_null) return QVariant();
        const int start = pole.start;
        unsigned char* buf = mdb->pg_buf;
        auto potrebuje = [&](int bajtu) {
            if (pole.siz < bajtu || start < 0 || start + bajtu > MDB_PGSIZE)
                throw Chyba(QStringLiteral("Sloupec %1 souboru %2 je poškozen.")
                                .arg(QString::fromUtf8(col->name), soubor));
        };
        switch (col->col_type) {
            case MDB_BYTE:
                potrebuje(1);
                return QVariant(static_cast<qlonglong>(buf[start]));
            case MDB_INT:
                potrebuje(2);
                return QVariant(static_cast<qlonglong>(qFromLittleEndian<qint16>(buf + start)));
            case MDB_LONGINT:
                potrebuje(4);
                return QVariant(static_cast<qlonglong>(qFromLittleEndian<qint32>(buf + start)));
            case MDB_MONEY:
                // A whole number of ten-thousandths.
                potrebuje(8);
                return QVariant(desetinnyText(qFromLittleEndian<qint64>(buf + start), 4));
            case MDB_NUMERIC:
                potrebuje(17);
                return QVariant(textDesetinnehoCisla(buf + start, col->col_scale));
            case MDB_FLOAT:
                potrebuje(4);
                return QVariant(static_cast<double>(qFromLittleEndian<float>(buf + start)));
            case MDB_DOUBLE:
                potrebuje(8);
                return QVariant(qFromLittleEndian<double>(buf + start));
            case MDB_DATETIME:
                // The library's own text of a date is wrong before 1900 and in the year 9999.
                potrebuje(8);
                {
                    const QDateTime datum = datumZHodnoty(qFromLittleEndian<double>(buf + start));
                    if (!datum.isValid())
                        throw Chyba(QStringLiteral("Sloupec %1 souboru %2 je poškozen.")
                                        .arg(QString::fromUtf8(col->name), soubor));
                    return QVariant(datum);
                }
            case MDB_TEXT:
                if (pole.siz == 0) return QVariant(QString(""));
                return QVariant(
                    prevezmiText(mdb_col_to_string(mdb, buf, start, MDB_TEXT, pole.siz)));
            case MDB_MEMO:
                if (pole.siz == 0) return QVariant(QString(""));
                return QVariant(
                    prevezmiText(mdb_col_to_string(mdb, buf, start, MDB_MEMO, pole.siz)));
            default:
                break;
        }
        throw Chyba(QStringLiteral("Sloupec %1 (%2) nelze přečíst.")
                        .arg(QString::fromUtf8(col->name), nazevTypu(col->col_type)));
    }
};

Soubor::Soubor(const QString& soubor) : d(std::make_unique<Data>()) {
    d->soubor = soubor;
    if (!QFile::exists(soubor)) throw Chyba(QStringLiteral("Soubor %1 neexistuje.").arg(soubor));
    if (!jeJetSoubor(soubor))
        throw Chyba(QStringLiteral("Soubor %1 není databáze Jet.").arg(soubor));
    // The library trusts the file's length: a Jet file is made of whole pages, the table of
    // its objects starting on the third.
    const qint64 velikost = QFileInfo(soubor).size();
    const int strana = jeJet3(soubor) ? 2048 : 4096;
    if (velikost < 3 * strana || velikost % strana != 0)
        throw Chyba(QStringLiteral("Soubor %1 je poškozen: jeho délka (%2 bajtů) neodpovídá "
                                   "databázi Jet.")
                        .arg(soubor)
                        .arg(velikost));
    d->mdb = mdb_open(QFile::encodeName(soubor).constData(), MDB_NOFLAGS);
    if (!d->mdb) throw Chyba(QStringLiteral("Soubor %1 nelze otevřít.").arg(soubor));
    mdb_set_bind_size(d->mdb, kVelikostMema);
    if (!mdb_read_catalog(d->mdb, MDB_TABLE)) {
        mdb_close(d->mdb);
        d->mdb = nullptr;
        throw Chyba(QStringLiteral("Katalog souboru %1 nelze přečíst.").arg(soubor));
    }
}

Soubor::~Soubor() {
    if (d->mdb) mdb_close(d->mdb);
}

int Soubor::verze() const {
    return d->mdb->f->jet_version == MDB_VER_JET3 ? 3 : 4;
}

QStringList Soubor::tabulky() const {
    QStringList vysledek;
    for (unsigned i = 0; i < d->mdb->num_catalog; ++i) {
        auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(d->mdb->catalog, i));
        if (e->object_type == MDB_TABLE && mdb_is_user_table(e))
            vysledek << QString::fromUtf8(e->object_name);
    }
    return vysledek;
}

QString Soubor::najdiTabulku(const QString& nazev) const {
    MdbCatalogEntry* e = d->polozka(nazev);
    return e ? QString::fromUtf8(e->object_name) : QString();
}

QVector<Sloupec> Soubor::sloupce(const QString& tabulka) const {
    const auto t = d->otevriTabulku(tabulka);
    QVector<Sloupec> vysledek;
    for (unsigned i = 0; i < t->t->num_cols; ++i) {
        const MdbColumn* c = t->sloupec(i);
        Sloupec s;
        s.nazev = QString::fromUtf8(c->name);
        s.druh = druhSloupce(c->col_type);
        s.delka = c->col_size;
        s.typ = c->col_type;
        if (c->col_type == MDB_TEXT && d->mdb->f->jet_version != MDB_VER_JET3)
            s.delka = c->col_size / 2;  // two bytes a character in Jet 4
        s.meritko = c->col_type == MDB_MONEY ? 4 : (c->col_type == MDB_NUMERIC ? c->col_scale : 0);
        vysledek << s;
    }
    return vysledek;
}

void Soubor::ctiRadky(const QString& tabulka, const QStringList& nazvySloupcu,
                      const NaRadek& naRadek) const {
    const auto t = d->otevriTabulku(tabulka);
    const unsigned pocet = t->t->num_cols;
    std::vector<unsigned> vybrane;
    if (nazvySloupcu.isEmpty()) {
        for (unsigned i = 0; i < pocet; ++i) vybrane.push_back(i);
    } else {
        for (const QString& nazev : nazvySloupcu) {
            unsigned i = 0;
            while (i < pocet &&
                   QString::fromUtf8(t->sloupec(i)->name).compare(nazev, Qt::CaseInsensitive) != 0)
                ++i;
            if (i == pocet)
                throw Chyba(QStringLiteral("Tabulka %1 nemá sloupec %2.").arg(tabulka, nazev));
            vybrane.push_back(i);
        }
    }
    for (unsigned i : vybrane)
        if (druhSloupce(t->sloupec(i)->col_type) == Druh::Nepodporovany)
            throw Chyba(QStringLiteral("Sloupec %1 tabulky %2 má typ, který program nečte (%3).")
                            .arg(QString::fromUtf8(t->sloupec(i)->name), tabulka,
                                 nazevTypu(t->sloupec(i)->col_type)));

    MdbHandle* mdb = d->mdb;
    std::vector<MdbField> pole(pocet > 0 ? pocet : 1);
    mdb_rewind_table(t->t);
    // The rows are read whole before any is handed over, so that the caller may read the file
    // again meanwhile without disturbing the page being read.
    std::vector<QVariantList> precteno;
    while (mdb_fetch_row(t->t)) {
        // The row just read stays on the current page; its fields are located again here so
        // that nulls, empty texts and the raw stored values can be told apart.
        int start = 0;
        size_t delka = 0;
        if (mdb_find_row(mdb, static_cast<int>(t->t->cur_row) - 1, &start, &delka) != 0)
            throw Chyba(QStringLiteral("Řádek tabulky %1 nelze přečíst.").arg(tabulka));
        start &= kMaskaOffsetu;
        if (mdb_crack_row(t->t, start, delka, pole.data()) < 0)
            throw Chyba(QStringLiteral("Řádek tabulky %1 nelze přečíst.").arg(tabulka));
        QVariantList hodnoty;
        for (unsigned i : vybrane) {
            const MdbField* f = nullptr;
            for (unsigned k = 0; k < pocet; ++k)
                if (pole[k].colnum == static_cast<int>(i)) {
                    f = &pole[k];
                    break;
                }
            if (!f) throw Chyba(QStringLiteral("Řádek tabulky %1 nelze přečíst.").arg(tabulka));
            hodnoty << d->hodnota(t->sloupec(i), *f);
        }
        precteno.push_back(std::move(hodnoty));
    }
    for (const QVariantList& hodnoty : precteno) naRadek(hodnoty);
}

QByteArray prectiDoObrazu(const QString& soubor, const QStringList& tabulky) {
    Soubor jet(soubor);
    db::Connection spojeni;
    spojeni.open(QStringLiteral(":memory:"), db::Connection::Rezim::Vyhradni);
    spojeni.beginTransaction();
    for (const QString& pozadovana : tabulky.isEmpty() ? jet.tabulky() : tabulky) {
        const QString nazev = jet.najdiTabulku(pozadovana);
        if (nazev.isEmpty()) continue;
        // Columns of a refused type stay behind: no statement of ours names them, and one that
        // did would fail on the missing column.
        QVector<Sloupec> sloupce;
        QStringList nazvy;
        QStringList definice;
        for (const Sloupec& s : jet.sloupce(nazev)) {
            if (s.druh == Druh::Nepodporovany) continue;
            sloupce << s;
            nazvy << s.nazev;
            definice << Sql::identifikator(s.nazev) + QLatin1Char(' ') + deklarace(s);
        }
        if (sloupce.isEmpty()) continue;
        const QString cil = Sql::identifikator(nazev);
        spojeni.execute(QStringLiteral("create table ") + cil + QStringLiteral(" (") +
                        definice.join(QStringLiteral(", ")) + QStringLiteral(")"));
        jet.ctiRadky(nazev, nazvy, [&](const QVariantList& hodnoty) {
            QStringList literaly;
            for (int i = 0; i < hodnoty.size(); ++i) {
                const QVariant& v = hodnoty.at(i);
                literaly << (sloupce.at(i).druh == Druh::Castka && !v.isNull()
                                 ? castka(v.toString())
                                 : literal(v));
            }
            spojeni.execute(QStringLiteral("insert into ") + cil + QStringLiteral(" values (") +
                            literaly.join(QStringLiteral(", ")) + QStringLiteral(")"));
        });
    }
    spojeni.commit();
    return spojeni.image();
}

const char* const kPrepinacCteni = "--parmex-cteni-jet";

namespace {

QString g_ctenar;
int g_limitCteniMs = kLimitCteniMs;

bool zapisVse(int fd, const char* data, qint64 delka) {
    while (delka > 0) {
        const ssize_t n = ::write(fd, data, static_cast<size_t>(qMin<qint64>(delka, 1 << 20)));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        delka -= n;
    }
    return true;
}

// The file's name as the reading process gets it. A Windows program reads its arguments, and
// libmdb opens files, in the system's 8-bit code page: a name that code page cannot write is
// given in its short form (plain ASCII, the same file).
QString jmenoProCteni(const QString& soubor) {
#ifdef _WIN32
    if (QFile::decodeName(QFile::encodeName(soubor)) == soubor) return soubor;
    const std::wstring dlouhe = QDir::toNativeSeparators(soubor).toStdWString();
    const DWORD delka = GetShortPathNameW(dlouhe.c_str(), nullptr, 0);
    if (delka == 0) return soubor;
    std::wstring kratke(delka, L'\0');
    const DWORD n = GetShortPathNameW(dlouhe.c_str(), kratke.data(), delka);
    if (n == 0 || n >= delka) return soubor;
    kratke.resize(n);
    return QString::fromStdWString(kratke);
#else
    return soubor;
#endif
}

QByteArray prectiVOddelenemProcesu(const QString& soubor, const QStringList& tabulky) {
    const QString program = g_ctenar.isEmpty() ? QCoreApplication::applicationFilePath() : g_ctenar;
    QProcess proces;
    // Whatever the library says on its error output is no message for the user.
    proces.setStandardErrorFile(QProcess::nullDevice());
#ifdef PARMEX_ASAN
    // The memory bound of hlavniCteni, where AddressSanitizer keeps the address space.
    QProcessEnvironment prostredi = QProcessEnvironment::systemEnvironment();
    prostredi.insert(QStringLiteral("ASAN_OPTIONS"),
                     prostredi.value(QStringLiteral("ASAN_OPTIONS")) +
                         QStringLiteral(":hard_rss_limit_mb=1024"));
    proces.setProcessEnvironment(prostredi);
#endif
    proces.start(program,
                 QStringList{QString::fromLatin1(kPrepinacCteni), jmenoProCteni(soubor)} + tabulky);
    if (!proces.waitForStarted(g_limitCteniMs))
        throw Chyba(QStringLiteral("Soubor %1 nelze přečíst: čtení se nepodařilo spustit (%2).")
                        .arg(soubor, proces.errorString()));
    // The window goes on painting while the file is read; the user cannot act meanwhile.
    QElapsedTimer cas;
    cas.start();
    while (proces.state() != QProcess::NotRunning && !proces.waitForFinished(50)) {
        if (cas.elapsed() > g_limitCteniMs) {
            proces.kill();
            proces.waitForFinished(5000);
            throw Chyba(QStringLiteral("Soubor %1 nelze přečíst: čtení neskončilo ani za %2 s, "
                                       "soubor je zřejmě poškozen.")
                            .arg(soubor)
                            .arg(g_limitCteniMs / 1000));
        }
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    const QByteArray vystup = proces.readAllStandardOutput();
    if (proces.exitStatus() != QProcess::NormalExit)
        throw Chyba(QStringLiteral("Soubor %1 nelze přečíst: čtení skončilo chybou, soubor je "
                                   "zřejmě poškozen.")
                        .arg(soubor));
    if (proces.exitCode() != 0)
        throw Chyba(vystup.isEmpty() ? QStringLiteral("Soubor %1 nelze přečíst (kód %2).")
                                           .arg(soubor)
                                           .arg(proces.exitCode())
                                     : QString::fromUtf8(vystup));
    return vystup;
}

}  // namespace

void nastavCtenare(const QString& program, int limitMs) {
    g_ctenar = program;
    g_limitCteniMs = limitMs;
}

int hlavniCteni(int argc, char** argv) {
    // A damaged file can make the library ask for memory without end: the reading gives up at
    // a bound well above what any real file needs, before the machine runs short. (Not under
    // AddressSanitizer, which reserves a vast address space of its own.)
#if defined(_WIN32)
    // Windows has no address-space limit: the process puts itself into a job whose memory is
    // bounded, where any request beyond the bound fails.
    if (argc >= 3) {
        const qint64 mez = (qint64(1) << 30) + QFileInfo(QFile::decodeName(argv[2])).size() * 64;
        if (const HANDLE uloha = CreateJobObjectW(nullptr, nullptr)) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limit{};
            limit.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_PROCESS_MEMORY;
            limit.ProcessMemoryLimit = static_cast<SIZE_T>(mez);
            SetInformationJobObject(uloha, JobObjectExtendedLimitInformation, &limit,
                                    sizeof(limit));
            AssignProcessToJobObject(uloha, GetCurrentProcess());
        }
    }
#elif !defined(PARMEX_ASAN)
    if (argc >= 3) {
        const rlim_t mez =
            (rlim_t(1) << 30) + rlim_t(QFileInfo(QFile::decodeName(argv[2])).size()) * 64;
        const rlimit pamet{mez, mez};
        setrlimit(RLIMIT_AS, &pamet);
    }
#endif
    // The standard output carries the result alone: anything the library prints goes to the
    // error output.
    const int vystup = ::dup(STDOUT_FILENO);
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
#ifdef _WIN32
    // The result is a database image: no line end may be translated on its way out.
    if (vystup >= 0) _setmode(vystup, _O_BINARY);
#endif
    QByteArray vysledek;
    int kod = 0;
    try {
        if (argc < 3) throw Chyba(QStringLiteral("Chybí jméno souboru."));
        QStringList tabulky;
        for (int i = 3; i < argc; ++i) tabulky << QFile::decodeName(argv[i]);
        vysledek = prectiDoObrazu(QFile::decodeName(argv[2]), tabulky);
    } catch (const Chyba& e) {
        vysledek = e.zprava().toUtf8();
        kod = 1;
    } catch (const std::exception& e) {
        vysledek = QByteArray(e.what());
        kod = 1;
    }
    if (vystup < 0 || !zapisVse(vystup, vysledek.constData(), vysledek.size())) return 2;
    ::close(vystup);
    return kod;
}

void otevriKeCteni(db::Connection& spojeni, const QString& soubor, const QStringList& tabulky) {
    if (!jeJetSoubor(soubor)) {
        spojeni.open(soubor, db::Connection::Rezim::JenCteni);
        return;
    }
    const QByteArray obraz = prectiVOddelenemProcesu(soubor, tabulky);
    try {
        spojeni.openImage(obraz);
    } catch (const Chyba& e) {
        throw Chyba(QStringLiteral("Soubor %1 nelze přečíst: výsledek čtení není databáze (%2).")
                        .arg(soubor, e.zprava()));
    }
}

}  // namespace jet
