// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "Databaze.h"

class QPushButton;
class QStatusBar;
class TDBGridNew;
class TSearchPanel;

// The member list: the live members in the sortable grid of a search panel, with "Nový",
// "Detail" and "Odstranit" (which only marks the member as removed) and "Konec".
class TUzivatele : public QDialog {
    Q_OBJECT
public:
    explicit TUzivatele(QWidget* AOwner);

    db::Query ADOQueryUziv;  // the list's rows
    db::Query ADOQuery1;     // the remove statement

    TSearchPanel* SearchPanel1;
    TDBGridNew* DBGrid1;
    QWidget* PanelRight;
    QPushButton* Novy;
    QPushButton* Detail;
    QPushButton* Odstranit;
    QPushButton* Konec;
    QStatusBar* StatusBar1;

public slots:
    // Reads the list on the window's first activation only.
    void FormActivate();
    void NovyClick();
    void DetailClick();
    void OdstranitClick();
    void KonecClick();
    void DBGrid1DblClick();
    void DBGrid1KeyUp(int Key);

protected:
    bool event(QEvent* e) override;

private:
    void FormCreate();
    // The list is open and has a current row to act on.
    bool maRadek() const;

    bool m_nacteno = false;
};

// The member list while it is open from the main window's toolbar.
extern TUzivatele* Uzivatele;
