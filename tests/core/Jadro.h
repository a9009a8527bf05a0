// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>

#include "Databaze.h"
#include "Hlaseni.h"
#include "Hodiny.h"
#include "JetSoubor.h"
#include "Radky.h"
#include "Relace.h"
#include "Schema.h"

// Shared fixtures of the core's tests, which run without any window.
namespace Jadro {

// Czech formats (the formats users of the program have), the clock of the system and the real
// program as the reader of Jet files (a test's executable does not read them).
inline void pripravProstredi() {
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::Czechia));
    Hodiny::nastav(QDateTime());
    jet::nastavCtenare(QStringLiteral(PARMEX_EXE));
}

// A context on a fresh local database of the current schema in a folder of its own, as the
// program makes it at its first start; what it says and logs is recorded.
class NovaRelace {
public:
    NovaRelace() : relace(hlaseni) {
        VytvorDatabazi(relace, cesta(QStringLiteral("data.mdb")));
        relace.spojeni.open(cesta(QStringLiteral("data.mdb")), db::Connection::Rezim::Vyhradni);
        relace.rok = QStringLiteral("2027");
    }
    QString cesta(const QString& jmeno) const { return m_dir.filePath(jmeno); }

    // The first field of the first row, as the user sees it ("null" for a null).
    QString jedna(const QString& sql) {
        db::Query q(&relace.spojeni);
        q.setSql(sql);
        q.open();
        return q.field(0).isNull() ? QStringLiteral("null") : q.field(0).asString();
    }
    // Every row, its fields as the user sees them joined by "|".
    QStringList radky(const QString& sql) { return vsechnyRadky(relace.spojeni, sql); }
    void proved(const QString& sql) { relace.spojeni.execute(sql); }

private:
    QTemporaryDir m_dir;

public:
    ZaznamHlaseni hlaseni;
    Relace relace;
};

}  // namespace Jadro
