// SPDX-License-Identifier: GPL-3.0-or-later
#include "Databaze.h"

#include <sqlite3.h>

#include <QCollator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTimeZone>
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "Formaty.h"
#include "Hodiny.h"
#include "SqlHodnoty.h"

namespace db {

namespace {

QString zpravaSqlite(sqlite3* db) {
    return QString::fromUtf8(sqlite3_errmsg(db));
}

// One prepared statement checked to be a single statement; raises Chyba when the text is none
// or more than one.
sqlite3_stmt* priprav(sqlite3* db, const QString& sql) {
    const QByteArray utf8 = sql.toUtf8();
    const char* zbytek = nullptr;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, utf8.constData(), utf8.size(), &stmt, &zbytek) != SQLITE_OK)
        throw Chyba(zpravaSqlite(db));
    if (!stmt) throw Chyba(QStringLiteral("Prázdný příkaz SQL."));
    // One statement per text: whatever follows the first statement is refused rather
    // than run, so a text can never smuggle in a second statement.
    if (zbytek && !QByteArray(zbytek).trimmed().isEmpty() && QByteArray(zbytek).trimmed() != ";") {
        sqlite3_finalize(stmt);
        throw Chyba(QStringLiteral("Příkaz SQL smí obsahovat jen jeden příkaz."));
    }
    return stmt;
}

// One run of a statement: either prepared for this run alone and finalized after it, or one the
// connection keeps prepared, with its values bound, reset and released after the run. With a
// time limit, running it is interrupted once the engine has worked on it that long (the time
// spent between rows by whoever reads them one at a time does not count).
class Beh {
public:
    Beh(sqlite3* db, const QString& sql, int limitMs = 0) : m_db(db), m_limitMs(limitMs) {
        m_od.start();
        m_stmt = priprav(db, sql);
        zacni();
    }
    // A kept statement, its values already bound; uvolni runs when the run ends.
    Beh(sqlite3* db, sqlite3_stmt* stmt, int limitMs, std::function<void()> uvolni)
        : m_db(db), m_stmt(stmt), m_limitMs(limitMs), m_uvolni(std::move(uvolni)) {
        m_od.start();
        zacni();
    }
    ~Beh() {
        if (m_uvolni) {
            // Its values stay bound until the next run binds all of them anew.
            sqlite3_reset(m_stmt);
            m_uvolni();
        } else {
            sqlite3_finalize(m_stmt);
        }
        if (m_limitMs > 0) sqlite3_progress_handler(m_db, 0, nullptr, nullptr);
    }
    Beh(const Beh&) = delete;
    Beh& operator=(const Beh&) = delete;

    // True while a row is available.
    bool krok() {
        m_od.restart();
        const int rc = sqlite3_step(m_stmt);
        m_drive += m_od.elapsed();
        if (rc == SQLITE_ROW) return true;
        if (rc == SQLITE_DONE) return false;
        if (rc == SQLITE_INTERRUPT && m_limitMs > 0 && m_drive >= m_limitMs)
            throw Chyba(QStringLiteral("Příkaz SQL nebyl dokončen do %1 s, byl přerušen.")
                            .arg((m_limitMs + 999) / 1000));
        throw Chyba(zpravaSqlite(m_db));
    }
    sqlite3_stmt* stmt() const { return m_stmt; }

private:
    // The engine asks every thousand steps of its program whether to stop (installed only
    // once the object stands, so that its destructor always removes it).
    void zacni() {
        if (m_limitMs > 0) sqlite3_progress_handler(m_db, 1000, &Beh::prerusit, this);
    }
    static int prerusit(void* beh) {
        const auto* p = static_cast<const Beh*>(beh);
        return p->m_drive + p->m_od.elapsed() >= p->m_limitMs ? 1 : 0;
    }

    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    int m_limitMs;
    std::function<void()> m_uvolni;
    QElapsedTimer m_od;
    qint64 m_drive = 0;  // milliseconds the engine worked in the steps before
};

void textVysledku(sqlite3_context* ctx, const QString& text) {
    const QByteArray b = text.toUtf8();
    sqlite3_result_text(ctx, b.constData(), b.size(), SQLITE_TRANSIENT);
}

// now(): the local date and time of the program's clock.
void fnNow(sqlite3_context* ctx, int, sqlite3_value**) {
    textVysledku(ctx, Hodiny::ted().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

// date() without arguments: the local date of the program's clock (the engine's own date()
// would give the UTC date); date(x, ...) keeps the engine's meaning.
void fnDate(sqlite3_context* ctx, int, sqlite3_value**) {
    textVysledku(ctx, Hodiny::dnes().toString(QStringLiteral("yyyy-MM-dd")));
}

TypPole urciTyp(const char* deklarace) {
    const QString d = QString::fromUtf8(deklarace).toLower();
    if (d.contains(QLatin1String("date")) || d.contains(QLatin1String("time")))
        return TypPole::DatumCas;
    if (d.contains(QLatin1String("char")) || d.contains(QLatin1String("text")) ||
        d.contains(QLatin1String("clob")) || d.contains(QLatin1String("memo")))
        return TypPole::Text;
    if (d.contains(QLatin1String("real")) || d.contains(QLatin1String("floa")) ||
        d.contains(QLatin1String("doub")) || d.contains(QLatin1String("money")) ||
        d.contains(QLatin1String("currency")))
        return TypPole::Desetinne;
    static const QRegularExpression sMeritkem(
        QStringLiteral("(numeric|decimal)\\s*\\(\\s*\\d+\\s*,\\s*(\\d+)\\s*\\)"));
    const auto m = sMeritkem.match(d);
    if (m.hasMatch()) return m.captured(2).toInt() > 0 ? TypPole::Desetinne : TypPole::Cele;
    if (d.contains(QLatin1String("int")) || d.contains(QLatin1String("numeric")) ||
        d.contains(QLatin1String("decimal")))
        return TypPole::Cele;
    return TypPole::Neznamy;
}

// A schema declares its columns with a few types, and a statement run row by row (the code-list
// import) opens the same columns thousands of times: each declaration is read once.
TypPole typZDeklarace(const char* deklarace) {
    if (!deklarace) return TypPole::Neznamy;
    static std::unordered_map<std::string, TypPole> znamy;
    const auto it = znamy.find(deklarace);
    if (it != znamy.end()) return it->second;
    const TypPole typ = urciTyp(deklarace);
    znamy.emplace(deklarace, typ);
    return typ;
}

// ---- values bound to placeholders

// The number the engine makes of a numeric literal: a literal of digits alone is a whole number,
// any other is read by the engine's own conversion (CAST of the literal's text to REAL uses the
// same routine as reading the literal in a statement, which differs from a correctly rounded
// reading in the last bit of some fifteen-digit numbers). The engine is asked once per distinct
// number, on a database in memory of its own.
class CislaLiteralu {
public:
    struct Cislo {
        bool cele;
        qint64 celeCislo;
        double realne;
    };

    ~CislaLiteralu() {
        sqlite3_finalize(m_prevod);
        sqlite3_close(m_db);
    }

    static CislaLiteralu& instance() {
        static CislaLiteralu c;
        return c;
    }

    Cislo zLiteralu(double d) {
        quint64 bity;
        std::memcpy(&bity, &d, sizeof bity);
        const auto it = m_znama.find(bity);
        if (it != m_znama.end()) return it->second;
        const QString literal = Sql::number(d);
        Cislo c{false, 0, 0};
        bool cele = !literal.isEmpty();
        for (qsizetype i = 0; i < literal.size() && cele; ++i)
            cele = literal.at(i).isDigit() || (i == 0 && literal.at(i) == QLatin1Char('-'));
        if (cele) c.celeCislo = literal.toLongLong(&cele);
        c.cele = cele;
        if (!cele) c.realne = prevod(literal.toLatin1());
        // Whatever comes next, the table stays bounded.
        if (m_znama.size() > 100000) m_znama.clear();
        m_znama.emplace(bity, c);
        return c;
    }

private:
    CislaLiteralu() {
        if (sqlite3_open_v2(":memory:", &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK ||
            sqlite3_prepare_v2(m_db, "select cast(?1 as real)", -1, &m_prevod, nullptr) !=
                SQLITE_OK)
            throw Chyba(QStringLiteral("Převod čísel nelze připravit: %1").arg(zpravaSqlite(m_db)));
    }

    double prevod(const QByteArray& literal) {
        sqlite3_bind_text(m_prevod, 1, literal.constData(), int(literal.size()), SQLITE_STATIC);
        const bool ok = sqlite3_step(m_prevod) == SQLITE_ROW;
        const double d = ok ? sqlite3_column_double(m_prevod, 0) : 0;
        sqlite3_reset(m_prevod);
        sqlite3_clear_bindings(m_prevod);
        if (!ok) throw Chyba(zpravaSqlite(m_db));
        return d;
    }

    sqlite3* m_db = nullptr;
    sqlite3_stmt* m_prevod = nullptr;
    std::unordered_map<quint64, Cislo> m_znama;
};

// Binds the values to the statement's placeholders in order; their number must match. Texts are
// bound where the values keep them, which must stay until the run ends.
void navazHodnoty(sqlite3* db, sqlite3_stmt* stmt, const QVector<Hodnota>& hodnoty) {
    const int mist = sqlite3_bind_parameter_count(stmt);
    if (mist != hodnoty.size())
        throw Chyba(QStringLiteral("Příkaz SQL má %1 míst pro hodnoty, dostal jich %2.")
                        .arg(mist)
                        .arg(hodnoty.size()));
    for (int i = 0; i < hodnoty.size(); ++i) {
        const Hodnota& h = hodnoty.at(i);
        int rc = SQLITE_OK;
        switch (h.druh()) {
            case Hodnota::Druh::Null:
                rc = sqlite3_bind_null(stmt, i + 1);
                break;
            case Hodnota::Druh::Cele:
                rc = sqlite3_bind_int64(stmt, i + 1, h.cele());
                break;
            case Hodnota::Druh::Realne: {
                const CislaLiteralu::Cislo c = CislaLiteralu::instance().zLiteralu(h.realne());
                rc = c.cele ? sqlite3_bind_int64(stmt, i + 1, c.celeCislo)
                            : sqlite3_bind_double(stmt, i + 1, c.realne);
                break;
            }
            case Hodnota::Druh::Text:
                rc = sqlite3_bind_text(stmt, i + 1, h.utf8().constData(), int(h.utf8().size()),
                                       SQLITE_STATIC);
                break;
        }
        if (rc != SQLITE_OK) throw Chyba(zpravaSqlite(db));
    }
}

QDateTime naDatumCas(const QVariant& v) {
    if (v.isNull()) return QDateTime();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString();
        QDateTime dt = QDateTime::fromString(t, Qt::ISODate);
        if (!dt.isValid()) dt = QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
        if (!dt.isValid()) {
            const QDate d = QDate::fromString(t, Qt::ISODate);
            if (d.isValid()) dt = QDateTime(d, QTime(0, 0));
        }
        return dt;
    }
    return QDateTime();
}

QString textHodnoty(const QVariant& v, TypPole typ) {
    if (v.isNull()) return QString();
    switch (v.typeId()) {
        case QMetaType::LongLong:
            return QString::number(v.toLongLong());
        case QMetaType::Double:
            return Formaty::cislo(v.toDouble());
        case QMetaType::QString:
            if (typ == TypPole::DatumCas) {
                const QDateTime dt = naDatumCas(v);
                if (dt.isValid()) return Formaty::datumCas(dt);
            }
            return v.toString();
        default:
            return v.toString();
    }
}

// Upper case by the locale's rules. Only a few languages have casing rules of their own; for
// all others the general Unicode mapping gives the same result much faster.
QString velkymiPismeny(const QString& text) {
    const QLocale locale;
    switch (locale.language()) {
        case QLocale::Turkish:
        case QLocale::Azerbaijani:
        case QLocale::Lithuanian:
            return locale.toUpper(text);
        default:
            return text.toUpper();
    }
}

// The engine's date texts shown as textHodnoty shows them (Formaty::datumCas of the value
// read back), for a whole result at once. Texts of the forms the program stores,
// "yyyy-MM-dd" and "yyyy-MM-dd HH:mm:ss" (or with T), are taken apart by hand and written by
// the locale's short date and long time patterns; that is some fifty times faster than reading
// and formatting each through QDateTime and QLocale. Everything else goes the slow way: other
// texts, years before 1000, the days around a change of the clock (where a time may not exist
// and the slow way then shows the text as it is), and patterns with parts the writer does not
// know (names of months or days, AM/PM, milliseconds). The writer is checked against Formaty
// on sample values first and is not used when they differ.
class DatumyVysledku {
public:
    DatumyVysledku() {
        const QLocale locale;
        m_rychle = locale.zeroDigit() == QLatin1String("0") &&
                   rozloz(Formaty::formatKratkehoData(), QStringLiteral("dMy"), &m_datum) &&
                   rozloz(Formaty::formatDlouhehoCasu(), QStringLiteral("Hms"), &m_cas);
        if (!m_rychle) return;
        const QDate dny[] = {QDate(1980, 3, 5), QDate(2001, 12, 24), QDate(1999, 1, 1),
                             QDate(2020, 10, 9)};
        const QTime casy[] = {QTime(0, 0, 1), QTime(9, 7, 3), QTime(12, 30, 45), QTime(23, 59, 59),
                              QTime(10, 0)};
        auto stejne = [this](const QDate& d, const QTime& t) {
            const QString vzor = Formaty::datumCas(QDateTime(d, t));
            const QString rychly = napis(d, t);
            return rychly == vzor && rychly == velkymiPismeny(vzor);
        };
        for (const QDate& d : dny) {
            if (!stejne(d, QTime(0, 0))) m_rychle = false;
            for (const QTime& t : casy)
                if (!stejne(d, t)) m_rychle = false;
        }
    }

    // Before texts of a result are written: the days on which the local clock changes, between
    // the first and the last day of the texts, go the slow way.
    void pripravDny(const std::vector<QString>& texty) {
        if (!m_rychle) return;
        qint64 prvni = std::numeric_limits<qint64>::max(), posledni = 0;
        for (const QString& t : texty) {
            Cast c;
            if (!rozeber(t, &c)) continue;
            const qint64 den = QDate(c.rok, c.mesic, c.den).toJulianDay();
            prvni = std::min(prvni, den);
            posledni = std::max(posledni, den);
        }
        if (prvni > posledni) return;
        const QTimeZone zona = QTimeZone::systemTimeZone();
        if (!zona.isValid() || !zona.hasTransitions()) return;
        const auto prechody =
            zona.transitions(QDateTime(QDate::fromJulianDay(prvni - 2), QTime(0, 0), Qt::UTC),
                             QDateTime(QDate::fromJulianDay(posledni + 2), QTime(0, 0), Qt::UTC));
        for (const QTimeZone::OffsetData& p : prechody) {
            const qint64 den = p.atUtc.toUTC().date().toJulianDay();
            for (qint64 d = den - 1; d <= den + 1; ++d) m_zmenyCasu.insert(d);
        }
    }

    // The shown text in upper case.
    QString textVelkymi(const QString& t) const {
        Cast c;
        if (m_rychle && rozeber(t, &c) &&
            (m_zmenyCasu.empty() ||
             m_zmenyCasu.count(QDate(c.rok, c.mesic, c.den).toJulianDay()) == 0))
            return napis(c);
        return velkymiPismeny(textHodnoty(QVariant(t), TypPole::DatumCas));
    }

private:
    // The parts of a date text.
    struct Cast {
        int rok = 0, mesic = 0, den = 0, hodina = 0, minuta = 0, sekunda = 0;
    };
    // One part of a pattern: a letter and how many times it stands there, or a literal text.
    struct Kus {
        QChar pismeno;  // null for a literal
        int pocet = 0;
        QString text;
    };

    // Takes a pattern apart into the letters it may use (at most twice each, the year two or
    // four times) and literals without any letter or quote.
    static bool rozloz(const QString& vzor, const QString& pismena, std::vector<Kus>* kusy) {
        if (vzor.size() > 40) return false;  // more than the writer's buffer holds
        for (int i = 0; i < vzor.size();) {
            const QChar z = vzor.at(i);
            int j = i;
            while (j < vzor.size() && vzor.at(j) == z) ++j;
            const int pocet = j - i;
            if (z.isLetter()) {
                if (!pismena.contains(z)) return false;
                const bool rok = z == QLatin1Char('y');
                if (rok ? (pocet != 2 && pocet != 4) : pocet > 2) return false;
                kusy->push_back({z, pocet, QString()});
            } else {
                if (z == QLatin1Char('\'')) return false;
                if (!kusy->empty() && kusy->back().pismeno.isNull())
                    kusy->back().text += vzor.mid(i, pocet);
                else
                    kusy->push_back({QChar(), 0, vzor.mid(i, pocet)});
            }
            i = j;
        }
        return true;
    }

    static int cislice(const QString& t, int od, int pocet) {
        int h = 0;
        for (int i = od; i < od + pocet; ++i) {
            const char16_t z = t.at(i).unicode();
            if (z < u'0' || z > u'9') return -1;
            h = h * 10 + (z - u'0');
        }
        return h;
    }

    static bool rozeber(const QString& t, Cast* c) {
        if (t.size() != 10 && t.size() != 19) return false;
        if (t.at(4) != QLatin1Char('-') || t.at(7) != QLatin1Char('-')) return false;
        c->rok = cislice(t, 0, 4);
        c->mesic = cislice(t, 5, 2);
        c->den = cislice(t, 8, 2);
        if (c->rok < 1000 || !QDate::isValid(c->rok, c->mesic, c->den)) return false;
        c->hodina = c->minuta = c->sekunda = 0;
        if (t.size() == 10) return true;
        if ((t.at(10) != QLatin1Char(' ') && t.at(10) != QLatin1Char('T')) ||
            t.at(13) != QLatin1Char(':') || t.at(16) != QLatin1Char(':'))
            return false;
        c->hodina = cislice(t, 11, 2);
        c->minuta = cislice(t, 14, 2);
        c->sekunda = cislice(t, 17, 2);
        return c->hodina >= 0 && c->hodina <= 23 && c->minuta >= 0 && c->minuta <= 59 &&
               c->sekunda >= 0 && c->sekunda <= 59;
    }

    // The text is written into a buffer of its own: digits and literals only, so it needs no
    // turning to upper case either.
    struct Buffer {
        char16_t znaky[96];
        int delka = 0;
        void cislo(int hodnota, int pocet) {
            char16_t cifry[8];
            int n = 0;
            do {
                cifry[n++] = char16_t(u'0' + hodnota % 10);
                hodnota /= 10;
            } while (hodnota && n < 8);
            if (pocet >= 2 && n < 2) cifry[n++] = u'0';
            while (n && delka < 96) znaky[delka++] = cifry[--n];
        }
        void text(const QString& t) {
            for (const QChar z : t)
                if (delka < 96) znaky[delka++] = z.unicode();
        }
    };

    static void napisVzor(Buffer& b, const std::vector<Kus>& kusy, int den, int mesic, int rok,
                          int hodina, int minuta, int sekunda) {
        for (const Kus& k : kusy) {
            switch (k.pismeno.unicode()) {
                case u'd':
                    b.cislo(den, k.pocet);
                    break;
                case u'M':
                    b.cislo(mesic, k.pocet);
                    break;
                case u'y':
                    b.cislo(k.pocet == 2 ? rok % 100 : rok, 2);
                    break;
                case u'H':
                    b.cislo(hodina, k.pocet);
                    break;
                case u'm':
                    b.cislo(minuta, k.pocet);
                    break;
                case u's':
                    b.cislo(sekunda, k.pocet);
                    break;
                default:
                    b.text(k.text);
                    break;
            }
        }
    }

    QString napis(const QDate& d, const QTime& t) const {
        Cast c;
        c.rok = d.year();
        c.mesic = d.month();
        c.den = d.day();
        c.hodina = t.hour();
        c.minuta = t.minute();
        c.sekunda = t.second();
        return napis(c);
    }

    // From the parts as the text gives them, without a round trip through a day number.
    QString napis(const Cast& c) const {
        Buffer b;
        napisVzor(b, m_datum, c.den, c.mesic, c.rok, 0, 0, 0);
        if (c.hodina != 0 || c.minuta != 0 || c.sekunda != 0) {
            b.znaky[b.delka++] = u' ';
            napisVzor(b, m_cas, 0, 0, 0, c.hodina, c.minuta, c.sekunda);
        }
        return QString(reinterpret_cast<const QChar*>(b.znaky), b.delka);
    }

    bool m_rychle = false;
    std::vector<Kus> m_datum;
    std::vector<Kus> m_cas;
    std::unordered_set<qint64> m_zmenyCasu;
};

// The distinct texts of one field while a result is read: each text's bytes as the engine
// gives them, found again through an open-addressing table of their hashes. A repeated text is
// neither converted nor stored again; the table goes once the result is read. The first few
// texts are compared one by one, so that a result of a row or two (a lookup) makes no table.
class SlovnikTextu {
public:
    // The text's number in order of first appearance; nove tells whether it was seen first now.
    int najdiNeboPridej(std::string_view text, bool* nove) {
        if (m_sloty.empty() && m_od.size() < kBezTabulky) {
            for (size_t k = 0; k < m_od.size(); ++k) {
                if (text == ulozeny(int(k))) {
                    *nove = false;
                    return int(k);
                }
            }
            m_hashe.push_back(0);
            m_od.push_back(m_bajty.size());
            m_bajty.insert(m_bajty.end(), text.begin(), text.end());
            *nove = true;
            return int(m_od.size() - 1);
        }
        if (m_sloty.empty())
            for (size_t k = 0; k < m_od.size(); ++k)
                m_hashe[k] = std::hash<std::string_view>{}(ulozeny(int(k)));
        if ((m_od.size() + 1) * 2 > m_sloty.size()) zvetsi();
        const size_t hash = std::hash<std::string_view>{}(text);
        const size_t maska = m_sloty.size() - 1;
        size_t i = hash & maska;
        for (; m_sloty[i] >= 0; i = (i + 1) & maska) {
            const int k = m_sloty[i];
            if (m_hashe[k] == hash && text == ulozeny(k)) {
                *nove = false;
                return k;
            }
        }
        const int k = static_cast<int>(m_od.size());
        m_sloty[i] = k;
        m_hashe.push_back(hash);
        m_od.push_back(m_bajty.size());
        m_bajty.insert(m_bajty.end(), text.begin(), text.end());
        *nove = true;
        return k;
    }

private:
    static constexpr size_t kBezTabulky = 8;

    std::string_view ulozeny(int k) const {
        const size_t konec = size_t(k) + 1 < m_od.size() ? m_od[k + 1] : m_bajty.size();
        return std::string_view(m_bajty.data() + m_od[k], konec - m_od[k]);
    }
    void zvetsi() {
        std::vector<int> sloty(std::max<size_t>(64, m_sloty.size() * 2), -1);
        const size_t maska = sloty.size() - 1;
        for (size_t k = 0; k < m_od.size(); ++k) {
            size_t i = m_hashe[k] & maska;
            while (sloty[i] >= 0) i = (i + 1) & maska;
            sloty[i] = static_cast<int>(k);
        }
        m_sloty.swap(sloty);
    }

    std::vector<char> m_bajty;
    std::vector<size_t> m_od;
    std::vector<size_t> m_hashe;
    std::vector<int> m_sloty;
};

bool jeCislo(const QVariant& v) {
    return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double ||
           v.typeId() == QMetaType::Int;
}

}  // namespace

// ---------------------------------------------------------------- Hodnota, Prikaz

Hodnota Hodnota::text(const QString& text) {
    Sql::zkontrolujText(text);
    Hodnota h;
    h.m_druh = Druh::Text;
    h.m_zTextu = true;
    h.m_text = text;
    h.m_utf8 = text.toUtf8();
    return h;
}

namespace {
// Whether the bytes are well-formed UTF-8 (RFC 3629: no overlong form, no surrogate, nothing
// above U+10FFFF, no sequence cut short) that does not begin with a byte order mark: exactly the
// bytes QString::fromUtf8 reads one for one, so that they come back the same from the QString.
bool jeCisteUtf8(QByteArrayView b) {
    const auto* p = reinterpret_cast<const unsigned char*>(b.data());
    const qsizetype n = b.size();
    if (n >= 3 && p[0] == 0xEF && p[1] == 0xBB && p[2] == 0xBF) return false;
    for (qsizetype i = 0; i < n;) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int delka;
        unsigned char dolni = 0x80, horni = 0xBF;  // bounds of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            delka = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            delka = 3;
            if (c == 0xE0) dolni = 0xA0;
            if (c == 0xED) horni = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            delka = 4;
            if (c == 0xF0) dolni = 0x90;
            if (c == 0xF4) horni = 0x8F;
        } else {
            return false;
        }
        if (i + delka > n) return false;
        if (p[i + 1] < dolni || p[i + 1] > horni) return false;
        for (int k = 2; k < delka; ++k)
            if (p[i + k] < 0x80 || p[i + k] > 0xBF) return false;
        i += delka;
    }
    return true;
}
}  // namespace

Hodnota Hodnota::textUtf8(QByteArrayView utf8) {
    if (!jeCisteUtf8(utf8) || std::memchr(utf8.data(), 0, size_t(utf8.size())))
        return text(QString::fromUtf8(utf8));
    Hodnota h;
    h.m_druh = Druh::Text;
    h.m_utf8 = utf8.toByteArray();
    return h;
}

Hodnota Hodnota::textNeboNull(const QString& text) {
    return text.isEmpty() ? null() : Hodnota::text(text);
}

Hodnota Hodnota::cislo(const QString& text) {
    // The same reading as Sql::number.
    const Sql::Cislo c = Sql::prectiCislo(text);
    switch (c.druh) {
        case Sql::Cislo::Druh::Prazdne:
            return null();
        case Sql::Cislo::Druh::Cele:
            return cislo(c.cele);
        case Sql::Cislo::Druh::Desetinne:
            break;
    }
    return cislo(c.desetinne);
}

Hodnota Hodnota::cislo(qint64 cislo) {
    Hodnota h;
    h.m_druh = Druh::Cele;
    h.m_cele = cislo;
    return h;
}

Hodnota Hodnota::cislo(double cislo) {
    if (!std::isfinite(cislo)) throw Chyba(QStringLiteral("Hodnota není konečné číslo."));
    Hodnota h;
    h.m_druh = Druh::Realne;
    h.m_realne = cislo;
    return h;
}

Hodnota Hodnota::datum(const QDate& datum) {
    if (!datum.isValid()) return null();
    return text(datum.toString(QStringLiteral("yyyy-MM-dd")));
}

Hodnota Hodnota::datumCas(const QDateTime& cas) {
    if (!cas.isValid()) return null();
    return text(cas.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

Hodnota Hodnota::null() {
    return Hodnota();
}

QString Hodnota::literal() const {
    switch (m_druh) {
        case Druh::Cele:
            return Sql::number(m_cele);
        case Druh::Realne:
            return Sql::number(m_realne);
        case Druh::Text:
            return Sql::text(m_zTextu ? m_text : QString::fromUtf8(m_utf8));
        case Druh::Null:
            break;
    }
    return Sql::null();
}

QString Prikaz::text() const {
    if (m_hodnoty.isEmpty()) return m_sql;
    QString t;
    t.reserve(m_sql.size() + 16 * m_hodnoty.size());
    int dalsi = 0;
    const qsizetype n = m_sql.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = m_sql.at(i);
        // Quoted texts and names, and comments, are copied as they stand.
        QChar konec;
        if (c == QLatin1Char('\'') || c == QLatin1Char('"') || c == QLatin1Char('`'))
            konec = c;
        else if (c == QLatin1Char('['))
            konec = QLatin1Char(']');
        if (!konec.isNull()) {
            qsizetype j = m_sql.indexOf(konec, i + 1);
            if (j < 0) j = n - 1;
            t += QStringView(m_sql).mid(i, j - i + 1);
            i = j;
            continue;
        }
        if (c == QLatin1Char('-') && i + 1 < n && m_sql.at(i + 1) == QLatin1Char('-')) {
            qsizetype j = m_sql.indexOf(QLatin1Char('\n'), i);
            if (j < 0) j = n - 1;
            t += QStringView(m_sql).mid(i, j - i + 1);
            i = j;
            continue;
        }
        if (c == QLatin1Char('/') && i + 1 < n && m_sql.at(i + 1) == QLatin1Char('*')) {
            qsizetype j = m_sql.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n - 1 : j + 1;
            t += QStringView(m_sql).mid(i, j - i + 1);
            i = j;
            continue;
        }
        if (c == QLatin1Char('?') && dalsi < m_hodnoty.size())
            t += m_hodnoty.at(dalsi++).literal();
        else
            t += c;
    }
    return t;
}

// ---------------------------------------------------------------- Connection

// The statements with values, each prepared at its first run and kept until the connection
// closes: the next run only binds its values. A statement is lent to one run at a time; a run
// inside a run of the same text prepares one of its own.
struct Connection::Pripravene {
    struct Zaznam {
        sqlite3_stmt* stmt = nullptr;
        bool pujcen = false;
    };
    // Node-based, so that a lent record stays where it is while others are added.
    std::unordered_map<QString, Zaznam> prikazy;
    static constexpr size_t kNejvic = 200;
    // The records used last, found by the very text they were looked up with: a statement run
    // row by row passes the same shared text each time, which is then found without hashing.
    // Each holds its text, so the text's characters cannot give way to another's.
    struct Nedavny {
        QString sql;
        Zaznam* zaznam = nullptr;
    };
    std::array<Nedavny, 8> nedavne;
    size_t dalsiNedavny = 0;

    // The kept statement of the text, or nullptr when it is lent already.
    Zaznam* vypujc(sqlite3* db, const QString& sql) {
        Zaznam* z = nullptr;
        for (const Nedavny& n : nedavne)
            if (n.zaznam && n.sql.constData() == sql.constData() && n.sql.size() == sql.size())
                z = n.zaznam;
        if (!z) {
            auto it = prikazy.find(sql);
            if (it == prikazy.end()) {
                if (prikazy.size() >= kNejvic) zahod(false);
                sqlite3_stmt* stmt = priprav(db, sql);
                it = prikazy.emplace(sql, Zaznam{stmt, false}).first;
            }
            z = &it->second;
            nedavne[dalsiNedavny] = {sql, z};
            dalsiNedavny = (dalsiNedavny + 1) % nedavne.size();
        }
        if (z->pujcen) return nullptr;
        z->pujcen = true;
        return z;
    }

    // Finalizes the kept statements (with vcetnePujcenych also those lent right now, which
    // happens only when the connection closes).
    void zahod(bool vcetnePujcenych) {
        nedavne = {};
        for (auto it = prikazy.begin(); it != prikazy.end();) {
            if (it->second.pujcen && !vcetnePujcenych) {
                ++it;
                continue;
            }
            sqlite3_finalize(it->second.stmt);
            it = prikazy.erase(it);
        }
    }
};

namespace {
// One run of a statement with its values bound: a kept statement of the connection when it is
// free, else one prepared for this run alone.
std::unique_ptr<Beh> spust(sqlite3* db, Connection::Pripravene* pripravene, const Prikaz& prikaz,
                           int limitMs) {
    std::unique_ptr<Beh> beh;
    Connection::Pripravene::Zaznam* z = pripravene->vypujc(db, prikaz.sql());
    if (z)
        beh = std::make_unique<Beh>(db, z->stmt, limitMs, [z] { z->pujcen = false; });
    else
        beh = std::make_unique<Beh>(db, prikaz.sql(), limitMs);
    navazHodnoty(db, beh->stmt(), prikaz.hodnoty());
    return beh;
}
}  // namespace

Connection::Connection() = default;

Connection::~Connection() {
    close();
}

void Connection::open(const QString& soubor, Rezim rezim) {
    close();
    // The engine's count of its memory, which nothing here reads, costs a lock around every
    // allocation. It can be switched off only before the engine's first use; a later call
    // changes nothing.
    static const bool bezPocitaniPameti = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    Q_UNUSED(bezPocitaniPameti)
    // One thread uses a connection: the engine's locking around every call (a large result
    // makes millions of them) is not needed.
    const int priznaky = (rezim == Rezim::Vyhradni ? SQLITE_OPEN_READWRITE : SQLITE_OPEN_READONLY) |
                         SQLITE_OPEN_NOMUTEX;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(soubor.toUtf8().constData(), &db, priznaky, nullptr);
    if (rc != SQLITE_OK) {
        const QString zprava = db ? zpravaSqlite(db) : QStringLiteral("out of memory");
        sqlite3_close(db);
        throw Chyba(zprava);
    }
    m_db = db;
    m_soubor = soubor;
    try {
        sqlite3_busy_timeout(m_db, 0);
        sqlite3_create_function(m_db, "now", 0, SQLITE_UTF8, nullptr, fnNow, nullptr, nullptr);
        sqlite3_create_function(m_db, "date", 0, SQLITE_UTF8, nullptr, fnDate, nullptr, nullptr);
        if (rezim == Rezim::Vyhradni) {
            // The exclusive lock is taken by the first write transaction and kept until the
            // connection closes; the empty transaction takes it now. The rollback journal with
            // full synchronisation keeps every committed transaction across a killed process
            // or a power cut.
            provedPrimo(QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"));
            provedPrimo(QStringLiteral("PRAGMA foreign_keys = ON"));
            provedPrimo(QStringLiteral("BEGIN EXCLUSIVE"));
            provedPrimo(QStringLiteral("COMMIT"));
            provedPrimo(QStringLiteral("PRAGMA journal_mode = DELETE"));
            provedPrimo(QStringLiteral("PRAGMA synchronous = FULL"));
        }
        // The first read: a file that is not a database, or one locked by another process,
        // fails here.
        Beh p(m_db, QStringLiteral("select count(*) from sqlite_master"));
        p.krok();
    } catch (const Chyba& e) {
        const bool zamceno =
            sqlite3_errcode(m_db) == SQLITE_BUSY || sqlite3_errcode(m_db) == SQLITE_LOCKED;
        sqlite3_close(m_db);
        m_db = nullptr;
        m_soubor.clear();
        if (zamceno)
            throw Chyba(QStringLiteral("soubor %1 je otevřen jiným programem (%2)")
                            .arg(soubor, e.zprava()));
        throw;
    }
}

bool Connection::jenProCteni() const {
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

void Connection::openImage(const QByteArray& obraz) {
    open(QStringLiteral(":memory:"), Rezim::Vyhradni);
    const auto velikost = static_cast<sqlite3_int64>(obraz.size());
    auto* kopie = static_cast<unsigned char*>(sqlite3_malloc64(qMax<sqlite3_uint64>(1, velikost)));
    if (!kopie) {
        close();
        throw Chyba(QStringLiteral("out of memory"));
    }
    memcpy(kopie, obraz.constData(), static_cast<size_t>(velikost));
    // The engine owns the copy from here on, whatever the result.
    const int rc =
        sqlite3_deserialize(m_db, "main", kopie, velikost, velikost,
                            SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE);
    try {
        if (rc != SQLITE_OK) throw Chyba(zpravaSqlite(m_db));
        provedPrimo(QStringLiteral("PRAGMA query_only = ON"));
        Beh p(m_db, QStringLiteral("select count(*) from sqlite_master"));
        p.krok();
    } catch (const Chyba&) {
        close();
        throw;
    }
}

QByteArray Connection::image() const {
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    sqlite3_int64 velikost = 0;
    unsigned char* data = sqlite3_serialize(m_db, "main", &velikost, 0);
    // A database without a single page has no bytes at all.
    if (!data && velikost > 0) throw Chyba(QStringLiteral("out of memory"));
    if (!data) return QByteArray();
    const QByteArray obraz(reinterpret_cast<const char*>(data), static_cast<qsizetype>(velikost));
    sqlite3_free(data);
    return obraz;
}

void Connection::zalohujDo(const QString& soubor) const {
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    if (QFileInfo::exists(soubor) || QFileInfo(soubor).isSymLink())
        throw Chyba(QStringLiteral("Soubor \"%1\" již existuje.").arg(soubor));
    sqlite3* cil = nullptr;
    int rc =
        sqlite3_open_v2(soubor.toUtf8().constData(), &cil,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, nullptr);
    QString chyba;
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(cil, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_backup* zaloha = sqlite3_backup_init(cil, "main", m_db, "main");
        if (!zaloha) {
            rc = sqlite3_errcode(cil);
        } else {
            // All pages in one step: the source is this connection's own, so nothing can change
            // it between steps, and the copy is one state of it.
            rc = sqlite3_backup_step(zaloha, -1);
            const int konec = sqlite3_backup_finish(zaloha);
            if (rc == SQLITE_DONE) rc = konec;
        }
    }
    if (rc != SQLITE_OK) chyba = cil ? zpravaSqlite(cil) : QStringLiteral("out of memory");
    if (sqlite3_close(cil) != SQLITE_OK && chyba.isEmpty()) chyba = QStringLiteral("close failed");
    if (!chyba.isEmpty()) {
        QFile::remove(soubor);
        QFile::remove(soubor + QStringLiteral("-journal"));
        throw Chyba(chyba);
    }
}

void Connection::zahodPripravene() {
    if (m_pripravene) m_pripravene->zahod(true);
    m_pripravene.reset();
}

void Connection::close() {
    m_limitPrikazuMs = 0;
    zahodPripravene();
    if (!m_db) return;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_soubor.clear();
}

void Connection::provedPrimo(const QString& sql) {
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    Beh p(m_db, sql, m_limitPrikazuMs);
    while (p.krok()) {
    }
}

void Connection::beginTransaction() {
    provedPrimo(QStringLiteral("BEGIN IMMEDIATE"));
}

void Connection::commit() {
    provedPrimo(QStringLiteral("COMMIT"));
}

void Connection::rollback() {
    if (inTransaction()) provedPrimo(QStringLiteral("ROLLBACK"));
}

bool Connection::inTransaction() const {
    return m_db && sqlite3_get_autocommit(m_db) == 0;
}

void Connection::execute(const QString& sql) {
    static const QRegularExpression pridejKlic(
        QStringLiteral("^\\s*alter\\s+table\\s+(\\w+)\\s+add\\s+constraint\\s+(\\w+)\\s+foreign\\s+"
                       "key\\s*\\(([^)]*)\\)\\s*references\\s+(\\w+)\\s*\\(([^)]*)\\)\\s*;?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const auto m = pridejKlic.match(sql);
    if (m.hasMatch()) {
        pridejCiziKlic(m.captured(1), m.captured(2), m.captured(3), m.captured(4), m.captured(5));
        return;
    }
    provedPrimo(sql);
}

void Connection::execute(const Prikaz& prikaz) {
    if (prikaz.hodnoty().isEmpty()) {
        execute(prikaz.sql());
        return;
    }
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    if (!m_pripravene) m_pripravene = std::make_unique<Pripravene>();
    const std::unique_ptr<Beh> beh = spust(m_db, m_pripravene.get(), prikaz, m_limitPrikazuMs);
    while (beh->krok()) {
    }
}

// The engine cannot add a constraint to an existing table, so the table is rebuilt with it:
// the engine's documented procedure of creating the new table, copying the rows, dropping the
// old one and renaming, all in one transaction, checked against the new key before commit.
void Connection::pridejCiziKlic(const QString& tabulka, const QString& nazev,
                                const QString& sloupce, const QString& odkazTabulka,
                                const QString& odkazSloupce) {
    if (!m_db) throw Chyba(QStringLiteral("Databáze není otevřena."));
    auto hledejSql = [this](const QString& jmeno) {
        Beh p(m_db, QStringLiteral("select name, sql from sqlite_master where type = 'table' "
                                   "and name = '%1' collate nocase")
                        .arg(QString(jmeno).replace(QLatin1Char('\''), QLatin1String("''"))));
        if (!p.krok()) throw Chyba(QStringLiteral("no such table: %1").arg(jmeno));
        return QStringList{
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(p.stmt(), 0))),
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(p.stmt(), 1)))};
    };
    const QStringList puvodni = hledejSql(tabulka);
    hledejSql(odkazTabulka);
    const QString jmeno = puvodni.at(0);
    QString ddl = puvodni.at(1);
    const int konec = ddl.lastIndexOf(QLatin1Char(')'));
    if (konec < 0) throw Chyba(QStringLiteral("Nelze číst definici tabulky %1.").arg(jmeno));
    ddl.insert(konec, QStringLiteral(", CONSTRAINT %1 FOREIGN KEY (%2) REFERENCES %3 (%4)")
                          .arg(nazev, sloupce.trimmed(), odkazTabulka, odkazSloupce.trimmed()));
    const QString docasna = QStringLiteral("parmex_prestavba_") + jmeno;
    static const QRegularExpression hlavicka(
        QStringLiteral("^\\s*create\\s+table\\s+(\"[^\"]+\"|\\S+?)(\\s*\\()"),
        QRegularExpression::CaseInsensitiveOption);
    const auto h = hlavicka.match(ddl);
    if (!h.hasMatch()) throw Chyba(QStringLiteral("Nelze číst definici tabulky %1.").arg(jmeno));
    ddl.replace(h.capturedStart(1), h.capturedLength(1), docasna);

    // Indexes made by statements (not those of keys) are created again after the rename.
    QStringList indexy;
    {
        Beh p(m_db, QStringLiteral("select sql from sqlite_master where type = 'index' and "
                                   "tbl_name = '%1' and sql is not null")
                        .arg(QString(jmeno).replace(QLatin1Char('\''), QLatin1String("''"))));
        while (p.krok())
            indexy << QString::fromUtf8(
                reinterpret_cast<const char*>(sqlite3_column_text(p.stmt(), 0)));
    }

    const bool vlastniTransakce = !inTransaction();
    if (vlastniTransakce) {
        provedPrimo(QStringLiteral("PRAGMA foreign_keys = OFF"));
        provedPrimo(QStringLiteral("BEGIN IMMEDIATE"));
    } else {
        provedPrimo(QStringLiteral("SAVEPOINT parmex_prestavba"));
    }
    try {
        provedPrimo(ddl);
        provedPrimo(QStringLiteral("INSERT INTO %1 SELECT * FROM %2").arg(docasna, jmeno));
        provedPrimo(QStringLiteral("DROP TABLE %1").arg(jmeno));
        provedPrimo(QStringLiteral("ALTER TABLE %1 RENAME TO %2").arg(docasna, jmeno));
        for (const QString& i : indexy) provedPrimo(i);
        {
            Beh kontrola(m_db, QStringLiteral("PRAGMA foreign_key_check(%1)").arg(jmeno));
            if (kontrola.krok()) throw Chyba(QStringLiteral("FOREIGN KEY constraint failed"));
        }
        provedPrimo(vlastniTransakce ? QStringLiteral("COMMIT")
                                     : QStringLiteral("RELEASE parmex_prestavba"));
    } catch (...) {
        if (vlastniTransakce) {
            sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
            sqlite3_exec(m_db, "PRAGMA foreign_keys = ON", nullptr, nullptr, nullptr);
        } else {
            sqlite3_exec(m_db, "ROLLBACK TO parmex_prestavba; RELEASE parmex_prestavba", nullptr,
                         nullptr, nullptr);
        }
        throw;
    }
    if (vlastniTransakce) provedPrimo(QStringLiteral("PRAGMA foreign_keys = ON"));
}

// ---------------------------------------------------------------- Field

QString Field::name() const {
    return m_q->fieldName(m_sloupec);
}

TypPole Field::dataType() const {
    return m_q->fieldType(m_sloupec);
}

QVariant Field::value() const {
    return m_radek < 0 ? QVariant() : m_q->storedValue(m_radek, m_sloupec);
}

bool Field::isNull() const {
    return value().isNull();
}

QString Field::asString() const {
    return textHodnoty(value(), dataType());
}

qint64 Field::asInteger() const {
    const QVariant v = value();
    if (v.isNull()) return 0;
    if (v.typeId() == QMetaType::LongLong) return v.toLongLong();
    if (v.typeId() == QMetaType::Double) return qRound64(v.toDouble());
    bool ok = false;
    const qint64 h = v.toString().trimmed().toLongLong(&ok);
    if (!ok) throw Chyba(QStringLiteral("'%1' is not a valid integer value").arg(v.toString()));
    return h;
}

double Field::asFloat() const {
    const QVariant v = value();
    if (v.isNull()) return 0;
    if (jeCislo(v)) return v.toDouble();
    bool ok = false;
    double h = Formaty::naCislo(v.toString(), &ok);
    if (!ok) h = v.toString().trimmed().toDouble(&ok);
    if (!ok)
        throw Chyba(QStringLiteral("'%1' is not a valid floating point value").arg(v.toString()));
    return h;
}

QDateTime Field::asDateTime() const {
    return naDatumCas(value());
}

// ---------------------------------------------------------------- Query

Query::Query(Connection* spojeni, QObject* parent) : QObject(parent), m_spojeni(spojeni) {}

void Query::open() {
    close();
    if (!m_spojeni || !m_spojeni->isOpen()) throw Chyba(QStringLiteral("Databáze není otevřena."));
    std::unique_ptr<Beh> beh;
    if (m_prikaz.hodnoty().isEmpty()) {
        beh = std::make_unique<Beh>(m_spojeni->handle(), m_prikaz.sql(), m_spojeni->limitPrikazu());
    } else {
        if (!m_spojeni->m_pripravene)
            m_spojeni->m_pripravene = std::make_unique<Connection::Pripravene>();
        beh = spust(m_spojeni->handle(), m_spojeni->m_pripravene.get(), m_prikaz,
                    m_spojeni->limitPrikazu());
    }
    Beh& p = *beh;
    sqlite3_stmt* const s = p.stmt();
    if (sqlite3_column_count(s) == 0) throw Chyba(QStringLiteral("Příkaz nevrací žádná data."));
    // The fields are read after the first step: a kept statement whose tables have changed
    // since it was prepared is prepared anew by that step, with the fields they have now.
    bool radek = p.krok();
    const int n = sqlite3_column_count(s);
    QStringList sloupce;
    QVector<TypPole> typy;
    for (int i = 0; i < n; ++i) {
        sloupce << QString::fromUtf8(sqlite3_column_name(s, i));
        typy << typZDeklarace(sqlite3_column_decltype(s, i));
    }
    std::vector<SloupecDat> data(n);
    std::vector<SlovnikTextu> slovniky(n);
    int radku = 0;
    for (; radek; radek = p.krok()) {
        for (int i = 0; i < n; ++i) {
            SloupecDat& d = data[i];
            switch (sqlite3_column_type(s, i)) {
                case SQLITE_INTEGER:
                    d.druh.push_back(d_Cele);
                    d.hodnota.push_back(sqlite3_column_int64(s, i));
                    if (typy[i] == TypPole::Neznamy) typy[i] = TypPole::Cele;
                    break;
                case SQLITE_FLOAT: {
                    const double x = sqlite3_column_double(s, i);
                    qint64 bity;
                    std::memcpy(&bity, &x, sizeof bity);
                    d.druh.push_back(d_Realne);
                    d.hodnota.push_back(bity);
                    if (typy[i] == TypPole::Neznamy) typy[i] = TypPole::Desetinne;
                    break;
                }
                case SQLITE_TEXT: {
                    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
                    const int delka = sqlite3_column_bytes(s, i);
                    const std::string_view klic(t ? t : "", t ? delka : 0);
                    bool nove = false;
                    const int index = slovniky[i].najdiNeboPridej(klic, &nove);
                    if (nove)
                        d.texty.push_back(QString::fromUtf8(klic.data(), qsizetype(klic.size())));
                    d.druh.push_back(d_Text);
                    d.hodnota.push_back(index);
                    if (typy[i] == TypPole::Neznamy) typy[i] = TypPole::Text;
                    break;
                }
                case SQLITE_BLOB: {
                    const char* b = static_cast<const char*>(sqlite3_column_blob(s, i));
                    d.druh.push_back(d_Blob);
                    d.hodnota.push_back(static_cast<qint64>(d.bloby.size()));
                    d.bloby.emplace_back(b, sqlite3_column_bytes(s, i));
                    break;
                }
                default:
                    d.druh.push_back(d_Null);
                    d.hodnota.push_back(0);
                    break;
            }
        }
        ++radku;
    }
    m_sloupce = sloupce;
    m_typy = typy;
    m_data = std::move(data);
    m_pocetRadku = radku;
    m_poradiSloupcu.assign(n, {});
    m_poradiSpocteno.assign(n, false);
    m_poradi.resize(radku);
    std::iota(m_poradi.begin(), m_poradi.end(), 0);
    m_otevreno = true;
    m_trideni.clear();
    sestavViditelne();
    nastavPozici(0);
    emit resetNastal();
}

void Query::execSql() {
    close();
    if (!m_spojeni || !m_spojeni->isOpen()) throw Chyba(QStringLiteral("Databáze není otevřena."));
    m_spojeni->execute(m_prikaz);
}

void Query::close() {
    const bool bylo = m_otevreno;
    m_otevreno = false;
    m_data.clear();
    m_pocetRadku = 0;
    m_hledani.clear();
    m_shodyPlatne = false;
    m_shodaRadku.clear();
    m_radkyPlatne = false;
    m_poradiSloupcu.clear();
    m_poradiSpocteno.clear();
    m_poradi.clear();
    m_viditelne.clear();
    m_sloupce.clear();
    m_typy.clear();
    m_trideni.clear();
    m_pozice = -1;
    m_eof = m_bof = true;
    if (bylo) emit resetNastal();
}

void Query::requery() {
    const QString trideni = m_trideni;
    open();
    if (!trideni.isEmpty()) setSort(trideni);
}

void Query::vyzadujOtevreny() const {
    if (!m_otevreno) throw Chyba(QStringLiteral("Operace není povolena, je-li objekt zavřen."));
}

int Query::recordCount() const {
    return m_otevreno ? static_cast<int>(m_viditelne.size()) : 0;
}

int Query::recNo() const {
    return (m_otevreno && m_pozice >= 0) ? m_pozice + 1 : 0;
}

void Query::nastavPozici(int pozice) {
    const int pocet = static_cast<int>(m_viditelne.size());
    if (pocet == 0) {
        m_pozice = -1;
        m_eof = m_bof = true;
    } else {
        m_pozice = std::clamp(pozice, 0, pocet - 1);
        m_eof = m_bof = false;
    }
    emit poziceZmenena();
}

void Query::setRecNo(int cislo) {
    vyzadujOtevreny();
    if (cislo >= 1 && cislo <= recordCount()) nastavPozici(cislo - 1);
}

void Query::first() {
    vyzadujOtevreny();
    nastavPozici(0);
    m_bof = true;
}

void Query::last() {
    vyzadujOtevreny();
    nastavPozici(recordCount() - 1);
    m_eof = recordCount() == 0;
}

void Query::next() {
    vyzadujOtevreny();
    if (m_pozice + 1 < recordCount()) {
        nastavPozici(m_pozice + 1);
    } else {
        m_eof = true;
    }
    m_bof = recordCount() == 0;
}

void Query::prior() {
    vyzadujOtevreny();
    if (m_pozice > 0) {
        nastavPozici(m_pozice - 1);
    } else {
        m_bof = true;
    }
    m_eof = recordCount() == 0;
}

bool Query::eof() const {
    return !m_otevreno || m_eof;
}

bool Query::bof() const {
    return !m_otevreno || m_bof;
}

QStringList Query::fieldNames() const {
    return m_sloupce;
}

int Query::fieldIndex(const QString& nazev) const {
    for (int i = 0; i < m_sloupce.size(); ++i)
        if (m_sloupce.at(i).compare(nazev, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int Query::currentStoredRow() const {
    return (m_otevreno && m_pozice >= 0) ? m_viditelne[m_pozice] : -1;
}

Field Query::field(int sloupec) const {
    vyzadujOtevreny();
    if (sloupec < 0 || sloupec >= m_sloupce.size())
        throw Chyba(QStringLiteral("Pole s indexem %1 neexistuje.").arg(sloupec));
    return Field(this, sloupec, currentStoredRow());
}

Field Query::fieldByName(const QString& nazev) const {
    vyzadujOtevreny();
    const int i = fieldIndex(nazev);
    if (i < 0) throw Chyba(QStringLiteral("Pole '%1' nebylo nalezeno.").arg(nazev));
    return Field(this, i, currentStoredRow());
}

QVariant Query::storedValue(int radek, int sloupec) const {
    if (radek < 0 || radek >= m_pocetRadku || sloupec < 0 ||
        sloupec >= static_cast<int>(m_data.size()))
        return QVariant();
    const SloupecDat& d = m_data[sloupec];
    const qint64 h = d.hodnota[radek];
    switch (d.druh[radek]) {
        case d_Cele:
            return QVariant(static_cast<qlonglong>(h));
        case d_Realne: {
            double x;
            std::memcpy(&x, &h, sizeof x);
            return QVariant(x);
        }
        case d_Text:
            return QVariant(d.texty[h]);
        case d_Blob:
            return QVariant(d.bloby[h]);
        default:
            return QVariant();
    }
}

double Query::cisloBunky(int radek, int sloupec) const {
    const SloupecDat& d = m_data[sloupec];
    const qint64 h = d.hodnota[radek];
    if (d.druh[radek] == d_Cele) return static_cast<double>(h);
    double x;
    std::memcpy(&x, &h, sizeof x);
    return x;
}

QString Query::storedText(int radek, int sloupec) const {
    return textHodnoty(storedValue(radek, sloupec), fieldType(sloupec));
}

QVariant Query::value(int viditelnyRadek, int sloupec) const {
    if (viditelnyRadek < 0 || viditelnyRadek >= recordCount()) return QVariant();
    return storedValue(m_viditelne[viditelnyRadek], sloupec);
}

QString Query::text(int viditelnyRadek, int sloupec) const {
    if (viditelnyRadek < 0 || viditelnyRadek >= recordCount()) return QString();
    return storedText(m_viditelne[viditelnyRadek], sloupec);
}

void Query::setSort(const QString& vyraz) {
    vyzadujOtevreny();
    struct Klic {
        int sloupec;
        bool sestupne;
    };
    std::vector<Klic> klice;
    for (const QString& cast : vyraz.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        QStringList slova = cast.simplified().split(QLatin1Char(' '));
        bool sestupne = false;
        if (slova.size() == 2 &&
            slova.at(1).compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0) {
            sestupne = true;
        } else if (slova.size() == 2 &&
                   slova.at(1).compare(QLatin1String("ASC"), Qt::CaseInsensitive) == 0) {
        } else if (slova.size() != 1) {
            throw Chyba(QStringLiteral("Neplatné třídění: %1").arg(vyraz));
        }
        const int i = fieldIndex(slova.at(0));
        if (i < 0) throw Chyba(QStringLiteral("Pole '%1' nebylo nalezeno.").arg(slova.at(0)));
        klice.push_back({i, sestupne});
    }
    m_trideni = vyraz.trimmed();
    // All rows are sorted, the filter then picks from them in that order: the same result as
    // sorting the filtered rows (the sort is stable), and a later change of the filter needs
    // no new sort.
    m_poradi.resize(m_pocetRadku);
    std::iota(m_poradi.begin(), m_poradi.end(), 0);
    bool podlePoradi = true;
    for (const Klic& k : klice) podlePoradi = podlePoradi && !poradiSloupce(k.sloupec).empty();
    if (!klice.empty() && podlePoradi) {
        std::vector<const std::vector<int>*> poradi;
        for (const Klic& k : klice) poradi.push_back(&poradiSloupce(k.sloupec));
        std::stable_sort(m_poradi.begin(), m_poradi.end(), [&](int a, int b) {
            for (size_t i = 0; i < klice.size(); ++i) {
                const int x = (*poradi[i])[a], y = (*poradi[i])[b];
                if (x != y) return klice[i].sestupne ? x > y : x < y;
            }
            return false;
        });
    } else if (!klice.empty()) {
        QCollator kolator;
        kolator.setCaseSensitivity(Qt::CaseInsensitive);
        kolator.setNumericMode(false);
        auto porovnej = [&](int a, int b) {
            for (const Klic& k : klice) {
                const QVariant va = storedValue(a, k.sloupec);
                const QVariant vb = storedValue(b, k.sloupec);
                int c = 0;
                if (va.isNull() || vb.isNull()) {
                    c = va.isNull() == vb.isNull() ? 0 : (va.isNull() ? -1 : 1);
                } else if (jeCislo(va) && jeCislo(vb)) {
                    const double x = va.toDouble(), y = vb.toDouble();
                    c = x < y ? -1 : (x > y ? 1 : 0);
                } else if (m_typy[k.sloupec] == TypPole::DatumCas) {
                    c = QString::compare(va.toString(), vb.toString());
                } else {
                    c = kolator.compare(va.toString(), vb.toString());
                }
                if (c != 0) return k.sestupne ? c > 0 : c < 0;
            }
            return false;
        };
        std::stable_sort(m_poradi.begin(), m_poradi.end(), porovnej);
    }
    sestavViditelne();
    nastavPozici(0);
    emit resetNastal();
}

void Query::sestavViditelne() {
    const bool filtr = m_filtrovano && m_predikat;
    if (!filtr) {
        m_viditelne = m_poradi;
        return;
    }
    m_viditelne.clear();
    m_viditelne.reserve(m_poradi.size());
    if (!m_filtrTextu) {
        for (const int i : m_poradi)
            if (m_predikat(*this, i)) m_viditelne.push_back(i);
        return;
    }
    // A search: which rows hold the text is kept per stored row, so a new sort order only
    // picks them again, and a text extending the last one tests only the rows found then.
    const QString hledane = *m_filtrTextu;
    if (!m_radkyPlatne || hledane != m_radkyPro) {
        const bool zuzit = m_radkyPlatne && hledane.contains(m_radkyPro);
        pripravHledani();
        pripravShody(hledane);
        if (!zuzit) m_shodaRadku.assign(m_pocetRadku, 1);
        if (!hledane.isEmpty())
            for (int r = 0; r < m_pocetRadku; ++r)
                if (m_shodaRadku[r]) m_shodaRadku[r] = radekObsahuje(r);
        m_radkyPro = hledane;
        m_radkyPlatne = true;
    }
    for (const int i : m_poradi)
        if (m_shodaRadku[i]) m_viditelne.push_back(i);
}

void Query::pripravHledani() const {
    if (!m_hledani.empty()) return;
    const int sloupcu = static_cast<int>(m_data.size());
    m_hledani.resize(sloupcu);
    m_shodyPlatne = false;
    // Each distinct text and real number is formatted and turned to upper case once: lists
    // repeat their values a lot, and formatting dates and numbers is slow.
    for (int c = 0; c < sloupcu; ++c) {
        const SloupecDat& d = m_data[c];
        HledaniSloupce& h = m_hledani[c];
        const TypPole typ = m_typy[c];
        h.texty.reserve(d.texty.size());
        if (typ == TypPole::DatumCas) {
            DatumyVysledku datumy;
            datumy.pripravDny(d.texty);
            for (const QString& t : d.texty) h.texty.push_back(datumy.textVelkymi(t));
        } else {
            for (const QString& t : d.texty) h.texty.push_back(velkymiPismeny(t));
        }
        for (const QByteArray& b : d.bloby)
            h.bloby.push_back(velkymiPismeny(textHodnoty(QVariant(b), typ)));
        if (std::find(d.druh.begin(), d.druh.end(), d_Realne) == d.druh.end()) continue;
        h.indexRealneho.assign(m_pocetRadku, -1);
        std::unordered_map<qint64, int> ruzna;
        for (int r = 0; r < m_pocetRadku; ++r) {
            if (d.druh[r] != d_Realne) continue;
            auto [it, nove] = ruzna.emplace(d.hodnota[r], static_cast<int>(h.realna.size()));
            if (nove) h.realna.push_back(velkymiPismeny(Formaty::cislo(cisloBunky(r, c))));
            h.indexRealneho[r] = it->second;
        }
    }
}

void Query::pripravShody(const QString& hledaneVelke) const {
    if (m_shodyPlatne && hledaneVelke == m_shodyPro) return;
    auto oznac = [&](const std::vector<QString>& texty, std::vector<char>& shody) {
        shody.resize(texty.size());
        for (size_t i = 0; i < texty.size(); ++i) shody[i] = texty[i].contains(hledaneVelke);
    };
    for (HledaniSloupce& h : m_hledani) {
        oznac(h.texty, h.shodaTextu);
        oznac(h.bloby, h.shodaBlobu);
        oznac(h.realna, h.shodaRealneho);
    }
    // A whole number shows as its digits with a leading minus sign (no locale), so only a text
    // made of these can be found in it.
    m_hledanyJakoCislo = !hledaneVelke.isEmpty();
    for (const QChar z : hledaneVelke)
        if (!((z >= QLatin1Char('0') && z <= QLatin1Char('9')) || z == QLatin1Char('-')))
            m_hledanyJakoCislo = false;
    m_hledanyAscii = m_hledanyJakoCislo ? hledaneVelke.toLatin1() : QByteArray();
    m_shodyPro = hledaneVelke;
    m_shodyPlatne = true;
}

namespace {
// Whether the decimal digits of the number, as QString::number writes them, contain the text.
bool cifryObsahuji(qint64 cislo, const QByteArray& hledane) {
    char cifry[24];
    char* konec = cifry + sizeof cifry;
    char* zacatek = konec;
    quint64 zbytek = cislo < 0 ? 0 - static_cast<quint64>(cislo) : static_cast<quint64>(cislo);
    do {
        *--zacatek = static_cast<char>('0' + zbytek % 10);
        zbytek /= 10;
    } while (zbytek);
    if (cislo < 0) *--zacatek = '-';
    return std::string_view(zacatek, konec - zacatek)
               .find(std::string_view(hledane.constData(), hledane.size())) !=
           std::string_view::npos;
}
}  // namespace

bool Query::radekObsahuje(int radek) const {
    const int sloupcu = static_cast<int>(m_data.size());
    for (int c = 0; c < sloupcu; ++c) {
        const SloupecDat& d = m_data[c];
        const HledaniSloupce& h = m_hledani[c];
        const qint64 i = d.hodnota[radek];
        switch (d.druh[radek]) {
            case d_Text:
                if (h.shodaTextu[i]) return true;
                break;
            case d_Realne:
                if (h.shodaRealneho[h.indexRealneho[radek]]) return true;
                break;
            case d_Cele:
                if (m_hledanyJakoCislo && cifryObsahuji(i, m_hledanyAscii)) return true;
                break;
            case d_Blob:
                if (h.shodaBlobu[i]) return true;
                break;
            default:
                break;
        }
    }
    return false;
}

bool Query::storedRowContainsUpper(int radek, const QString& hledaneVelke) const {
    if (radek < 0 || radek >= m_pocetRadku) return false;
    if (hledaneVelke.isEmpty()) return true;
    pripravHledani();
    pripravShody(hledaneVelke);
    return radekObsahuje(radek);
}

const std::vector<int>& Query::poradiSloupce(int sloupec) const {
    std::vector<int>& poradi = m_poradiSloupcu[sloupec];
    if (m_poradiSpocteno[sloupec]) return poradi;
    m_poradiSpocteno[sloupec] = true;
    const SloupecDat& d = m_data[sloupec];
    const int n = m_pocetRadku;
    // Only a field whose values are all numbers or all texts gets ranks; they give the same
    // order as comparing the values pair by pair.
    bool cisla = false, texty = false;
    for (const quint8 druh : d.druh) {
        if (druh == d_Null) continue;
        (druh == d_Cele || druh == d_Realne ? cisla : texty) = true;
    }
    if (cisla && texty) return poradi;
    poradi.assign(n, -1);  // null comes first
    if (cisla) {
        std::vector<int> radky;
        std::vector<double> h(n);
        for (int r = 0; r < n; ++r) {
            if (d.druh[r] == d_Null) continue;
            radky.push_back(r);
            h[r] = cisloBunky(r, sloupec);
        }
        std::sort(radky.begin(), radky.end(), [&](int a, int b) { return h[a] < h[b]; });
        int poradove = -1;
        for (size_t i = 0; i < radky.size(); ++i) {
            if (i == 0 || h[radky[i]] != h[radky[i - 1]]) ++poradove;
            poradi[radky[i]] = poradove;
        }
        return poradi;
    }
    // Texts: each distinct value is ranked once. The field keeps its texts once already; a
    // binary value counts as its text.
    std::vector<QString> hodnoty(d.texty.begin(), d.texty.end());
    std::vector<int> indexRadku(n, -1);
    for (int r = 0; r < n; ++r) {
        if (d.druh[r] == d_Text) {
            indexRadku[r] = static_cast<int>(d.hodnota[r]);
        } else if (d.druh[r] == d_Blob) {
            indexRadku[r] = static_cast<int>(hodnoty.size());
            hodnoty.push_back(QVariant(d.bloby[d.hodnota[r]]).toString());
        }
    }
    std::vector<int> serazene(hodnoty.size());
    std::iota(serazene.begin(), serazene.end(), 0);
    std::vector<int> rank(hodnoty.size());
    if (m_typy[sloupec] == TypPole::DatumCas) {
        std::sort(serazene.begin(), serazene.end(),
                  [&](int a, int b) { return QString::compare(hodnoty[a], hodnoty[b]) < 0; });
        for (size_t i = 0; i < serazene.size(); ++i)
            rank[serazene[i]] =
                (i == 0)
                    ? 0
                    : rank[serazene[i - 1]] +
                          (QString::compare(hodnoty[serazene[i - 1]], hodnoty[serazene[i]]) != 0);
    } else {
        QCollator kolator;
        kolator.setCaseSensitivity(Qt::CaseInsensitive);
        kolator.setNumericMode(false);
        std::vector<QCollatorSortKey> klice;
        klice.reserve(hodnoty.size());
        for (const QString& t : hodnoty) klice.push_back(kolator.sortKey(t));
        std::sort(serazene.begin(), serazene.end(),
                  [&](int a, int b) { return klice[a].compare(klice[b]) < 0; });
        for (size_t i = 0; i < serazene.size(); ++i)
            rank[serazene[i]] = (i == 0)
                                    ? 0
                                    : rank[serazene[i - 1]] +
                                          (klice[serazene[i - 1]].compare(klice[serazene[i]]) != 0);
    }
    for (int r = 0; r < n; ++r)
        if (indexRadku[r] >= 0) poradi[r] = rank[indexRadku[r]];
    return poradi;
}

void Query::setFilterPredicate(Predikat p) {
    m_predikat = std::move(p);
    m_filtrTextu.reset();
}

void Query::setFilterText(std::shared_ptr<const QString> hledaneVelke) {
    m_filtrTextu = std::move(hledaneVelke);
    const std::shared_ptr<const QString> hledane = m_filtrTextu;
    m_predikat = [hledane](const Query& q, int radek) {
        return q.storedRowContainsUpper(radek, *hledane);
    };
}

void Query::setFiltered(bool zapnout) {
    m_filtrovano = zapnout;
    if (!m_otevreno) return;
    sestavViditelne();
    nastavPozici(0);
    emit resetNastal();
}

bool Query::locate(const QStringList& pole, const QVariantList& hodnoty, bool castecne) {
    vyzadujOtevreny();
    if (pole.size() != hodnoty.size()) return false;
    QVector<int> sloupce;
    for (const QString& p : pole) {
        const int i = fieldIndex(p.trimmed());
        if (i < 0) throw Chyba(QStringLiteral("Pole '%1' nebylo nalezeno.").arg(p));
        sloupce << i;
    }
    QVector<double> cisla;
    QStringList texty;
    for (const QVariant& h : hodnoty) {
        cisla << (jeCislo(h) ? h.toDouble() : 0);
        texty << h.toString();
    }
    for (int r = 0; r < recordCount(); ++r) {
        const int radek = m_viditelne[r];
        bool shoda = true;
        for (int k = 0; k < sloupce.size() && shoda; ++k) {
            const int c = sloupce[k];
            const QVariant& hledana = hodnoty.at(k);
            const quint8 druh = m_data[c].druh[radek];
            if (hledana.isNull() || druh == d_Null) {
                shoda = hledana.isNull() && druh == d_Null;
            } else if (jeCislo(hledana) && (druh == d_Cele || druh == d_Realne)) {
                shoda = cisloBunky(radek, c) == cisla[k];
            } else {
                const QString t = storedText(radek, c);
                shoda = castecne ? t.startsWith(texty[k], Qt::CaseInsensitive)
                                 : t.compare(texty[k], Qt::CaseInsensitive) == 0;
            }
        }
        if (shoda) {
            nastavPozici(r);
            return true;
        }
    }
    return false;
}

// ---------------------------------------------------------------- Radky

Radky::~Radky() {
    close();
}

void Radky::open(const Prikaz& prikaz) {
    close();
    if (!m_spojeni || !m_spojeni->isOpen()) throw Chyba(QStringLiteral("Databáze není otevřena."));
    m_prikaz = prikaz;
    std::shared_ptr<Beh> beh;
    if (m_prikaz.hodnoty().isEmpty()) {
        beh = std::make_shared<Beh>(m_spojeni->handle(), m_prikaz.sql(), m_spojeni->limitPrikazu());
    } else {
        if (!m_spojeni->m_pripravene)
            m_spojeni->m_pripravene = std::make_unique<Connection::Pripravene>();
        beh = spust(m_spojeni->handle(), m_spojeni->m_pripravene.get(), m_prikaz,
                    m_spojeni->limitPrikazu());
    }
    if (sqlite3_column_count(beh->stmt()) == 0)
        throw Chyba(QStringLiteral("Příkaz nevrací žádná data."));
    m_eof = !beh->krok();
    m_stmt = beh->stmt();
    m_beh = std::move(beh);
}

void Radky::next() {
    if (!m_beh || m_eof) return;
    try {
        m_eof = !static_cast<Beh*>(m_beh.get())->krok();
    } catch (const Chyba&) {
        close();
        throw;
    }
}

void Radky::close() {
    m_beh.reset();
    m_stmt = nullptr;
    m_eof = true;
    m_sloupce.clear();
}

int Radky::fieldIndex(const QString& nazev) {
    if (!m_stmt) throw Chyba(QStringLiteral("Operace není povolena, je-li objekt zavřen."));
    if (m_sloupce.isEmpty())
        for (int i = 0; i < sqlite3_column_count(m_stmt); ++i)
            m_sloupce << QString::fromUtf8(sqlite3_column_name(m_stmt, i));
    for (int i = 0; i < m_sloupce.size(); ++i)
        if (m_sloupce.at(i).compare(nazev, Qt::CaseInsensitive) == 0) return i;
    throw Chyba(QStringLiteral("Pole '%1' nebylo nalezeno.").arg(nazev));
}

Radky::Druh Radky::druh(int sloupec) const {
    if (!m_stmt || m_eof) return Druh::Null;
    switch (sqlite3_column_type(m_stmt, sloupec)) {
        case SQLITE_INTEGER:
            return Druh::Cele;
        case SQLITE_FLOAT:
            return Druh::Realne;
        case SQLITE_TEXT:
            return Druh::Text;
        case SQLITE_BLOB:
            return Druh::Blob;
        default:
            return Druh::Null;
    }
}

qint64 Radky::cele(int sloupec) const {
    return m_stmt && !m_eof ? sqlite3_column_int64(m_stmt, sloupec) : 0;
}

double Radky::realne(int sloupec) const {
    return m_stmt && !m_eof ? sqlite3_column_double(m_stmt, sloupec) : 0;
}

QByteArrayView Radky::utf8(int sloupec) const {
    if (!m_stmt || m_eof) return {};
    const char* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, sloupec));
    return QByteArrayView(t, t ? sqlite3_column_bytes(m_stmt, sloupec) : 0);
}

QVariant Radky::value(int sloupec) const {
    switch (druh(sloupec)) {
        case Druh::Cele:
            return QVariant(static_cast<qlonglong>(cele(sloupec)));
        case Druh::Realne:
            return QVariant(realne(sloupec));
        case Druh::Text:
            return QVariant(QString::fromUtf8(utf8(sloupec)));
        case Druh::Blob: {
            const char* b = static_cast<const char*>(sqlite3_column_blob(m_stmt, sloupec));
            return QVariant(QByteArray(b, sqlite3_column_bytes(m_stmt, sloupec)));
        }
        case Druh::Null:
            break;
    }
    return QVariant();
}

}  // namespace db
