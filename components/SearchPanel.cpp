// SPDX-License-Identifier: GPL-3.0-or-later
#include "SearchPanel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include "DBGridNew.h"
#include "fObrazky.h"

TSearchPanel::TSearchPanel(QWidget* AOwner)
    : QFrame(AOwner),
      FPanelTop(new QWidget(this)),
      FSearchBox(new QLineEdit(FPanelTop)),
      m_lupa(new QAction(this)),
      m_krizek(new QAction(this)),
      FTimerDelay(new QTimer(this)),
      FSearchBoxImageList(new TImageList(18, 17, this)) {
    setObjectName(QStringLiteral("SearchPanel1"));
    setFrameShape(QFrame::NoFrame);
    resize(300, 50);

    FPanelTop->setObjectName(QStringLiteral("FPanelTop"));
    auto* rozlozeni = new QHBoxLayout(FPanelTop);
    rozlozeni->setContentsMargins(3, 3, 3, 3);
    rozlozeni->addStretch(1);
    rozlozeni->addWidget(FSearchBox);
    FPanelTop->setVisible(false);

    FSearchBox->setObjectName(QStringLiteral("FSearchBox"));
    FSearchBox->setFixedWidth(FSearchBoxWidth);
    FSearchBox->setAccessibleName(QStringLiteral("Hledat v seznamu"));
    FSearchBox->installEventFilter(this);
    m_lupa->setObjectName(QStringLiteral("lupa"));
    m_krizek->setObjectName(QStringLiteral("krizek"));
    m_krizek->setToolTip(QStringLiteral("Zrušit hledání"));
    connect(m_krizek, &QAction::triggered, this, &TSearchPanel::zrusHledani);
    connect(FSearchBox, &QLineEdit::textChanged, this, &TSearchPanel::zmenaTextu);

    FTimerDelay->setSingleShot(true);
    FTimerDelay->setInterval(static_cast<int>(FSearchDelay));
    connect(FTimerDelay, &QTimer::timeout, this, &TSearchPanel::tikCasovace);

    TObrazky obrazky;
    FSearchBoxImageList->AddImages(obrazky.ImageListSearch);
    setSearchBoxImageList(FSearchBoxImageList);
    m_sestaven = true;
}

void TSearchPanel::setSearchDelay(unsigned int ms) {
    FSearchDelay = ms;
    FTimerDelay->setInterval(static_cast<int>(ms));
}

void TSearchPanel::setSearchBoxImageList(TImageList* seznam) {
    if (m_seznam) disconnect(m_seznam, nullptr, this, nullptr);
    FSearchBoxImageList = seznam;
    m_seznam = seznam;
    if (seznam) connect(seznam, &TImageList::zmeneno, this, &TSearchPanel::nastavTlacitka);
    nastavTlacitka();
}

void TSearchPanel::nastavTlacitka() {
    const int pocet = FSearchBoxImageList ? FSearchBoxImageList->Count() : 0;
    FSearchBox->removeAction(m_lupa);
    FSearchBox->removeAction(m_krizek);
    if (pocet >= 1) {
        m_lupa->setIcon(QIcon(FSearchBoxImageList->obrazek(0)));
        FSearchBox->addAction(m_lupa, QLineEdit::LeadingPosition);
    }
    if (pocet >= 2) {
        m_krizek->setIcon(QIcon(FSearchBoxImageList->obrazek(1)));
        FSearchBox->addAction(m_krizek, QLineEdit::TrailingPosition);
    }
}

void TSearchPanel::setSearchBoxWidth(int px) {
    FSearchBoxWidth = px;
    FSearchBox->setFixedWidth(px);
}

QString TSearchPanel::SearchBoxText() const {
    return FSearchBox->text();
}

void TSearchPanel::setSearchBoxText(const QString& text) {
    FSearchBox->setText(text);
}

void TSearchPanel::setSearchPanelVisible(bool viditelny) {
    FSearchPanelVisible = viditelny;
    FPanelTop->setVisible(viditelny);
    rozmisti();
}

TDBGridNew* TSearchPanel::grid() const {
    return findChild<TDBGridNew*>(QString(), Qt::FindDirectChildrenOnly);
}

void TSearchPanel::RunSearch(const QString& str) {
    // The grid raises OnSearch after its search, so a search is announced once.
    if (TDBGridNew* g = grid()) g->RunSearch(str);
}

void TSearchPanel::SearchBoxSetFocus() {
    FSearchBox->setFocus(Qt::OtherFocusReason);
}

void TSearchPanel::vyvolejOnSearch(const QString& strSearch) {
    if (OnSearch) OnSearch(this, strSearch);
}

void TSearchPanel::zmenaTextu() {
    FTimerDelay->stop();
    if (FSearchDelay > 0)
        FTimerDelay->start();
    else
        RunSearch(FSearchBox->text());
}

void TSearchPanel::tikCasovace() {
    FTimerDelay->stop();
    RunSearch(FSearchBox->text());
}

void TSearchPanel::zrusHledani() {
    FTimerDelay->stop();
    RunSearch(QString());
    const bool meloFokus = FSearchBox->hasFocus();
    setSearchPanelVisible(false);
    if (meloFokus)
        if (TDBGridNew* g = grid()) g->setFocus(Qt::OtherFocusReason);
}

bool TSearchPanel::eventFilter(QObject* objekt, QEvent* e) {
    if (objekt != FSearchBox) return QFrame::eventFilter(objekt, e);
    switch (e->type()) {
        case QEvent::KeyPress: {
            FSelStart = FSearchBox->cursorPosition();
            // These keys act on their release; their press must not reach the window (Esc
            // would close a dialog, Enter would press its default button).
            const int klic = static_cast<QKeyEvent*>(e)->key();
            if (klic == Qt::Key_Escape || klic == Qt::Key_Return || klic == Qt::Key_Enter ||
                klic == Qt::Key_Up || klic == Qt::Key_Down)
                return true;
            break;
        }
        case QEvent::KeyRelease: {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->isAutoRepeat()) break;
            TDBGridNew* g = grid();
            db::Query* q = g ? g->dataSet() : nullptr;
            switch (k->key()) {
                case Qt::Key_Escape:
                    zrusHledani();
                    return true;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    if (g) g->vyvolejDblClick();
                    return true;
                case Qt::Key_Down:
                    FSearchBox->setCursorPosition(FSelStart);
                    if (q && q->isOpen()) q->next();
                    return true;
                case Qt::Key_Up:
                    FSearchBox->setCursorPosition(FSelStart);
                    if (q && q->isOpen()) q->prior();
                    return true;
                default:
                    break;
            }
            break;
        }
        case QEvent::FocusOut:
            if (OnSearch) OnSearch(this, FSearchBox->text());
            if (OnExitSearch) OnExitSearch(this);
            break;
        default:
            break;
    }
    return QFrame::eventFilter(objekt, e);
}

bool TSearchPanel::event(QEvent* e) {
    const bool vysledek = QFrame::event(e);
    if (e->type() == QEvent::ChildAdded || e->type() == QEvent::ChildPolished ||
        e->type() == QEvent::ChildRemoved)
        rozmisti();
    return vysledek;
}

void TSearchPanel::resizeEvent(QResizeEvent* e) {
    QFrame::resizeEvent(e);
    rozmisti();
}

void TSearchPanel::rozmisti() {
    if (!m_sestaven) return;  // children announce themselves while the panel is being built
    int y = 0;
    if (FSearchPanelVisible) {
        FPanelTop->setGeometry(0, 0, width(), 27);
        y = 27;
    }
    if (TDBGridNew* g = grid()) g->setGeometry(0, y, width(), std::max(0, height() - y));
}

QSize TSearchPanel::sizeHint() const {
    return QSize(300, 200);
}
