// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// A small member list for the grid and search panel tests: a database file in a fresh working
// folder, a query over it and a grid (optionally inside a search panel) showing four of its
// fields, "mesto" and "id" being hidden from the grid.
#include <QFile>
#include <QHeaderView>
#include <QVBoxLayout>
#include <QtTest>
#include <memory>

#include "DBGridNew.h"
#include "Databaze.h"
#include "Pomocnik.h"
#include "SearchPanel.h"

struct SeznamClenu {
    Pomocnik::PracovniSlozka slozka;
    db::Connection spojeni;
    std::unique_ptr<db::Query> dotaz;
    std::unique_ptr<QWidget> okno;
    TSearchPanel* panel = nullptr;
    TDBGridNew* grid = nullptr;

    explicit SeznamClenu(bool sPanelem = true) {
        QFile(QStringLiteral("seznam.db")).open(QIODevice::WriteOnly);
        spojeni.open(QStringLiteral("seznam.db"), db::Connection::Rezim::Vyhradni);
        spojeni.execute(
            QStringLiteral("create table clen (id integer primary key, prijmeni varchar(40), "
                           "jmeno varchar(30), dat_nar datetime, castka real, mesto varchar(40), "
                           "aktivita integer)"));
        const char* radky[] = {
            "1, 'Novák', 'Jan', '1980-03-05', 100.5, 'Lhota', 100",
            "2, 'Svoboda', 'Petr', '1975-01-01', 0, 'Brod', 100",
            "3, 'dvořák', 'Eva', '1990-12-24 10:30:00', 250, 'Ves', 100",
            "4, 'NOVÁKOVÁ', 'Jana', '1985-06-15', 12.25, 'Lhota', 900",
            "5, 'Adam', 'Karel', '1970-07-07', 3, 'Novosedly', 100",
            "6, 'Beneš', 'Jan', null, null, 'Lhota', 100",
        };
        for (const char* r : radky)
            spojeni.execute(
                QStringLiteral("insert into clen values (%1)").arg(QString::fromUtf8(r)));
        dotaz = std::make_unique<db::Query>(&spojeni);
        dotaz->setSql(QStringLiteral("select * from clen"));
        dotaz->open();

        okno = std::make_unique<QWidget>();
        okno->resize(600, 300);
        auto* rozlozeni = new QVBoxLayout(okno.get());
        QWidget* rodic = okno.get();
        if (sPanelem) {
            panel = new TSearchPanel(okno.get());
            rozlozeni->addWidget(panel);
            rodic = panel;
        }
        grid = new TDBGridNew(rodic);
        if (!sPanelem) rozlozeni->addWidget(grid);
        grid->setDataSet(dotaz.get());
        grid->setSloupce({{QStringLiteral("prijmeni"), QStringLiteral("Příjmení"), 120},
                          {QStringLiteral("jmeno"), QStringLiteral("Jméno"), 90},
                          {QStringLiteral("dat_nar"), QStringLiteral("Datum narození"), 140},
                          {QStringLiteral("castka"), QStringLiteral("Částka"), 80}});
        grid->setKlicoveAtributyDeleneStrednikem(QStringLiteral("id"));
        okno->show();
        okno->activateWindow();
        QVERIFY(QTest::qWaitForWindowExposed(okno.get()));
    }

    QHeaderView* titulky() const { return grid->horizontalHeader(); }

    // The middle of a column's title, in the title row's viewport.
    QPoint stredTitulku(int sloupec) const {
        return QPoint(
            titulky()->sectionViewportPosition(sloupec) + titulky()->sectionSize(sloupec) / 2,
            titulky()->height() / 2);
    }

    void klikniNaTitulek(int sloupec, Qt::KeyboardModifiers klavesy = {}) {
        QTest::mouseClick(titulky()->viewport(), Qt::LeftButton, klavesy, stredTitulku(sloupec));
    }

    // The values of one field down the visible rows, joined by ",".
    QString sloupec(const QString& pole) const {
        QStringList h;
        const int i = dotaz->fieldIndex(pole);
        for (int r = 0; r < dotaz->recordCount(); ++r) h << dotaz->text(r, i);
        return h.join(QLatin1Char(','));
    }

    QString aktualniId() const { return dotaz->fieldByName(QStringLiteral("id")).asString(); }
};
