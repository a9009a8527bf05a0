// SPDX-License-Identifier: GPL-3.0-or-later
#include "fUzivateleDetNew.h"

#include <QColor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include "Chyba.h"
#include "Formaty.h"
#include "Hodiny.h"
#include "Platba.h"
#include "SqlHodnoty.h"
#include "fMain.h"
#include "fUzivatele.h"
#include "uAllYouNeed.h"

QDate NulaDatumoveStupnice() {
    return QDate(1899, 12, 30);
}

namespace {
QDate NejstarsiDatumNarozeni() {
    return QDate(1900, 1, 1);
}
}  // namespace

QString ChybaDataNarozeni(const QString& text, const QDate& dnes) {
    if (text.trimmed().isEmpty()) return QStringLiteral("Datum narození musí být vyplněno !");
    const QDate datum = Formaty::naDatum(text);
    if (!datum.isValid())
        return QStringLiteral("Datum narození \"") + text.trimmed() +
               QStringLiteral("\" není platné datum, zadejte ho prosím ve tvaru ") +
               Formaty::datum(QDate(1980, 2, 1)) + QStringLiteral(" !");
    if (datum < NejstarsiDatumNarozeni() || datum > dnes)
        return QStringLiteral("Datum narození musí ležet mezi ") +
               Formaty::datum(NejstarsiDatumNarozeni()) + QStringLiteral(" a ") +
               Formaty::datum(dnes) + QStringLiteral(" !");
    return QString();
}

TLabeledEdit::TLabeledEdit(const QString& titulek, QWidget* parent)
    : QLineEdit(parent), EditLabel(new QLabel(titulek, parent)) {
    EditLabel->setBuddy(this);
}

TUzivateleDetNew::TUzivateleDetNew(QWidget* AOwner)
    : QDialog(AOwner), ADOQuery1(&Main->ADOConnection1) {
    setObjectName(QStringLiteral("UzivateleDetNew"));
    setWindowTitle(QStringLiteral("Uživatel"));

    auto* mrizka = new QGridLayout();
    // The labelled edits are direct children of the dialog, in their tab order: the completeness
    // check walks them in that order.
    auto edit = [this, mrizka](const QString& jmeno, const QString& titulek, int limit, int radek) {
        auto* e = new TLabeledEdit(titulek, this);
        e->setObjectName(jmeno);
        e->setMaxLength(limit);
        mrizka->addWidget(e->EditLabel, radek, 0);
        mrizka->addWidget(e, radek + 1, 0);
        return e;
    };
    ecislo = edit(QStringLiteral("ecislo"),
                  QStringLiteral("Evidenční číslo (viz. povolenka: \"Č. leg.\")"), 10, 0);
    jmeno = edit(QStringLiteral("jmeno"), QStringLiteral("Jméno"), 35, 2);
    prijmeni = edit(QStringLiteral("prijmeni"), QStringLiteral("Příjmení "), 35, 4);
    LabelDatNar = new QLabel(QStringLiteral("Datum narození "), this);
    LabelDatNar->setObjectName(QStringLiteral("LabelDatNar"));
    dat_nar = new TDatumEdit(this);
    dat_nar->setObjectName(QStringLiteral("dat_nar"));
    dat_nar->setRozsahKalendare(NejstarsiDatumNarozeni(), Hodiny::dnes());
    LabelDatNar->setBuddy(dat_nar);
    mrizka->addWidget(LabelDatNar, 6, 0);
    mrizka->addWidget(dat_nar, 7, 0);
    mrizka->setRowStretch(8, 1);
    id = new QLineEdit(this);
    id->setObjectName(QStringLiteral("id"));
    id->setVisible(false);
    setTabOrder(ecislo, jmeno);
    setTabOrder(jmeno, prijmeni);
    setTabOrder(prijmeni, dat_nar);

    PanelRight = new QWidget(this);
    PanelRight->setObjectName(QStringLiteral("PanelRight"));
    Ulozit = new QPushButton(QStringLiteral("Uložit"), PanelRight);
    Ulozit->setObjectName(QStringLiteral("Ulozit"));
    Ulozit->setDefault(true);
    Konec = new QPushButton(QStringLiteral("Konec"), PanelRight);
    Konec->setObjectName(QStringLiteral("Konec"));
    connect(Ulozit, &QPushButton::clicked, this, &TUzivateleDetNew::UlozitClick);
    connect(Konec, &QPushButton::clicked, this, &TUzivateleDetNew::KonecClick);
    auto* tlacitka = new QVBoxLayout(PanelRight);
    tlacitka->setContentsMargins(8, 0, 0, 0);
    tlacitka->addWidget(Ulozit);
    tlacitka->addStretch(1);
    tlacitka->addWidget(Konec);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(false);

    auto* obsah = new QHBoxLayout();
    obsah->addLayout(mrizka, 1);
    obsah->addWidget(PanelRight);
    auto* vrstva = new QVBoxLayout(this);
    vrstva->addLayout(obsah, 1);
    vrstva->addWidget(StatusBar1);
    vrstva->setSizeConstraint(QLayout::SetFixedSize);
    ecislo->setMinimumWidth(260);
    EnterStiskneTlacitko(this);

    FormCreate();
}

void TUzivateleDetNew::FormCreate() {
    dat_nar->setDate(Hodiny::dnes());
}

void TUzivateleDetNew::zamkniEvidencniCislo() {
    ecislo->setReadOnly(true);
    // A box the user cannot change is no tab stop: the dialog opens on the name, the first box
    // he can change. A click still reaches it, to select and copy the number.
    ecislo->setFocusPolicy(Qt::ClickFocus);
    QPalette paleta = ecislo->palette();
    paleta.setColor(QPalette::Base, QColor(192, 192, 192));
    ecislo->setPalette(paleta);
}

TUzivatele* TUzivateleDetNew::seznam() const {
    if (auto* vlastnik = qobject_cast<TUzivatele*>(parentWidget())) return vlastnik;
    return Uzivatele;
}

bool TUzivateleDetNew::vsechnoVyplneno() {
    const auto edity = findChildren<TLabeledEdit*>(QString(), Qt::FindDirectChildrenOnly);
    for (TLabeledEdit* e : edity) {
        // Only an empty text fails: blanks are content.
        if (e->text().isEmpty()) {
            ZobrazDialog(QStringLiteral("Všechny položky musí být vyplněny !"), 0, 0);
            return false;
        }
    }
    return true;
}

bool TUzivateleDetNew::provedZmenu(const QString& sqltext) {
    // The error comes back here so that a member who was not stored never looks stored: the
    // user sees the helper's message and keeps everything he typed.
    try {
        Main->Gosqlexec(sqltext, ADOQuery1, true);
    } catch (const Chyba& e) {
        ZobrazDialog(QStringLiteral("Došlo k chybě! (kontaktuje prosím správce)\r{") + e.zprava() +
                         QStringLiteral("}"),
                     0, 0);
        return false;
    }
    return true;
}

bool TUzivateleDetNew::ulozNoveho() {
    // "a12" and "A12" are one evidence number: letter case does not tell members apart.
    Main->Gosql(QStringLiteral("select ecislo from Uzivatele where ecislo = ") +
                    Sql::text(ecislo->text()) +
                    QStringLiteral(" collate nocase and aktivita = 100"),
                1, ADOQuery1, false);
    // A failed check has been reported by the helper; storing without it could give two live
    // members one evidence number.
    if (!ADOQuery1.isOpen()) return false;
    if (ADOQuery1.recordCount() > 0) {
        ZobrazDialog(QStringLiteral("Evidenční číslo \"") + ecislo->text() +
                         QStringLiteral("\" již existuje!"),
                     0, 0);
        return false;
    }

    // Removed members keep their rows, so their numbers are never given again.
    Main->Gosql(QStringLiteral("select max(id) as id from Uzivatele"), 1, ADOQuery1, false);
    if (!ADOQuery1.isOpen()) return false;
    id->setText(QString::number(ADOQuery1.fieldByName(QStringLiteral("id")).asInteger() + 1));

    return provedZmenu(
        QStringLiteral("insert into Uzivatele (id, jmeno, prijmeni, ecislo, aktivita, dat_nar, "
                       "dat_zmen) values (") +
        Sql::number(id->text()) + QStringLiteral(", ") + Sql::text(jmeno->text()) +
        QStringLiteral(", ") + Sql::text(prijmeni->text()) + QStringLiteral(", ") +
        Sql::text(ecislo->text()) + QStringLiteral(", 100, ") + Sql::date(dat_nar->date()) +
        QStringLiteral(", now())"));
}

bool TUzivateleDetNew::ulozZmeny() {
    return provedZmenu(QStringLiteral("update Uzivatele set jmeno = ") + Sql::text(jmeno->text()) +
                       QStringLiteral(", prijmeni = ") + Sql::text(prijmeni->text()) +
                       QStringLiteral(", dat_nar = ") + Sql::date(dat_nar->date()) +
                       QStringLiteral(" where id = ") + Sql::number(id->text()));
}

void TUzivateleDetNew::UlozitClick() {
    if (!vsechnoVyplneno()) return;
    // The evidence number is the variable symbol of the member's payments: blanks around it
    // are dropped, anything but 1 to 10 digits is refused with the typed text kept. A number
    // stored before this rule stays locked and is not checked here.
    if (!ecislo->isReadOnly()) {
        const QString cislo = ecislo->text().trimmed();
        const QString chybaCisla = ChybaEvidencnihoCisla(cislo);
        if (!chybaCisla.isEmpty()) {
            ZobrazDialog(chybaCisla, 0, 0);
            ecislo->setFocus(Qt::OtherFocusReason);
            return;
        }
        ecislo->setText(cislo);
    }
    // A birth date that is no date or cannot be one is never stored: the user is told and
    // keeps everything he typed.
    const QString chybaData = ChybaDataNarozeni(dat_nar->text(), Hodiny::dnes());
    if (!chybaData.isEmpty()) {
        ZobrazDialog(chybaData, 0, 0);
        dat_nar->setFocus(Qt::OtherFocusReason);
        return;
    }
    const bool ulozeno = SpustenJako == sj_novy ? ulozNoveho() : ulozZmeny();
    if (!ulozeno) return;
    if (TUzivatele* s = seznam()) Main->RefreshDBGridu(s->DBGrid1, 0);
    accept();
}

void TUzivateleDetNew::KonecClick() {
    reject();
}
