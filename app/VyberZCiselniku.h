// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QVector>

#include "DBGridNew.h"
#include "Databaze.h"

class QTableView;
class TNovaPlatba;

// The common window of the code-list pickers: a read-only list of the evidence year's rows,
// "Vložit" takes the current row into the open new-payment dialog, "Konec" closes without
// taking anything.
class TVyberZCiselniku : public QDialog {
    Q_OBJECT
public:
    db::Query ADOQuery1;
    QTableView* DBGrid1;

public slots:
    void VlozitClick();

protected:
    TVyberZCiselniku(TNovaPlatba* platba, const QString& jmeno, const QString& titulek,
                     const QVector<TQueryModel::Sloupec>& sloupce);
    // Writes the current row into the payment dialog.
    virtual void prevezmiRadek() = 0;
    QString pole(const QString& nazev) const;

    TNovaPlatba* m_platba;
    TQueryModel* m_model;
};
