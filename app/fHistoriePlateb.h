// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "Databaze.h"

class QPushButton;
class TDBGridNew;
class TSearchPanel;

// All stored payment headers, newest first. From here the user opens the items of a payment or
// shows its transfer data again in the payment form. Nothing here changes stored data.
class THistoriePlateb : public QDialog {
    Q_OBJECT
public:
    explicit THistoriePlateb(QWidget* owner);

    db::Query ADOQueryHist;
    // Reads the member of a payment for the payment form.
    db::Query ADOQuery1;
    TSearchPanel* SearchPanel1;
    TDBGridNew* DBGrid1;
    QPushButton* Detail;
    QPushButton* EFormular;
    QPushButton* Konec;

public slots:
    // Reads the history on the window's first activation only.
    void FormActivate();
    void DetailClick();
    void EFormularClick();
    void KonecClick();
    void DBGrid1DblClick();
    // Enter released in the grid opens the items.
    void DBGrid1KeyUp(int key);

protected:
    bool event(QEvent* e) override;

private:
    void FormCreate();
    bool maRadek() const;

    bool m_prvniAktivace = false;
};
