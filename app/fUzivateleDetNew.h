// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDate>
#include <QDialog>
#include <QLineEdit>

#include "Databaze.h"
#include "DatumEdit.h"

class QLabel;
class QPushButton;
class QStatusBar;
class TUzivatele;

enum TSpustenJako { sj_novy, sj_detail };

// The day a missing date stands for: the zero of the date scale.
QDate NulaDatumoveStupnice();

// Why the typed birth date cannot be stored (a text that is no date, a day before 1 January 1900
// or after today), or an empty text when it can.
QString ChybaDataNarozeni(const QString& text, const QDate& dnes);

// An edit with its caption above it; the caption is the edit's buddy, so its access key and
// assistive technology reach the edit.
class TLabeledEdit : public QLineEdit {
    Q_OBJECT
public:
    TLabeledEdit(const QString& titulek, QWidget* parent);
    QLabel* EditLabel;
};

// The member dialog: a new member (sj_novy) or the names and birth date of an existing one
// (sj_detail). "Uložit" checks, stores and reopens the member list that opened it.
class TUzivateleDetNew : public QDialog {
    Q_OBJECT
public:
    // The owner is the member list; it is reopened after a save.
    explicit TUzivateleDetNew(QWidget* AOwner);

    // Set by the opener before the dialog is shown.
    TSpustenJako SpustenJako = sj_novy;

    TLabeledEdit* ecislo;
    TLabeledEdit* jmeno;
    TLabeledEdit* prijmeni;
    QLabel* LabelDatNar;
    TDatumEdit* dat_nar;
    QLineEdit* id;
    QWidget* PanelRight;
    QPushButton* Ulozit;
    QPushButton* Konec;
    QStatusBar* StatusBar1;
    db::Query ADOQuery1;

    // The evidence number of an existing member is shown but never changed.
    void zamkniEvidencniCislo();

public slots:
    void UlozitClick();
    void KonecClick();

private:
    void FormCreate();
    // The labelled edits are all filled in; otherwise the user is told once.
    bool vsechnoVyplneno();
    bool ulozNoveho();
    bool ulozZmeny();
    // Runs a change; a failure is shown to the user and reported as false.
    bool provedZmenu(const QString& sqltext);
    TUzivatele* seznam() const;
};
