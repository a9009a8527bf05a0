// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "Databaze.h"

class QPushButton;
class TDBGridNew;
class TSearchPanel;
class THistoriePlateb;

// Settings shared by the grids of the payment history and of the payment items: read-only
// rows that stay marked without the focus, sorting by title clicks, a search box that appears
// when the user types, and the marked row kept across sorting and reloading.
void NastavGridPlateb(TSearchPanel* panel, TDBGridNew* grid, const QString& klic);

// The items of one payment of the history, each with the name of its payment type.
class TPolozkyPlateb : public QDialog {
    Q_OBJECT
public:
    explicit TPolozkyPlateb(THistoriePlateb* owner);

    db::Query ADOQuery1;
    TSearchPanel* SearchPanel1;
    TDBGridNew* DBGrid1;
    QPushButton* Konec;

public slots:
    // Reads the items of the payment marked in the history.
    void FormShow();
    void KonecClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    THistoriePlateb* m_historie;
};
