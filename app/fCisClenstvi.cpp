// SPDX-License-Identifier: GPL-3.0-or-later
#include "fCisClenstvi.h"

#include <QLineEdit>

#include "SqlHodnoty.h"
#include "fMain.h"
#include "fNovaPlatba.h"

TCisClenstvi::TCisClenstvi(TNovaPlatba* platba)
    : TVyberZCiselniku(platba, QStringLiteral("CisClenstvi"), QStringLiteral("Číselník členství "),
                       {{QStringLiteral("rok"), QStringLiteral("Rok")},
                        {QStringLiteral("nazev"), QStringLiteral("Název"), 120},
                        {QStringLiteral("castka"), QStringLiteral("Částka")}}) {
    Main->Gosql(
        QStringLiteral("select * from ClenskePrispevky where rok = ") + Sql::number(Main->rok), 1,
        ADOQuery1, false);
}

void TCisClenstvi::prevezmiRadek() {
    m_platba->NazevClenstvi->setText(pole(QStringLiteral("nazev")));
    m_platba->CenaClenstvi->setText(pole(QStringLiteral("castka")));
    m_platba->IdClenstvi = pole(QStringLiteral("id"));
    m_platba->e_indexClenstvi = pole(QStringLiteral("e_index"));
}
