// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "Databaze.h"
#include "Hlaseni.h"
#include "Organizace.h"

// The context the core works in: the local database data.mdb and its query, the code-list
// file's connection used only by the import, the evidence year, the organisation and its web
// addresses, and where messages and log lines go. The program's main window holds one for its
// whole life (its ADOConnection1, ADOQuery1, rok, AdresyWebu are this context's); a test or the
// publishing command makes its own.
class Relace {
public:
    explicit Relace(Hlaseni& hlaseni);
    ~Relace();
    Relace(const Relace&) = delete;
    Relace& operator=(const Relace&) = delete;

    Hlaseni& hlaseni;
    db::Connection spojeni;     // data.mdb
    db::Query dotaz;            // the context's own query on spojeni
    db::Connection spojeniCis;  // the code-list file, read only, while the import runs
    db::Query dotazCis;         // the import's query on spojeniCis
    QString rok;                // the evidence year, four digits
    TAdresyWebu adresy;
    TOrganizace organizace = o_Neurceno;

    // The query helper every statement runs through (Gosql, Gosqlexec): a statement text, or a
    // statement with values bound to its placeholders (see db::Prikaz). A query without a
    // connection is bound to spojeni. Activ 1 opens the select; any other value only sets the
    // statement and leaves the query closed. On failure the statement's text (with its values
    // written in as literals) goes to the log first; then the error is raised again to the
    // caller with its text (PoslatVyjimkuDal) or the user is told "Došlo k chybě! (kontaktuje
    // prosím správce)" with the engine's text and the call returns normally.
    void gosql(const db::Prikaz& prikaz, quint8 Activ, db::Query& q, bool PoslatVyjimkuDal);
    void gosqlexec(const db::Prikaz& prikaz, db::Query& q, bool PoslatVyjimkuDal);
    // A select read row by row (db::Radky, none of its rows kept): its first row now, each next
    // one with dalsi(). A failure on the way takes the same error path with the same statement;
    // when it is reported to the user, the rows end there.
    void gosql(const db::Prikaz& prikaz, db::Radky& radky, bool PoslatVyjimkuDal);
    void dalsi(db::Radky& radky, bool PoslatVyjimkuDal);

private:
    void chybaDotazu(const db::Prikaz& prikaz, const QString& zprava, bool PoslatVyjimkuDal);
};
