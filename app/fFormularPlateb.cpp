// SPDX-License-Identifier: GPL-3.0-or-later
#include "fFormularPlateb.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

#include "Formaty.h"
#include "Hodiny.h"
#include "Rozmery.h"
#include "Shell.h"
#include "TiskFormulare.h"
#include "fMain.h"
#include "fQrPlatba.h"
#include "uAllYouNeed.h"

TPoleSchranky::TPoleSchranky(const QString& jmeno, bool jenCisloUctu, QWidget* parent)
    : QLineEdit(parent), m_jenCisloUctu(jenCisloUctu) {
    setObjectName(jmeno);
    setReadOnly(true);
}

void TPoleSchranky::zvyrazni() {
    const int lomitko = text().indexOf(QLatin1Char('/'));
    if (m_jenCisloUctu && lomitko >= 0)
        setSelection(0, lomitko);
    else
        selectAll();
}

void TPoleSchranky::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    // Only the user entering the field copies it: a click, Tab or Shift+Tab, an access key.
    // The focus also comes back when the window is activated again (from the bank's page,
    // after a popup); the clipboard then keeps what the user copied meanwhile.
    switch (e->reason()) {
        case Qt::MouseFocusReason:
        case Qt::TabFocusReason:
        case Qt::BacktabFocusReason:
        case Qt::ShortcutFocusReason:
            break;
        default:
            return;
    }
    // The account goes to the clipboard without the bank code. An account without "/" has no
    // bank code to leave out, so the whole text is copied.
    QString hodnota = text();
    const int lomitko = hodnota.indexOf(QLatin1Char('/'));
    if (m_jenCisloUctu && lomitko >= 0) hodnota = hodnota.left(lomitko);
    QClipboard* schranka = QGuiApplication::clipboard();
    schranka->clear();
    schranka->setText(hodnota);
    zvyrazni();
}

void TPoleSchranky::mouseReleaseEvent(QMouseEvent* e) {
    QLineEdit::mouseReleaseEvent(e);
    zvyrazni();
}

TFormularPlateb::TFormularPlateb(QWidget* owner)
    : QDialog(owner), ADOQuery1(&Main->ADOConnection1) {
    setObjectName(QStringLiteral("FormularPlateb"));
    setWindowTitle(QStringLiteral("Formulář platby pro elektronické bankovnictví"));

    auto* skupina = new QGroupBox(QStringLiteral("Data pro vyplnění formuláře:"), this);
    auto* pole = new QVBoxLayout(skupina);
    auto pridej = [&](const QString& jmeno, const QString& popis, bool ucet) {
        auto* l = new QLabel(popis, skupina);
        auto* e = new TPoleSchranky(jmeno, ucet, skupina);
        e->setMinimumWidth(Rozmery::sirka(260, e->font()));
        l->setBuddy(e);
        pole->addWidget(l);
        pole->addWidget(e);
        return e;
    };
    CisloUctu = pridej(QStringLiteral("CisloUctu"), QStringLiteral("Číslo účtu"), true);
    VS = pridej(QStringLiteral("VS"), QStringLiteral("VS (variabilní symbol)"), false);
    KS = pridej(QStringLiteral("KS"), QStringLiteral("KS (konstantní symbol)"), false);
    SS = pridej(QStringLiteral("SS"), QStringLiteral("SS (specifický symbol)"), false);
    Castka = pridej(QStringLiteral("Castka"), QStringLiteral("Částka (Kč)"), false);
    auto* cara = new QFrame(skupina);
    cara->setFrameShape(QFrame::HLine);
    cara->setFrameShadow(QFrame::Sunken);
    pole->addWidget(cara);
    auto* poznamka = new QLabel(
        QStringLiteral(
            "Kliknutím do kteréhokoliv pole se jeho hodnota vloží do schránky \"clipboard\""),
        skupina);
    poznamka->setWordWrap(true);
    pole->addWidget(poznamka);

    auto skryte = [this](const QString& jmeno) {
        auto* e = new QLineEdit(this);
        e->setObjectName(jmeno);
        e->hide();
        return e;
    };
    ecislo = skryte(QStringLiteral("ecislo"));
    jmeno = skryte(QStringLiteral("jmeno"));
    prijmeni = skryte(QStringLiteral("prijmeni"));
    dat_nar = skryte(QStringLiteral("dat_nar"));

    Tisk = new QPushButton(QStringLiteral("Tisk"), this);
    Tisk->setObjectName(QStringLiteral("Tisk"));
    Tisk->setAutoDefault(false);
    Konec = new QPushButton(QStringLiteral("Konec"), this);
    Konec->setObjectName(QStringLiteral("Konec"));
    Konec->setAutoDefault(false);
    connect(Tisk, &QPushButton::clicked, this, &TFormularPlateb::TiskClick);
    connect(Konec, &QPushButton::clicked, this, &QDialog::reject);
    auto* tlacitka = new QVBoxLayout();
    tlacitka->addWidget(Tisk);
    tlacitka->addStretch(1);
    tlacitka->addWidget(Konec);

    QrPlatba = new TQrPlatba(this);
    QrPlatba->setObjectName(QStringLiteral("QrPlatba"));
    auto* obsah = new QHBoxLayout();
    obsah->addWidget(skupina, 1);
    obsah->addWidget(QrPlatba, 0, Qt::AlignTop);
    obsah->addLayout(tlacitka);
    auto* stav = new QStatusBar(this);
    stav->setObjectName(QStringLiteral("StatusBar1"));
    stav->setSizeGripEnabled(false);
    auto* vrstva = new QVBoxLayout(this);
    vrstva->addLayout(obsah);
    vrstva->addWidget(stav);
    vrstva->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(Konec, Tisk);
    setTabOrder(Tisk, Castka);
    setTabOrder(Castka, CisloUctu);
    setTabOrder(CisloUctu, KS);
    setTabOrder(KS, SS);
    setTabOrder(SS, VS);
    EnterStiskneTlacitko(this);
}

TQrUdaje TFormularPlateb::udajeQr() const {
    return TQrUdaje{CisloUctu->text(), Castka->text(), VS->text(),       KS->text(),
                    SS->text(),        jmeno->text(),  prijmeni->text(), ecislo->text()};
}

void TFormularPlateb::showEvent(QShowEvent* e) {
    // The callers fill the fields before showing the form.
    QrPlatba->nastav(udajeQr());
    QDialog::showEvent(e);
    // Nothing is copied before the user enters a field.
    Konec->setFocus(Qt::OtherFocusReason);
}

void TFormularPlateb::TiskClick() {
    QFile soubor(QStringLiteral("form.html"));
    if (!soubor.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        ZobrazDialog(QStringLiteral(
                         "Soubor \"form\" nebylo možno vytvořit/přepsat, pravděpodobně je otevřen "
                         "jiným programem nebo je problém s oprávněním ve složce programu!"),
                     0, 0);
        return;
    }
    Main->Gosql(QStringLiteral("select * from Nastaveni"), 1, ADOQuery1, false);
    const QString mesto =
        ADOQuery1.isOpen() ? ADOQuery1.fieldByName(QStringLiteral("mesto")).asString() : QString();
    const QDateTime ted = Hodiny::ted();
    const TUdajePlatby platba{CisloUctu->text(), VS->text(),       KS->text(),
                              SS->text(),        Castka->text(),   ecislo->text(),
                              jmeno->text(),     prijmeni->text(), dat_nar->text()};
    const QByteArray obsah = DokumentFormulare(RadkyFormulare(
        platba, mesto, Formaty::datum(ted.date()) + QLatin1Char(' ') + Formaty::cas(ted.time()),
        QrHtmlBlok(udajeQr())));
    if (soubor.write(obsah) != obsah.size() || !soubor.flush()) {
        const QString chyba = soubor.errorString();
        soubor.close();
        throw Chyba(chyba);
    }
    soubor.close();
    // Without a program for the sheet the user still gets it: the message says where it lies.
    const QString cesta = QDir::toNativeSeparators(QFileInfo(soubor).absoluteFilePath());
    Shell::otevri(QStringLiteral("form.html"), [cesta] {
        ZobrazDialog(QStringLiteral("Formulář platby se nepodařilo otevřít, v systému není "
                                    "program, který by jej zobrazil.\rSoubor \"") +
                         cesta +
                         QStringLiteral("\" otevřete prosím v internetovém prohlížeči a "
                                        "vytiskněte z něj."),
                     2, 0);
    });
}
