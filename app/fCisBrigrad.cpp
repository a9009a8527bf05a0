// SPDX-License-Identifier: GPL-3.0-or-later
#include "fCisBrigrad.h"

#include <QLineEdit>

#include "SqlHodnoty.h"
#include "fMain.h"
#include "fNovaPlatba.h"

TCisBrigrad::TCisBrigrad(TNovaPlatba* platba)
    : TVyberZCiselniku(platba, QStringLiteral("CisBrigrad"), QStringLiteral("Číselník brigád"),
                       {{QStringLiteral("rok"), QStringLiteral("Rok"), 50},
                        {QStringLiteral("nazev"), QStringLiteral("Název")},
                        {QStringLiteral("castka"), QStringLiteral("Částka")}}) {
    Main->Gosql(QStringLiteral("select * from Brigady where rok = ") + Sql::number(Main->rok) +
                    QStringLiteral(" and aktivita = 100"),
                1, ADOQuery1, false);
}

void TCisBrigrad::prevezmiRadek() {
    m_platba->NazevBrigad->setText(pole(QStringLiteral("nazev")));
    m_platba->CenaBrigad->setText(pole(QStringLiteral("castka")));
    m_platba->IdBrigady = pole(QStringLiteral("id"));
    m_platba->e_indexBrigady = pole(QStringLiteral("e_index"));
}
