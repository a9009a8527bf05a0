// SPDX-License-Identifier: GPL-3.0-or-later
#include "fNovaPlatba.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "Formaty.h"
#include "Platba.h"
#include "Relace.h"
#include "Rozmery.h"
#include "SqlHodnoty.h"
#include "StringGridNew.h"
#include "fCisBrigrad.h"
#include "fCisClenstvi.h"
#include "fCisPovolenek.h"
#include "fFormularPlateb.h"

namespace {
// A read-only box as wide as the layout draws it for the font in use. A text too long for it
// shows from its start (setting a text puts the cursor at its end, which would scroll the start
// out of sight) and whole in the box's tooltip.
QLineEdit* jenProCteni(const QString& jmeno, QWidget* rodic, int sirka = -1) {
    auto* e = new QLineEdit(rodic);
    e->setObjectName(jmeno);
    e->setReadOnly(true);
    // The user changes nothing here: Tab passes over it; a click still reaches it, to select
    // and copy its text.
    e->setFocusPolicy(Qt::ClickFocus);
    if (sirka > 0) e->setMinimumWidth(Rozmery::sirka(sirka, e->font()));
    QObject::connect(e, &QLineEdit::textChanged, e, [e](const QString& text) {
        e->setCursorPosition(0);
        e->setToolTip(text);
    });
    return e;
}

}  // namespace

TNovaPlatba::TNovaPlatba(QWidget* owner, Relace& relace)
    : QDialog(owner), m_relace(relace), ADOQuery1(&relace.spojeni) {
    setObjectName(QStringLiteral("NovaPlatba"));
    setWindowTitle(QStringLiteral("Nová platba"));

    LabelRokEvidence = TucnyPopisek(QString(), this);
    LabelRokEvidence->setObjectName(QStringLiteral("LabelRokEvidence"));
    LabelRokEvidence->setAlignment(Qt::AlignCenter);
    LabelRokEvidence->setAutoFillBackground(true);
    LabelRokEvidence->setStyleSheet(QStringLiteral("background: #00ff00; padding: 3px;"));

    // The member: evidence number, then name and birth date.
    auto* uzivatel = new QWidget(this);
    uzivatel->setObjectName(QStringLiteral("PanelUzivatel"));
    uzivatel->setStyleSheet(QStringLiteral("#PanelUzivatel { background: rgb(209,209,209); }"));
    uzivatel->setAttribute(Qt::WA_StyledBackground);
    auto* uziv = new QGridLayout(uzivatel);
    ecislo = new QComboBox(uzivatel);
    ecislo->setObjectName(QStringLiteral("ecislo"));
    ecislo->setEditable(false);
    ecislo->setMinimumWidth(Rozmery::sirka(120, ecislo->font()));
    jmeno = jenProCteni(QStringLiteral("jmeno"), uzivatel, 120);
    prijmeni = jenProCteni(QStringLiteral("prijmeni"), uzivatel, 120);
    dat_nar = jenProCteni(QStringLiteral("dat_nar"), uzivatel, 100);
    const struct {
        QString popis;
        QWidget* pole;
    } polozkyUzivatele[] = {{QStringLiteral("&Uživatel"), ecislo},
                            {QStringLiteral("Jméno"), jmeno},
                            {QStringLiteral("Příjmení"), prijmeni},
                            {QStringLiteral("Datum narození "), dat_nar}};
    int sloupec = 0;
    for (const auto& p : polozkyUzivatele) {
        auto* l = new QLabel(p.popis, uzivatel);
        l->setBuddy(p.pole);
        uziv->addWidget(l, 0, sloupec);
        uziv->addWidget(p.pole, 1, sloupec++);
    }
    connect(ecislo, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &TNovaPlatba::ecisloChange);

    // The item slots.
    Platby = new QGroupBox(QStringLiteral("Platby"), this);
    Platby->setObjectName(QStringLiteral("Platby"));
    // The rows lie in a plain widget inside the group: screen readers take the title of a
    // group box as the label of every field placed directly in it ("Platby" for each box).
    auto* radkyPlateb = new QWidget(Platby);
    auto* obalPlateb = new QVBoxLayout(Platby);
    obalPlateb->setContentsMargins(0, 0, 0, 0);
    obalPlateb->addWidget(radkyPlateb);
    auto* mrizka = new QGridLayout(radkyPlateb);
    mrizka->addWidget(TucnyPopisek(QStringLiteral("Název"), Platby), 0, 1);
    mrizka->addWidget(TucnyPopisek(QStringLiteral("Typ povolenky"), Platby), 0, 2);
    mrizka->addWidget(TucnyPopisek(QStringLiteral("Cena"), Platby), 0, 3);
    int radek = 1;
    auto pridejSlot = [&](const QString& popis, const QString& nazev, const QString& cena,
                          const QString& vyber, const QString& zrus, QComboBox* typ,
                          QLineEdit** nazevBox, QLineEdit** cenaBox, QPushButton** vyberTl,
                          QPushButton** zrusTl) {
        auto* l = new QLabel(popis, Platby);
        *nazevBox = jenProCteni(nazev, Platby, 260);
        *cenaBox = jenProCteni(cena, Platby, 70);
        (*cenaBox)->setAlignment(Qt::AlignRight);
        // In a permit row the label names the type box, the row's one field the user sets; a
        // box whose chosen text is its name is otherwise not told apart from the others.
        l->setBuddy(typ ? static_cast<QWidget*>(typ) : *nazevBox);
        // Screen readers announce each box by its row and column, not by the group's title.
        (*nazevBox)->setAccessibleName(popis.trimmed() + QStringLiteral(" – název"));
        (*cenaBox)->setAccessibleName(popis.trimmed() + QStringLiteral(" – cena"));
        if (typ) typ->setAccessibleName(popis.trimmed() + QStringLiteral(" – typ"));
        *vyberTl = new QPushButton(QStringLiteral("..."), Platby);
        (*vyberTl)->setObjectName(vyber);
        (*vyberTl)->setToolTip(QStringLiteral("vybrat platbu z číselníku"));
        (*vyberTl)->setAccessibleName(popis.trimmed() +
                                      QStringLiteral(": vybrat platbu z číselníku"));
        *zrusTl = new QPushButton(QStringLiteral("X"), Platby);
        (*zrusTl)->setObjectName(zrus);
        (*zrusTl)->setToolTip(QStringLiteral("odstranit danou platbu"));
        (*zrusTl)->setAccessibleName(popis.trimmed() + QStringLiteral(": odstranit danou platbu"));
        for (QPushButton* b : {*vyberTl, *zrusTl}) b->setFixedWidth(Rozmery::sirka(28, b->font()));
        mrizka->addWidget(l, radek, 0);
        mrizka->addWidget(*nazevBox, radek, 1);
        if (typ) mrizka->addWidget(typ, radek, 2);
        mrizka->addWidget(*cenaBox, radek, 3);
        mrizka->addWidget(*vyberTl, radek, 4);
        mrizka->addWidget(*zrusTl, radek, 5);
        ++radek;
    };
    auto typovyBox = [this](const QString& jmeno) {
        auto* c = new QComboBox(Platby);
        c->setObjectName(jmeno);
        c->setMinimumWidth(Rozmery::sirka(150, c->font()));
        return c;
    };
    typ1 = typovyBox(QStringLiteral("typ1"));
    typ2 = typovyBox(QStringLiteral("typ2"));
    typ3 = typovyBox(QStringLiteral("typ3"));
    QPushButton *vClen, *zClen, *vBrig, *zBrig, *v1, *z1, *v2, *z2, *v3, *z3;
    pridejSlot(QStringLiteral("Členství "), QStringLiteral("NazevClenstvi"),
               QStringLiteral("CenaClenstvi"), QStringLiteral("VyberClenstvi"),
               QStringLiteral("ZrusClenstvi"), nullptr, &NazevClenstvi, &CenaClenstvi, &vClen,
               &zClen);
    pridejSlot(QStringLiteral("Brigády"), QStringLiteral("NazevBrigad"),
               QStringLiteral("CenaBrigad"), QStringLiteral("VyberBrigadu"),
               QStringLiteral("ZrusBrigadu"), nullptr, &NazevBrigad, &CenaBrigad, &vBrig, &zBrig);
    pridejSlot(QStringLiteral("Povolenka 1"), QStringLiteral("NazevPovolenka1"),
               QStringLiteral("CenaPovolenka1"), QStringLiteral("VyberPovolenku1"),
               QStringLiteral("ZrusPovolenku1"), typ1, &NazevPovolenka1, &CenaPovolenka1, &v1, &z1);
    pridejSlot(QStringLiteral("Povolenka 2"), QStringLiteral("NazevPovolenka2"),
               QStringLiteral("CenaPovolenka2"), QStringLiteral("VyberPovolenku2"),
               QStringLiteral("ZrusPovolenku2"), typ2, &NazevPovolenka2, &CenaPovolenka2, &v2, &z2);
    pridejSlot(QStringLiteral("Povolenka 3"), QStringLiteral("NazevPovolenka3"),
               QStringLiteral("CenaPovolenka3"), QStringLiteral("VyberPovolenku3"),
               QStringLiteral("ZrusPovolenku3"), typ3, &NazevPovolenka3, &CenaPovolenka3, &v3, &z3);
    connect(vClen, &QPushButton::clicked, this, &TNovaPlatba::VyberClenstviClick);
    connect(zClen, &QPushButton::clicked, this, &TNovaPlatba::ZrusClenstviClick);
    connect(vBrig, &QPushButton::clicked, this, &TNovaPlatba::VyberBrigaduClick);
    connect(zBrig, &QPushButton::clicked, this, &TNovaPlatba::ZrusBrigaduClick);
    connect(v1, &QPushButton::clicked, this, [this] { VyberPovolenku(typ1, 1); });
    connect(v2, &QPushButton::clicked, this, [this] { VyberPovolenku(typ2, 2); });
    connect(v3, &QPushButton::clicked, this, [this] { VyberPovolenku(typ3, 3); });
    connect(z1, &QPushButton::clicked, this, [this] { ZrusPovolenkuClick(1); });
    connect(z2, &QPushButton::clicked, this, [this] { ZrusPovolenkuClick(2); });
    connect(z3, &QPushButton::clicked, this, [this] { ZrusPovolenkuClick(3); });

    CenaManipulPopl = new QLineEdit(radkyPlateb);
    CenaManipulPopl->setObjectName(QStringLiteral("CenaManipulPopl"));
    CenaManipulPopl->hide();
    CenaManipulPopl->setAccessibleName(QStringLiteral("Manipulační poplatek – cena"));
    auto* cara = new QFrame(Platby);
    cara->setFrameShape(QFrame::HLine);
    cara->setFrameShadow(QFrame::Sunken);
    mrizka->addWidget(cara, radek++, 0, 1, 6);
    auto* popisCelkem = TucnyPopisek(QStringLiteral("Celkem"), Platby);
    Celkem = jenProCteni(QStringLiteral("Celkem"), Platby, 70);
    Celkem->setAlignment(Qt::AlignRight);
    popisCelkem->setBuddy(Celkem);
    mrizka->addWidget(popisCelkem, radek, 2, Qt::AlignRight);
    mrizka->addWidget(Celkem, radek, 3);

    PanelWarnMaipulPopl = new QFrame(this);
    PanelWarnMaipulPopl->setObjectName(QStringLiteral("PanelWarnMaipulPopl"));
    auto* varovaniVrstva = new QVBoxLayout(PanelWarnMaipulPopl);
    varovaniVrstva->setContentsMargins(0, 0, 0, 0);
    LabelVarovani = TucnyPopisek(QString(), PanelWarnMaipulPopl);
    LabelVarovani->setObjectName(QStringLiteral("LabelVarovani"));
    LabelVarovani->setWordWrap(true);
    LabelVarovani->setStyleSheet(QStringLiteral("background: rgb(255,130,130); padding: 3px;"));
    varovaniVrstva->addWidget(LabelVarovani);

    NavazanePlatby = new TStringGridNew(this);
    NavazanePlatby->setObjectName(QStringLiteral("NavazanePlatby"));
    NavazanePlatby->setColumnCount(5);
    NavazanePlatby->setRowCount(2);
    NavazanePlatby->setFixedRows(1);
    NavazanePlatby->setFixedCols(0);
    NavazanePlatby->setDefaultRowHeight(Rozmery::vyska(17, NavazanePlatby->font()));
    NavazanePlatby->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Nothing is edited in it: Tab leaves it for the next control instead of walking its cells.
    NavazanePlatby->setTabKeyNavigation(false);
    NavazanePlatby->setMinimumHeight(Rozmery::vyska(110, NavazanePlatby->font()));
    auto* popisNavazanych = new QLabel(QStringLiteral("Navázané platby:"), this);
    popisNavazanych->setBuddy(NavazanePlatby);

    Ulozit = new QPushButton(QStringLiteral("Uložit"), this);
    Ulozit->setObjectName(QStringLiteral("Ulozit"));
    Ulozit->setDefault(true);
    Ulozit->setToolTip(
        QStringLiteral("Uloží platbu a zobrazí formulář pro její zadání přes E-bankovnictví"));
    Konec = new QPushButton(QStringLiteral("Konec"), this);
    Konec->setObjectName(QStringLiteral("Konec"));
    connect(Ulozit, &QPushButton::clicked, this, &TNovaPlatba::UlozitClick);
    connect(Konec, &QPushButton::clicked, this, &QDialog::reject);

    auto* levy = new QVBoxLayout();
    levy->addWidget(LabelRokEvidence);
    levy->addWidget(uzivatel);
    levy->addWidget(Platby);
    levy->addWidget(PanelWarnMaipulPopl);
    levy->addWidget(popisNavazanych);
    levy->addWidget(NavazanePlatby, 1);
    auto* pravy = new QVBoxLayout();
    pravy->addWidget(Ulozit);
    pravy->addStretch(1);
    pravy->addWidget(Konec);
    auto* vrstva = new QHBoxLayout(this);
    vrstva->addLayout(levy, 1);
    vrstva->addLayout(pravy);
    vrstva->setSizeConstraint(QLayout::SetFixedSize);

    // Tab follows the rows: the member, then per slot its type, "..." and "X", then the
    // buttons and the linked payments.
    QWidget* poradi[] = {ecislo, vClen, zClen, vBrig,  zBrig, typ1,          v1, z1, typ2, v2, z2,
                         typ3,   v3,    z3,    Ulozit, Konec, NavazanePlatby};
    for (size_t i = 1; i < std::size(poradi); ++i) setTabOrder(poradi[i - 1], poradi[i]);

    FormCreate();
    EnterStiskneTlacitko(this);
}

TNovaPlatba::TSlotPovolenky TNovaPlatba::slotPovolenky(int cislo) {
    switch (cislo) {
        case 2:
            return {NazevPovolenka2,    CenaPovolenka2, typ2,       &IdPovolenky2,
                    &e_indexPovolenky2, &kodOznaceni2,  &kategorie2};
        case 3:
            return {NazevPovolenka3,    CenaPovolenka3, typ3,       &IdPovolenky3,
                    &e_indexPovolenky3, &kodOznaceni3,  &kategorie3};
        default:
            return {NazevPovolenka1,    CenaPovolenka1, typ1,       &IdPovolenky1,
                    &e_indexPovolenky1, &kodOznaceni1,  &kategorie1};
    }
}

void TNovaPlatba::FormCreate() {
    const QString Y = m_relace.rok;
    LabelRokEvidence->setText(QStringLiteral("Aktuální rok evidence = ") + Y);

    m_relace.gosql(
        QStringLiteral("select castka from ManipulacniPopl where rok = ") + Sql::number(Y), 1,
        ADOQuery1, false);
    const bool maPoplatek = ADOQuery1.isOpen() && ADOQuery1.recordCount() > 0;
    CenaManipulPopl->setText(maPoplatek ? ADOQuery1.fieldByName(QStringLiteral("castka")).asString()
                                        : QStringLiteral("0"));
    DopoctiCelkovouCastku();
    LabelVarovani->setText(
        QStringLiteral(
            "Ke každé platbě bude automaticky přičten manipulační poplatek !  (a to ve výši: ") +
        TextCastky(Formaty::naCislo(CenaManipulPopl->text())) + QStringLiteral(" Kč)"));
    LabelVarovani->setVisible(maPoplatek);

    for (QComboBox* typ : {typ1, typ2, typ3}) typ->clear();
    m_relace.gosql(QStringLiteral("select * from C_povolenky_txt order by id_pov"), 1, ADOQuery1,
                   false);
    if (ADOQuery1.isOpen()) {
        for (ADOQuery1.first(); !ADOQuery1.eof(); ADOQuery1.next()) {
            const qint64 idPov = ADOQuery1.fieldByName(QStringLiteral("id_pov")).asInteger();
            if (idPov > 10) continue;
            for (QComboBox* typ : {typ1, typ2, typ3})
                typ->addItem(ADOQuery1.fieldByName(QStringLiteral("nazev")).asString(), idPov);
        }
    }
    for (QComboBox* typ : {typ1, typ2, typ3}) typ->setCurrentIndex(-1);

    NavazanePlatby->setCells(0, 0, QStringLiteral("Název"));
    NavazanePlatby->setCells(1, 0, QStringLiteral("Částka"));
    const int sirky[] = {350, 90, -1, -1, -1};
    for (int i = 0; i < 5; ++i) {
        if (sirky[i] < 0)
            NavazanePlatby->setColumnHidden(i, true);
        else
            NavazanePlatby->setColumnWidth(i, Rozmery::sirka(sirky[i], NavazanePlatby->font()));
    }
}

void TNovaPlatba::ecisloChange() {
    NactiInfoUzivatele();
}

void TNovaPlatba::NactiInfoUzivatele() {
    // The number comes from the list itself, so it is compared exactly: a register kept by an
    // earlier build may hold two live members whose numbers differ only in letter case.
    m_relace.gosql(QStringLiteral("select * from Uzivatele where ecislo = ") +
                       Sql::text(ecislo->currentText()) + QStringLiteral(" and aktivita = 100"),
                   1, ADOQuery1, false);
    // A failed lookup shows no member rather than the one chosen before.
    if (!ADOQuery1.isOpen()) {
        jmeno->clear();
        prijmeni->clear();
        dat_nar->clear();
        return;
    }
    jmeno->setText(ADOQuery1.fieldByName(QStringLiteral("jmeno")).asString());
    prijmeni->setText(ADOQuery1.fieldByName(QStringLiteral("prijmeni")).asString());
    const QDateTime narozen = ADOQuery1.fieldByName(QStringLiteral("dat_nar")).asDateTime();
    dat_nar->setText(narozen.isValid() ? Formaty::datum(narozen.date()) : QString());
}

void TNovaPlatba::pridejNavazanePlatby(const QVector<TNavazanaPlatba>& radky) {
    for (const TNavazanaPlatba& n : radky) {
        int posledni = NavazanePlatby->rowCount() - 1;
        if (!NavazanePlatby->Cells(1, posledni).isEmpty()) {
            NavazanePlatby->setRowCount(posledni + 2);
            ++posledni;
        }
        NavazanePlatby->setCells(0, posledni, n.nazev);
        NavazanePlatby->setCells(1, posledni, n.castka);
        NavazanePlatby->setCells(2, posledni, n.idP);
        NavazanePlatby->setCells(3, posledni, n.idJp);
        NavazanePlatby->setCells(4, posledni, n.typPovolenky);
    }
}

TPlatba TNovaPlatba::Platba() const {
    TPlatba p;
    p.uzivatelVybran = ecislo->currentIndex() >= 0;
    p.idUzivatele = ecislo->currentData().toLongLong();
    p.ecislo = ecislo->currentText();
    p.clenstvi = {
        NazevClenstvi->text(), CenaClenstvi->text(), IdClenstvi, e_indexClenstvi, {}, {}, 0};
    p.brigady = {NazevBrigad->text(), CenaBrigad->text(), IdBrigady, e_indexBrigady, {}, {}, 0};
    for (int i = 1; i <= 3; ++i) {
        const TSlotPovolenky slot = const_cast<TNovaPlatba*>(this)->slotPovolenky(i);
        p.povolenky[i - 1] = {slot.Nazev->text(),
                              slot.Cena->text(),
                              *slot.Id,
                              *slot.e_index,
                              *slot.kodOznaceni,
                              *slot.kategorie,
                              slot.typ->currentData().toLongLong()};
    }
    for (int radek = 1; radek < NavazanePlatby->rowCount(); ++radek)
        p.navazane.append({NavazanePlatby->Cells(0, radek), NavazanePlatby->Cells(1, radek),
                           NavazanePlatby->Cells(2, radek), NavazanePlatby->Cells(3, radek),
                           NavazanePlatby->Cells(4, radek)});
    p.manipulacniPoplatek = CenaManipulPopl->text();
    p.celkem = Celkem->text();
    return p;
}

void TNovaPlatba::OdeberNavazanePlatby(const QString& TypPovolenky) {
    // A row whose cells are all empty stands for no linked payment and matches no key, so the
    // walk ends even for the empty key of a permit type without a price table: deleting the
    // last remaining row only empties it. Table names are compared without regard to letter
    // case, as the lookup of the linked payments compares them.
    auto radekPlatby = [this](int radek) {
        return TNavazanaPlatba{NavazanePlatby->Cells(0, radek), NavazanePlatby->Cells(1, radek),
                               NavazanePlatby->Cells(2, radek), NavazanePlatby->Cells(3, radek),
                               NavazanePlatby->Cells(4, radek)};
    };
    int radek = 1;
    while (radek < NavazanePlatby->rowCount()) {
        if (radekPlatby(radek).patriK(TypPovolenky))
            NavazanePlatby->DeleteRow(radek, 2);
        else
            ++radek;
    }
}

void TNovaPlatba::DopoctiCelkovouCastku() {
    Celkem->setText(Platba().soucet());
}

void TNovaPlatba::VyberClenstviClick() {
    {
        TCisClenstvi vyber(this);
        vyber.exec();
    }
    const QString klic = QString::fromLatin1(kKlicClenstvi);
    OdeberNavazanePlatby(klic);
    if (!CenaClenstvi->text().isEmpty())
        pridejNavazanePlatby(NactiNavazanePlatby(m_relace, IdClenstvi, klic));
    DopoctiCelkovouCastku();
}

void TNovaPlatba::VyberBrigaduClick() {
    {
        TCisBrigrad vyber(this);
        vyber.exec();
    }
    DopoctiCelkovouCastku();
}

QString TNovaPlatba::tabulkaTypu(QComboBox* typ) {
    m_relace.gosql(QStringLiteral("select * from C_povolenky_txt where id_pov = ") +
                       Sql::number(typ->currentData().toLongLong()),
                   1, ADOQuery1, false);
    return ADOQuery1.isOpen() ? ADOQuery1.fieldByName(QStringLiteral("tabulka")).asString()
                              : QString();
}

void TNovaPlatba::VyberPovolenku(QComboBox* typ, int cislo) {
    if (typ->currentIndex() < 0) {
        ZobrazDialog(QStringLiteral("Nejprve musí být vybrán typ povolenky !"));
        return;
    }
    {
        TCisPovolenek vyber(this);
        vyber.id_pov = QString::number(typ->currentData().toLongLong());
        vyber.PovolenkaCislo = cislo;
        vyber.setWindowTitle(vyber.windowTitle() + QStringLiteral(" [") + typ->currentText() +
                             QStringLiteral("]"));
        vyber.exec();
    }
    const QString klic = tabulkaTypu(typ);
    OdeberNavazanePlatby(klic);
    const TSlotPovolenky slot = slotPovolenky(cislo);
    if (!slot.Cena->text().isEmpty())
        pridejNavazanePlatby(NactiNavazanePlatby(m_relace, *slot.Id, klic));
    DopoctiCelkovouCastku();
}

void TNovaPlatba::ZrusClenstviClick() {
    CenaClenstvi->clear();
    NazevClenstvi->clear();
    OdeberNavazanePlatby(QString::fromLatin1(kKlicClenstvi));
    DopoctiCelkovouCastku();
}

void TNovaPlatba::ZrusBrigaduClick() {
    CenaBrigad->clear();
    NazevBrigad->clear();
    DopoctiCelkovouCastku();
}

void TNovaPlatba::ZrusPovolenkuClick(int cislo) {
    const TSlotPovolenky slot = slotPovolenky(cislo);
    slot.Cena->clear();
    slot.Nazev->clear();
    slot.typ->setEnabled(true);
    if (slot.typ->currentIndex() >= 0) {
        OdeberNavazanePlatby(tabulkaTypu(slot.typ));
        DopoctiCelkovouCastku();
    }
}

QString TNovaPlatba::VratSS() {
    return Platba().ss();
}

void TNovaPlatba::UlozitClick() {
    const TPlatba platba = Platba();
    const QString duvod = platba.duvodOdmitnuti();
    if (!duvod.isEmpty()) {
        ZobrazDialog(duvod);
        return;
    }
    if (ZobrazDialog(
            QStringLiteral("Opravdu uložit danou platbu a zobrazit formulář pro elektronické "
                           "bankovnictví ?"),
            1, 1) != 0)
        return;
    const std::optional<TUlozenaPlatba> ulozena = UlozPlatbu(m_relace, platba);
    if (!ulozena) return;  // the composition stays for another try

    TFormularPlateb formular(this);
    formular.CisloUctu->setText(ulozena->ucet);
    formular.VS->setText(platba.ecislo);
    formular.KS->setText(KonstantniSymbol(ulozena->cisloPlatby, m_relace.rok));
    formular.SS->setText(platba.ss());
    formular.Castka->setText(platba.celkem);
    formular.ecislo->setText(platba.ecislo);
    formular.jmeno->setText(jmeno->text());
    formular.prijmeni->setText(prijmeni->text());
    formular.dat_nar->setText(dat_nar->text());
    formular.exec();
    accept();
}
