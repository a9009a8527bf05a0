// SPDX-License-Identifier: GPL-3.0-or-later
#include "fNapoveda.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>
#include <cmath>

#include "uAllYouNeed.h"

bool HledaniZavreno = false;

namespace {
// The help window is a plain widget shown as a window of its own, which screen readers would
// be told is a filler; they are told it is a window, named by its title.
QAccessibleInterface* pristupnostNapovedy(const QString& trida, QObject* objekt) {
    auto* okno = qobject_cast<QWidget*>(objekt);
    if (trida != QLatin1String("TNapoveda") || !okno) return nullptr;
    return new QAccessibleWidget(okno, QAccessible::Window);
}
}  // namespace

// ------------------------------------------------------------------ find dialog

TFindDialog::TFindDialog(QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Najít"));
    setModal(false);

    auto* popis = new QLabel(QStringLiteral("&Najít:"), this);
    FindText = new QLineEdit(this);
    FindText->setObjectName(QStringLiteral("FindText"));
    popis->setBuddy(FindText);
    WholeWord = new QCheckBox(QStringLiteral("&Celá slova"), this);
    WholeWord->setObjectName(QStringLiteral("WholeWord"));
    MatchCase = new QCheckBox(QStringLiteral("&Rozlišovat velikost"), this);
    MatchCase->setObjectName(QStringLiteral("MatchCase"));
    Direction = new QGroupBox(QStringLiteral("Směr"), this);
    Direction->setObjectName(QStringLiteral("Direction"));
    Nahoru = new QRadioButton(QStringLiteral("N&ahoru"), Direction);
    Nahoru->setObjectName(QStringLiteral("Nahoru"));
    Dolu = new QRadioButton(QStringLiteral("&Dolů"), Direction);
    Dolu->setObjectName(QStringLiteral("Dolu"));
    Dolu->setChecked(true);
    auto* smer = new QHBoxLayout(Direction);
    smer->addWidget(Nahoru);
    smer->addWidget(Dolu);

    NajitDalsi = new QPushButton(QStringLiteral("Najít &další"), this);
    NajitDalsi->setObjectName(QStringLiteral("NajitDalsi"));
    NajitDalsi->setDefault(true);
    NajitDalsi->setEnabled(false);
    Zrusit = new QPushButton(QStringLiteral("Zrušit"), this);
    Zrusit->setObjectName(QStringLiteral("Zrusit"));

    auto* radekTextu = new QHBoxLayout;
    radekTextu->addWidget(popis);
    radekTextu->addWidget(FindText, 1);
    auto* volby = new QVBoxLayout;
    volby->addWidget(WholeWord);
    volby->addWidget(MatchCase);
    auto* radekVoleb = new QHBoxLayout;
    radekVoleb->addLayout(volby);
    radekVoleb->addWidget(Direction);
    auto* vlevo = new QVBoxLayout;
    vlevo->addLayout(radekTextu);
    vlevo->addLayout(radekVoleb);
    auto* tlacitka = new QVBoxLayout;
    tlacitka->addWidget(NajitDalsi);
    tlacitka->addWidget(Zrusit);
    tlacitka->addStretch();
    auto* vse = new QHBoxLayout(this);
    vse->addLayout(vlevo, 1);
    vse->addLayout(tlacitka);

    // Nothing to look for, nothing to find: the button waits for a text.
    connect(FindText, &QLineEdit::textChanged, this,
            [this](const QString& t) { NajitDalsi->setEnabled(!t.isEmpty()); });
    connect(NajitDalsi, &QPushButton::clicked, this, &TFindDialog::najit);
    connect(Zrusit, &QPushButton::clicked, this, &QDialog::reject);
}

// ------------------------------------------------------------------ help window

QString TNapoveda::textNapovedy() {
    // One paragraph per topic; the first line of each starts with a tab and the lines break
    // where the guide breaks them (white-space: pre-wrap keeps both and lets a narrow window wrap).
    static const char* const odstavce[] = {
        "Program vyžaduje ke správné funkci internetové připojení pro kontrolu aktuálnosti\n"
        "číselníků i samotné aplikace.",

        "Nejprve je potřeba zadat uživatele - tedy informace o \"své\" osobě (nejdůležitější je\n"
        "správné vyplnění evidenčního čísla dle rybářského lístku). Bez zadání těchto informací "
        "nebude\n"
        "možno sestavit internetovou platbu.",

        "Aplikace umožňuje více uživatelů (např: otec, syn, dcera), při tvorbě platby se vybírá\n"
        "aktuální člen na základě evidenčního čísla.",

        "Po výběru evidenčního čísla a zadání požadovaných položek platby se tlačítkem uložit\n"
        "zadané údaje uloží a zobrazí se formulář s údaji pro realizaci internetové platby "
        "obsahující\n"
        "potřebné údaje, jako je variabilní, konstantní a specifický symbol, částka atd. Tento "
        "formulář je\n"
        "možno později zobrazit i z historie plateb.",

        "Nejlépe je při přepisování údajů do formuláře internetového bankovnictví použít\n"
        "kopírování přes schránku (clipboard, čímže se eliminují případné chyby) - kliknutím myši "
        "do\n"
        "kteréhokoliv políčka formuláře pro přepis plateb se hodnota daného pole automaticky "
        "vloží do\n"
        "schránky, takže následné vložení hodnoty do formuláře banky v internetovém prohlížeči "
        "je\n"
        "možno kliknutím do příslušného pole a stiskem klávesové zkratky Ctrl + V.",
    };
    QString html = QStringLiteral(
        "<html><body style=\"font-family:'Tahoma'; font-size:10pt; white-space:pre-wrap\">"
        "<span style=\"font-weight:bold; text-decoration:underline\">Parmex ROZU:</span>");
    for (const char* odstavec : odstavce)
        html += QStringLiteral("\n\n\t") + QString::fromUtf8(odstavec).toHtmlEscaped();
    html += QStringLiteral("</body></html>");
    return html;
}

TNapoveda::TNapoveda(QWidget* owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("Napoveda"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Nápověda"));
    static const bool pristupnost = (QAccessible::installFactory(pristupnostNapovedy), true);
    Q_UNUSED(pristupnost)
    setMinimumSize(600, 400);

    ActionMainMenuBarHelp = new QMenuBar(this);
    ActionMainMenuBarHelp->setObjectName(QStringLiteral("ActionMainMenuBarHelp"));
    ActionMainMenuBarHelp->setNativeMenuBar(false);
    Hledat = new QAction(QStringLiteral("&Hledat"), this);
    Hledat->setObjectName(QStringLiteral("Hledat"));
    ActionMainMenuBarHelp->addAction(Hledat);

    TextNapovedy = new QTextEdit(this);
    TextNapovedy->setObjectName(QStringLiteral("TextNapovedy"));
    TextNapovedy->setReadOnly(true);
    TextNapovedy->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // The lines break where the guide breaks them: the window opens wide enough for its widest
    // line in the font in use (below). A window narrower than that, on a small screen or made so
    // by the user, wraps the lines rather than hide their ends.
    TextNapovedy->setLineWrapMode(QTextEdit::WidgetWidth);
    TextNapovedy->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    TextNapovedy->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont pismo(QStringLiteral("Tahoma"));
    pismo.setPixelSize(11);
    TextNapovedy->setFont(pismo);
    TextNapovedy->setTabStopDistance(48);  // half an inch, where the guide's indents stop
    // A found text stays marked while the find dialog has the focus.
    QPalette paleta = TextNapovedy->palette();
    for (auto role : {QPalette::Highlight, QPalette::HighlightedText})
        paleta.setColor(QPalette::Inactive, role, paleta.color(QPalette::Active, role));
    TextNapovedy->setPalette(paleta);
    TextNapovedy->installEventFilter(this);

    PanelBottom = new QWidget(this);
    PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
    PanelBottom->setFixedHeight(41);
    PanelBottom->installEventFilter(this);
    OK = new QPushButton(QStringLiteral("OK"), PanelBottom);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setFixedSize(75, 25);
    OK->move(0, 8);

    auto* vrstva = new QVBoxLayout(this);
    vrstva->setContentsMargins(0, 0, 0, 0);
    vrstva->setSpacing(0);
    vrstva->setMenuBar(ActionMainMenuBarHelp);
    vrstva->addWidget(TextNapovedy, 1);
    vrstva->addWidget(PanelBottom);

    FindDialog1 = new TFindDialog(this);

    connect(Hledat, &QAction::triggered, this, &TNapoveda::HledatExecute);
    connect(OK, &QPushButton::clicked, this, &TNapoveda::OKClick);
    connect(FindDialog1, &TFindDialog::najit, this, &TNapoveda::FindDialog1Find);
    connect(FindDialog1, &QDialog::finished, this, &TNapoveda::FindDialog1Close);

    resize(velikostProText());
    if (owner) move(owner->geometry().center() - rect().center());
}

QSize TNapoveda::velikostProText() const {
    // The guide laid out unwrapped, as the view lays it out, gives its widest line.
    QTextDocument d;
    d.setDefaultFont(TextNapovedy->font());
    d.setDocumentMargin(TextNapovedy->document()->documentMargin());
    QTextOption volby = TextNapovedy->document()->defaultTextOption();
    volby.setWrapMode(QTextOption::NoWrap);
    d.setDefaultTextOption(volby);
    d.setHtml(textNapovedy());
    const QSizeF text = d.size();
    const int okraje = 2 * TextNapovedy->frameWidth() + 4;
    const int sirka = int(std::ceil(text.width())) + okraje +
                      TextNapovedy->verticalScrollBar()->sizeHint().width();
    const int vyska = int(std::ceil(text.height())) + okraje +
                      ActionMainMenuBarHelp->sizeHint().height() + PanelBottom->height();
    QSize velikost(std::max(612, sirka), std::max(430, vyska));
    if (const QScreen* obrazovka = screen())
        velikost = velikost.boundedTo(obrazovka->availableGeometry().size() - QSize(40, 80));
    return velikost.expandedTo(minimumSize());
}

void TNapoveda::FormShow() {
    TextNapovedy->setHtml(textNapovedy());
}

void TNapoveda::FormResize() {
    OK->move(PanelBottom->width() / 2 - OK->width() / 2, OK->y());
}

void TNapoveda::OKClick() {
    close();
}

void TNapoveda::HledatExecute() {
    QTextCursor c = TextNapovedy->textCursor();
    c.setPosition(0);
    TextNapovedy->setTextCursor(c);
    // The search always runs forward and ignores letter case.
    FindDialog1->MatchCase->setChecked(false);
    FindDialog1->MatchCase->setEnabled(false);
    FindDialog1->Dolu->setChecked(true);
    FindDialog1->Direction->setEnabled(false);
    FindDialog1->show();
    FindDialog1->raise();
    FindDialog1->activateWindow();
}

void TNapoveda::FindDialog1Find() {
    const QString hledany = FindDialog1->FindText->text();
    if (hledany.isEmpty()) return;
    QTextDocument::FindFlags volby;
    if (FindDialog1->WholeWord->isChecked()) volby |= QTextDocument::FindWholeWords;
    if (FindDialog1->MatchCase->isChecked()) volby |= QTextDocument::FindCaseSensitively;

    // Go on after the occurrence found last.
    QTextCursor kurzor = TextNapovedy->textCursor();
    if (kurzor.hasSelection()) {
        kurzor.setPosition(kurzor.selectionEnd());
        TextNapovedy->setTextCursor(kurzor);
    }
    for (;;) {
        const QTextCursor nalez =
            TextNapovedy->document()->find(hledany, TextNapovedy->textCursor().position(), volby);
        if (!nalez.isNull()) {
            QTextCursor vyber = TextNapovedy->textCursor();
            vyber.setPosition(nalez.selectionStart());
            vyber.setPosition(nalez.selectionStart() + hledany.size(), QTextCursor::KeepAnchor);
            TextNapovedy->setTextCursor(vyber);
            return;
        }
        if (ZobrazDialog(QStringLiteral("Další výskyt textu \"") + hledany +
                             QStringLiteral("\" nebyl nalezen, pokračovat od začátku?"),
                         1, 1) != 0)
            return;
        QTextCursor zacatek = TextNapovedy->textCursor();
        zacatek.setPosition(0);
        TextNapovedy->setTextCursor(zacatek);
    }
}

void TNapoveda::FindDialog1Close() {
    HledaniZavreno = true;
}

void TNapoveda::TextNapovedyKeyUp(int key) {
    if (key != Qt::Key_Escape) return;
    if (HledaniZavreno) {
        HledaniZavreno = false;
        return;
    }
    close();
}

void TNapoveda::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TNapoveda::keyPressEvent(QKeyEvent* e) {
    // OK is the window's default and cancel button.
    switch (e->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            OKClick();
            return;
        default:
            QWidget::keyPressEvent(e);
    }
}

bool TNapoveda::eventFilter(QObject* o, QEvent* e) {
    if (o == PanelBottom && e->type() == QEvent::Resize) {
        FormResize();
    } else if (o == TextNapovedy) {
        if (e->type() == QEvent::KeyPress) {
            // In the text Esc acts when it is released, and Enter belongs to the text.
            const int k = static_cast<QKeyEvent*>(e)->key();
            if (k == Qt::Key_Escape || k == Qt::Key_Return || k == Qt::Key_Enter) return true;
        } else if (e->type() == QEvent::KeyRelease) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (!k->isAutoRepeat()) TextNapovedyKeyUp(k->key());
        }
    }
    return QWidget::eventFilter(o, e);
}
