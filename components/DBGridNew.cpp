// SPDX-License-Identifier: GPL-3.0-or-later
#include "DBGridNew.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QUrl>

#include "KodovaStranka.h"
#include "Rozmery.h"
#include "SearchPanel.h"
#include "Zpravy.h"
#include "fObrazky.h"

// ---------------------------------------------------------------- sort list

void TTrideni::setSloupec(const QString& sloupec) {
    if (sloupec == FSloupec) return;
    FSloupec = sloupec;
    if (m_kolekce) m_kolekce->oznamZmenu();
}

void TTrideni::setSmer(TSmerTrideni smer) {
    if (smer == FSmer) return;
    FSmer = smer;
    if (m_kolekce) m_kolekce->oznamZmenu();
}

void TTrideni::Assign(const TTrideni& jiny) {
    if (&jiny == this) return;
    const bool zmena = FSloupec != jiny.FSloupec || FSmer != jiny.FSmer;
    FSloupec = jiny.FSloupec;
    FSmer = jiny.FSmer;
    if (zmena && m_kolekce) m_kolekce->oznamZmenu();
}

TTrideni* TTrideniArray::Add(const QString& nazevSloupce, TSmerTrideni smerTrideni) {
    auto polozka = std::make_unique<TTrideni>(this);
    TTrideni* p = polozka.get();
    m_polozky.push_back(std::move(polozka));
    // The new item is filled in before anyone hears of it.
    p->FSloupec = nazevSloupce;
    p->FSmer = smerTrideni;
    emit zmeneno();
    return p;
}

TTrideni* TTrideniArray::Add() {
    return Add(QString(), stASC);
}

TTrideni* TTrideniArray::Insert(int Index) {
    Index = std::clamp(Index, 0, Count());
    auto polozka = std::make_unique<TTrideni>(this);
    TTrideni* p = polozka.get();
    m_polozky.insert(m_polozky.begin() + Index, std::move(polozka));
    emit zmeneno();
    return p;
}

void TTrideniArray::Delete(int Index) {
    if (Index < 0 || Index >= Count()) return;
    m_polozky.erase(m_polozky.begin() + Index);
    emit zmeneno();
}

void TTrideniArray::Clear() {
    if (m_polozky.empty()) return;
    m_polozky.clear();
    emit zmeneno();
}

void TTrideniArray::Assign(const TTrideniArray& jiny) {
    if (&jiny == this) return;
    m_polozky.clear();
    for (const auto& p : jiny.m_polozky) {
        auto kopie = std::make_unique<TTrideni>(this);
        kopie->FSloupec = p->FSloupec;
        kopie->FSmer = p->FSmer;
        m_polozky.push_back(std::move(kopie));
    }
    emit zmeneno();
}

int TTrideniArray::najdi(const QString& sloupec) const {
    for (int i = 0; i < Count(); ++i)
        if (m_polozky[i]->Sloupec().compare(sloupec, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

QString TTrideniArray::vyraz() const {
    QString v;
    for (const auto& p : m_polozky) {
        if (!v.isEmpty()) v += QStringLiteral(", ");
        v += p->Sloupec();
        if (p->Smer() == stDESC) v += QStringLiteral(" DESC");
    }
    return v;
}

// ---------------------------------------------------------------- model

TQueryModel::TQueryModel(QObject* parent) : QAbstractTableModel(parent) {}

void TQueryModel::setQuery(db::Query* q) {
    if (m_query) disconnect(m_query, nullptr, this, nullptr);
    m_query = q;
    if (m_query) connect(m_query, &db::Query::resetNastal, this, &TQueryModel::obnov);
    obnov();
}

void TQueryModel::setSloupce(const QVector<Sloupec>& sloupce) {
    beginResetModel();
    m_sloupce = sloupce;
    endResetModel();
}

int TQueryModel::poleSloupce(int sloupec) const {
    if (!m_query || !m_query->isOpen()) return -1;
    if (m_sloupce.isEmpty()) return sloupec < m_query->fieldCount() ? sloupec : -1;
    if (sloupec < 0 || sloupec >= m_sloupce.size()) return -1;
    return m_query->fieldIndex(m_sloupce.at(sloupec).pole);
}

QString TQueryModel::nazevPole(int sloupec) const {
    if (m_sloupce.isEmpty()) return m_query ? m_query->fieldName(sloupec) : QString();
    return m_sloupce.value(sloupec).pole;
}

void TQueryModel::odpojit() {
    m_odpojeno = true;
}

void TQueryModel::pripojit() {
    m_odpojeno = false;
    beginResetModel();
    endResetModel();
    emit znovuPripojeno();
}

void TQueryModel::obnov() {
    if (m_odpojeno) return;
    beginResetModel();
    endResetModel();
}

int TQueryModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || m_odpojeno || !m_query || !m_query->isOpen()) return 0;
    return m_query->recordCount();
}

int TQueryModel::columnCount(const QModelIndex& parent) const {
    if (parent.isValid()) return 0;
    if (!m_sloupce.isEmpty()) return m_sloupce.size();
    return (m_query && m_query->isOpen()) ? m_query->fieldCount() : 0;
}

QVariant TQueryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || m_odpojeno || !m_query) return QVariant();
    const int pole = poleSloupce(index.column());
    if (pole < 0) return QVariant();
    if (role == Qt::DisplayRole) return m_query->text(index.row(), pole);
    if (role == Qt::TextAlignmentRole) {
        const db::TypPole t = m_query->fieldType(pole);
        const bool cislo = t == db::TypPole::Cele || t == db::TypPole::Desetinne;
        return QVariant::fromValue(Qt::AlignVCenter | (cislo ? Qt::AlignRight : Qt::AlignLeft));
    }
    return QVariant();
}

QVariant TQueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return QVariant();
    if (orientation == Qt::Vertical) return QVariant();
    if (!m_sloupce.isEmpty()) return m_sloupce.value(section).titulek;
    return (m_query && m_query->isOpen()) ? m_query->fieldName(section) : QVariant();
}

// ---------------------------------------------------------------- title row

THlavickaGridu::THlavickaGridu(TDBGridNew* grid) : QHeaderView(Qt::Horizontal, grid), m_grid(grid) {
    setSectionsClickable(true);
    setHighlightSections(false);
    // Titles start at the left, so that the sort indicators at the right end never cover them.
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void THlavickaGridu::paintEvent(QPaintEvent* e) {
    m_grid->obnovZtraceneTrideni();
    QHeaderView::paintEvent(e);
}

void THlavickaGridu::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    const TDBGridNew& g = *m_grid;
    if (!g.FAutoImageSort || g.FIconUp.isNull() || g.FIconDown.isNull() || logicalIndex < 0) return;
    const int pocet = g.FTrideni->Count();
    if (pocet == 0) return;
    const int i = g.FTrideni->najdi(g.m_model->nazevPole(logicalIndex));
    if (i < 0) return;
    const TTrideni* polozka = g.FTrideni->Items(i);
    const QPixmap& ikona = polozka->Smer() == stASC ? g.FIconUp : g.FIconDown;
    const int vpravo = rect.left() + rect.width();
    const int dole = rect.top() + rect.height();
    painter->save();
    if (pocet == 1) {
        painter->drawPixmap(vpravo - g.FSortImageRightOffset, dole - g.FSortImageBottomOffset,
                            ikona);
    } else {
        painter->drawPixmap(vpravo - g.FSortImageRightOffset - 7, dole - g.FSortImageBottomOffset,
                            ikona);
        // The position in the list, black with a yellow shadow.
        QFont f = font();
        f.setBold(false);
        f.setPointSize(6);
        painter->setFont(f);
        const int ascent = QFontMetrics(f).ascent();
        const QString cislo = QString::number(i + 1);
        painter->setPen(Qt::yellow);
        painter->drawText(QPoint(vpravo - 7, dole - 12 + ascent), cislo);
        painter->setPen(Qt::black);
        painter->drawText(QPoint(vpravo - 8, dole - 11 + ascent), cislo);
    }
    painter->restore();
}

void THlavickaGridu::mousePressEvent(QMouseEvent* e) {
    m_uzivatelMeni = e->button() == Qt::LeftButton;
    if (!m_grid->mysDolu(e, true, mapTo(m_grid, e->position().toPoint()))) return;
    QHeaderView::mousePressEvent(e);
    if (e->button() == Qt::MiddleButton) m_grid->vyvolejHledani(true);
}

void THlavickaGridu::mouseReleaseEvent(QMouseEvent* e) {
    m_grid->mysNahoru(mapTo(m_grid, e->position().toPoint()));
    QHeaderView::mouseReleaseEvent(e);
    m_uzivatelMeni = false;
}

void THlavickaGridu::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!m_grid->mysDolu(e, true, mapTo(m_grid, e->position().toPoint()))) return;
    // A double click on a column's edge sizes it: the user's width too.
    m_uzivatelMeni = e->button() == Qt::LeftButton;
    QHeaderView::mouseDoubleClickEvent(e);
    m_uzivatelMeni = false;
    if (e->button() == Qt::LeftButton) m_grid->vyvolejDblClick();
}

// ---------------------------------------------------------------- cells

TBunkaGridu::TBunkaGridu(TDBGridNew* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void TBunkaGridu::paint(QPainter* painter, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    const QString text = opt.text;
    opt.text.clear();
    const QWidget* w = opt.widget;
    QStyle* styl = w ? w->style() : nullptr;
    if (styl) styl->drawControl(QStyle::CE_ItemViewItem, &opt, painter, w);

    // The text itself stands 3 pixels from the cell's edges and 2 from its top, so that the
    // painted match lies exactly over its own letters.
    const QRect r = opt.rect;
    const bool vpravo = opt.displayAlignment & Qt::AlignRight;
    const bool vybrany = opt.state & QStyle::State_Selected;
    const QFontMetrics fm(opt.font);
    painter->save();
    painter->setClipRect(r);
    painter->setFont(opt.font);
    painter->setPen(opt.palette.color(vybrany ? QPalette::HighlightedText : QPalette::Text));
    painter->drawText(QRect(r.left() + 3, r.top() + 2, r.width() - 6, r.height() - 2),
                      (vpravo ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop, text);

    const TDBGridNew& g = *m_grid;
    if (!g.FSearchText.isEmpty() && g.FSearchTextHighlight) {
        const TDBGridNew::Shoda s = TDBGridNew::najdiShodu(text, g.FSearchText);
        if (s.pozice >= 0) {
            const int sirkaCelku = fm.horizontalAdvance(text);
            int x;
            if (!vpravo || sirkaCelku >= r.width())
                x = r.left() + g.FSearchTextLeftOffset + 3 +
                    fm.horizontalAdvance(text.left(s.pozice));
            else
                x = r.left() + r.width() - 3 - fm.horizontalAdvance(text.mid(s.pozice));
            const int y = r.top() + g.FSearchTextTopOffset + 2 + fm.ascent();
            painter->setPen(g.FSearchTextColor);
            painter->drawText(QPoint(x, y), s.cast);
        }
    }
    painter->restore();
}

// ---------------------------------------------------------------- grid

TDBGridNew::Shoda TDBGridNew::najdiShodu(const QString& text, const QString& hledany) {
    Shoda s;
    if (hledany.isEmpty()) return s;
    const QLocale locale;
    const int p = locale.toUpper(text).indexOf(locale.toUpper(hledany));
    if (p < 0) return s;
    s.pozice = p;
    s.cast = text.mid(p, hledany.size());
    return s;
}

TDBGridNew::TDBGridNew(QWidget* parent)
    : QTableView(parent),
      m_model(new TQueryModel(this)),
      m_hlavicka(new THlavickaGridu(this)),
      FTrideni(new TTrideniArray(this)),
      FTimer(new QTimer(this)),
      m_hledaneVelke(std::make_shared<QString>()) {
    setObjectName(QStringLiteral("DBGrid1"));
    setHorizontalHeader(m_hlavicka);
    setModel(m_model);
    setItemDelegate(new TBunkaGridu(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setWordWrap(false);
    verticalHeader()->setDefaultSectionSize(Rozmery::vyska(20, font()));
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    QFont f = m_hlavicka->font();
    f.setBold(true);
    m_hlavicka->setFont(f);

    FTimer->setInterval(FProdleva);
    connect(FTimer, &QTimer::timeout, this, &TDBGridNew::tikCasovace);
    connect(FTrideni, &TTrideniArray::zmeneno, m_hlavicka,
            [this] { m_hlavicka->viewport()->update(); });
    // A changed list deserves a new try, also where the one before was rejected.
    connect(FTrideni, &TTrideniArray::zmeneno, this, [this] { m_trideniSelhalo = false; });

    TObrazky obrazky;
    FIconUp = obrazky.ImageListGrid->obrazek(0);
    FIconDown = obrazky.ImageListGrid->obrazek(1);

    connect(m_hlavicka, &QHeaderView::sectionResized, this, [this](int sloupec) {
        if (!m_hlavicka->m_uzivatelMeni || sloupec < 0) return;
        if (m_sirkaOdUzivatele.size() <= sloupec) m_sirkaOdUzivatele.resize(sloupec + 1);
        m_sirkaOdUzivatele[sloupec] = true;
    });
    connect(m_model, &QAbstractItemModel::modelAboutToBeReset, this, &TDBGridNew::ulozSirky);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        obnovSirky();
        zobrazAktualniRadek();
    });
    connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& aktualni) {
                if (m_synchronizace || !dataSet() || !aktualni.isValid()) return;
                m_synchronizace = true;
                dataSet()->setRecNo(aktualni.row() + 1);
                m_synchronizace = false;
            });
    setImmediateScroll(true);
}

TDBGridNew::~TDBGridNew() = default;

void TDBGridNew::setDataSet(db::Query* q) {
    if (dataSet()) disconnect(dataSet(), &db::Query::poziceZmenena, this, nullptr);
    m_model->setQuery(q);
    if (q)
        connect(q, &db::Query::poziceZmenena, this, [this] {
            if (!m_model->jeOdpojeno()) zobrazAktualniRadek();
        });
}

void TDBGridNew::setSloupce(const QVector<TQueryModel::Sloupec>& sloupce) {
    // The widths were drawn for 8-point Tahoma; the font in use gets them in proportion.
    m_sirky.clear();
    for (const TQueryModel::Sloupec& s : sloupce)
        m_sirky << (s.sirka >= 0 ? Rozmery::sirka(s.sirka, font()) : s.sirka);
    m_sirkaOdUzivatele.clear();
    m_skryte.clear();
    for (const TQueryModel::Sloupec& s : sloupce) m_skryte << !s.viditelny;
    m_meniSloupce = true;
    m_model->setSloupce(sloupce);
    m_meniSloupce = false;
}

void TDBGridNew::ulozSirky() {
    // While the columns are being replaced the new columns keep their own widths.
    const int pocet = m_model->columnCount();
    if (m_meniSloupce || pocet == 0 || pocet != m_sirky.size()) return;
    for (int i = 0; i < pocet; ++i) {
        const int sirka = m_hlavicka->sectionSize(i);
        if (sirka > 0) m_sirky[i] = sirka;
    }
}

void TDBGridNew::obnovSirky() {
    const int pocet = m_model->columnCount();
    if (pocet == 0) return;
    if (m_sirky.size() != pocet) {
        m_sirky = QVector<int>(pocet, -1);
        for (int i = 0; i < pocet; ++i) m_sirky[i] = m_hlavicka->sectionSize(i);
    }
    for (int i = 0; i < pocet; ++i)
        if (m_sirky[i] >= 0) setColumnWidth(i, m_sirky[i]);
    for (int i = 0; i < pocet && i < m_skryte.size(); ++i) setColumnHidden(i, m_skryte[i]);
    rozsirSloupce();
}

int TDBGridNew::mistoProIkonu() const {
    if (!FAutoImageSort || FIconUp.isNull() || FIconDown.isNull()) return 0;
    // The indicator of a sort by several columns stands 7 pixels further left (its number
    // takes the place), and 2 pixels keep it off the title.
    return FSortImageRightOffset + 7 + 2;
}

void TDBGridNew::rozsirSloupce() {
    Rozmery::rozsirSloupce(this, mistoProIkonu(), [this](int sloupec) {
        return sloupec < m_sirkaOdUzivatele.size() && m_sirkaOdUzivatele[sloupec];
    });
}

void TDBGridNew::odpojit() {
    m_model->odpojit();
}

void TDBGridNew::pripojit() {
    m_model->pripojit();
}

void TDBGridNew::zobrazAktualniRadek() {
    if (m_synchronizace) return;
    db::Query* q = dataSet();
    if (!q || !q->isOpen() || q->recNo() == 0) return;
    m_synchronizace = true;
    const QModelIndex i = m_model->index(q->recNo() - 1, 0);
    selectionModel()->setCurrentIndex(
        i, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    scrollTo(i);
    m_synchronizace = false;
}

// ---------------------------------------------------------------- properties

void TDBGridNew::setAutoAdoSort(bool hodnota) {
    FAutoAdoSort = hodnota;
    if (hodnota) setAutoImageSort(true);
}

void TDBGridNew::setAutoImageSort(bool hodnota) {
    FAutoImageSort = hodnota;
    if (hodnota) m_hlavicka->setSectionsClickable(true);
    m_hlavicka->viewport()->update();
}

void TDBGridNew::setImmediateScroll(bool hodnota) {
    FImmediateScroll = hodnota;
    verticalScrollBar()->setTracking(hodnota);
    horizontalScrollBar()->setTracking(hodnota);
}

void TDBGridNew::setProdlevaPredClickSort(int ms) {
    FProdleva = ms;
    FTimer->setInterval(ms);
}

void TDBGridNew::setSearchText(const QString& text) {
    FSearchText = text;
    viewport()->update();
}

void TDBGridNew::setSearchTextColor(const QColor& barva) {
    FSearchTextColor = barva;
    viewport()->update();
}

void TDBGridNew::setSearchTextHighlight(bool hodnota) {
    FSearchTextHighlight = hodnota;
    viewport()->update();
}

void TDBGridNew::setTrideniIkony(TImageList* ikony) {
    FTrideniIkony = ikony;
    FIconUp = ikony ? ikony->obrazek(0) : QPixmap();
    FIconDown = ikony ? ikony->obrazek(1) : QPixmap();
    m_hlavicka->viewport()->update();
}

TSearchPanel* TDBGridNew::searchPanel() const {
    return qobject_cast<TSearchPanel*>(parentWidget());
}

bool TDBGridNew::vyvolejDblClick() {
    if (!isSignalConnected(QMetaMethod::fromSignal(&TDBGridNew::DblClick))) return false;
    emit DblClick();
    return true;
}

// ---------------------------------------------------------------- mouse and keys

bool TDBGridNew::mysDolu(QMouseEvent* e, bool vTitulku, const QPoint& bod) {
    const bool dvojklik = e->type() == QEvent::MouseButtonDblClick;
    FSpustitHledani = false;
    FTimer->stop();
    FControlShift = e->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier);
    if (dvojklik && vTitulku && e->button() == Qt::LeftButton) {
        vyvolejHledani(false);
        if (!FEnableTitleDblClick) return false;
    }
    if (!dvojklik && vTitulku && e->button() == Qt::LeftButton) {
        FPoint = bod;
        FSpustitHledani = true;
    }
    FStartPoint = bod;
    return true;
}

void TDBGridNew::mysNahoru(const QPoint& bod) {
    if (bod.x() != FStartPoint.x() || !FSpustitHledani) return;
    // With Ctrl or Shift the user builds a sort of several columns and never means a double
    // click, so the sort follows almost at once.
    FTimer->setInterval(FControlShift ? 50 : FProdleva);
    FTimer->start();
}

void TDBGridNew::tikCasovace() {
    FTimer->stop();
    const int sloupec = m_hlavicka->logicalIndexAt(m_hlavicka->mapFrom(this, FPoint));
    if (sloupec < 0) return;
    try {
        upravTrideni(sloupec);
    } catch (const Chyba& e) {
        Zpravy::zobraz(e.zprava(), 2, 0);
    }
}

void TDBGridNew::mousePressEvent(QMouseEvent* e) {
    mysDolu(e, false, viewport()->mapTo(this, e->position().toPoint()));
    QTableView::mousePressEvent(e);
}

void TDBGridNew::mouseReleaseEvent(QMouseEvent* e) {
    mysNahoru(viewport()->mapTo(this, e->position().toPoint()));
    QTableView::mouseReleaseEvent(e);
}

void TDBGridNew::mouseDoubleClickEvent(QMouseEvent* e) {
    mysDolu(e, false, viewport()->mapTo(this, e->position().toPoint()));
    QTableView::mouseDoubleClickEvent(e);
    if (e->button() == Qt::LeftButton) vyvolejDblClick();
}

void TDBGridNew::keyReleaseEvent(QKeyEvent* e) {
    // A held key repeats as pairs of press and release; only the user's own release counts.
    if (!e->isAutoRepeat()) emit KeyUp(e->key());
    QTableView::keyReleaseEvent(e);
}

void TDBGridNew::vyvolejHledani(bool nejdrivHledat) {
    TSearchPanel* panel = searchPanel();
    if (!panel || !FAutoShowSearchBox) return;
    panel->setSearchPanelVisible(true);
    if (!nejdrivHledat) panel->SearchBoxSetFocus();
    if (!panel->SearchBoxText().isEmpty()) RunSearch(panel->SearchBoxText());
    if (nejdrivHledat) panel->SearchBoxSetFocus();
}

// ---------------------------------------------------------------- sorting

void TDBGridNew::upravTrideni(int sloupec) {
    if (!FAutoAdoSort) return;
    db::Query* q = dataSet();
    if (!q || !q->isOpen()) return;
    const QString pole = m_model->nazevPole(sloupec);
    if (pole.isEmpty()) return;
    if (FControlShift) {
        const int i = FTrideni->najdi(pole);
        if (i >= 0) {
            TTrideni* p = FTrideni->Items(i);
            p->setSmer(p->Smer() == stASC ? stDESC : stASC);
        } else {
            FTrideni->Add(pole, stASC);
        }
    } else if (FTrideni->Count() == 1 && FTrideni->Items(0)->Sloupec() == pole) {
        TTrideni* p = FTrideni->Items(0);
        p->setSmer(p->Smer() == stASC ? stDESC : stASC);
    } else {
        FTrideni->Clear();
        FTrideni->Add(pole, stASC);
    }
    SpustitTrideni(true, FZachovatPoTrideni);
}

QString TDBGridNew::SpustitTrideni(bool ZachovatPoziciPoRefreshi) {
    return SpustitTrideni(FZachovatPoTrideni, ZachovatPoziciPoRefreshi);
}

QString TDBGridNew::SpustitTrideni(bool ZobrazPripadnouChybu, bool ZachovatPoziciPoRefreshi) {
    db::Query* q = dataSet();
    if (!q || !q->isOpen()) return QString();
    const QString vyraz = FTrideni->vyraz();
    try {
        const bool drzetRadek =
            FZachovatPoTrideni && ZachovatPoziciPoRefreshi && !FKlicoveAtributy.isEmpty();
        QVariantList klice;
        if (drzetRadek) klice = zachytKlice();
        if (!vyraz.isEmpty()) q->setSort(vyraz);
        odpojit();
        if (drzetRadek && q->recordCount() > 0) najdiRadek(klice);
        pripojit();
    } catch (const Chyba& e) {
        if (m_model->jeOdpojeno()) pripojit();
        m_trideniSelhalo = true;
        const QString text = QStringLiteral("Došlo k výjimce: ") + e.zprava() +
                             QStringLiteral("\r(příkaz: ") + vyraz + QStringLiteral(")");
        if (ZobrazPripadnouChybu) throw Chyba(text);
        return text;
    }
    return QString();
}

void TDBGridNew::obnovZtraceneTrideni() {
    if (!FAutoImageSort || FIconUp.isNull() || FIconDown.isNull()) return;
    db::Query* q = dataSet();
    if (!q || !q->isOpen() || !q->sort().isEmpty() || FTrideni->Count() == 0) return;
    // A list the data rejected is not tried again at every painting (each try would report
    // the error again) but only once the list has changed.
    if (m_model->jeOdpojeno() || m_trideniSelhalo) return;
    try {
        SpustitTrideni(true);
    } catch (const Chyba& e) {
        // Painting goes on; the report follows once the painting is over.
        QTimer::singleShot(0, this, [text = e.zprava()] { Zpravy::zobraz(text, 2, 0); });
    }
}

QStringList TDBGridNew::klicovaPole() const {
    QString seznam = FKlicoveAtributy;
    if (seznam.isEmpty()) return {};
    if (!seznam.endsWith(QLatin1Char(';'))) seznam += QLatin1Char(';');
    QStringList pole = seznam.split(QLatin1Char(';'));
    pole.removeLast();
    for (QString& p : pole) p = p.trimmed();
    return pole;
}

QVariantList TDBGridNew::zachytKlice() const {
    QVariantList hodnoty;
    db::Query* q = dataSet();
    if (!q || !q->isOpen()) return hodnoty;
    try {
        for (const QString& nazev : klicovaPole()) {
            const db::Field f = q->fieldByName(nazev);
            switch (f.dataType()) {
                case db::TypPole::Cele:
                case db::TypPole::Desetinne:
                    hodnoty << f.asFloat();
                    break;
                default:
                    hodnoty << f.asString();
                    break;
            }
        }
    } catch (const Chyba&) {
        // What was captured so far stands.
    }
    return hodnoty;
}

void TDBGridNew::najdiRadek(const QVariantList& hodnoty) {
    const QStringList pole = klicovaPole();
    if (hodnoty.isEmpty() || hodnoty.size() != pole.size()) return;
    dataSet()->locate(pole, hodnoty, true);
}

// ---------------------------------------------------------------- searching

void TDBGridNew::RunSearch(const QString& strSearch) {
    FSearchText = strSearch;
    RunSearch();
}

void TDBGridNew::RunSearch() {
    db::Query* q = dataSet();
    if (!q) return;
    // Every field of the row counts, shown or not; the texts are the user's (dates and
    // numbers as the grid shows them), compared in upper case by the locale's rules.
    if (!q->hasFilterPredicate()) q->setFilterText(m_hledaneVelke);
    *m_hledaneVelke = QLocale().toUpper(FSearchText);
    FFilteredCount = 0;
    q->setFiltered(false);
    if (!FSearchText.isEmpty()) q->setFiltered(true);
    if (q->filtered() && q->isOpen()) {
        odpojit();
        const int cislo = q->recNo();
        FFilteredCount = q->recordCount();
        pripojit();
        if (cislo > 0) q->setRecNo(cislo);
    }
    viewport()->update();
    if (TSearchPanel* panel = searchPanel()) panel->vyvolejOnSearch(FSearchText);
}

int TDBGridNew::FilteredCount() const {
    db::Query* q = dataSet();
    if (!q || !q->isOpen()) return 0;
    return q->filtered() ? FFilteredCount : q->recordCount();
}

// ---------------------------------------------------------------- reloading

void TDBGridNew::Reload() {
    db::Query* q = dataSet();
    if (!q || !q->isOpen()) return;
    QVariantList klice;
    try {
        klice = zachytKlice();
        q->requery();
        odpojit();
        pripojit();
    } catch (const Chyba&) {
        if (m_model->jeOdpojeno()) pripojit();
    }
    if (FZachovatPoReload && q->isOpen() && q->recordCount() > 0 && !FKlicoveAtributy.isEmpty()) {
        try {
            odpojit();
            najdiRadek(klice);
            pripojit();
        } catch (const Chyba&) {
            if (m_model->jeOdpojeno()) pripojit();
        }
    }
}

void TDBGridNew::Reload(const QString& nazevPole, const QVariant& hodnotaPole) {
    db::Query* q = dataSet();
    if (!q || !q->isOpen()) return;
    try {
        q->requery();
        if (q->recordCount() > 0) q->locate({nazevPole}, {hodnotaPole}, true);
        odpojit();
        pripojit();
    } catch (const Chyba&) {
        if (m_model->jeOdpojeno()) pripojit();
    }
}

// ---------------------------------------------------------------- saving

bool TDBGridNew::UlozDoSouboru(const QString& Soubor, bool SpustitPoUlozeni) {
    return UlozDoSouboru(Soubor, QStringLiteral(";"), SpustitPoUlozeni);
}

bool TDBGridNew::UlozDoSouboru(const QString& Soubor, const QString& DeliciZnak,
                               bool SpustitPoUlozeni) {
    db::Query* q = dataSet();
    if (!q || !q->isOpen()) return false;
    QFile soubor(Soubor);
    if (!soubor.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;

    const int sloupcu = m_model->columnCount();
    QVector<int> pole(sloupcu);
    QString text;
    for (int c = 0; c < sloupcu; ++c) {
        pole[c] = m_model->poleSloupce(c);
        text += m_model->headerData(c, Qt::Horizontal).toString() + DeliciZnak;
    }
    text += QStringLiteral("\r\n");

    odpojit();
    const int pocet = q->recordCount();
    for (int r = 0; r < pocet; ++r) {
        for (int c = 0; c < sloupcu; ++c) {
            if (pole[c] >= 0) text += q->text(r, pole[c]);
            text += DeliciZnak;
        }
        text += QStringLiteral("\r\n");
    }
    pripojit();

    // Windows-1250 on every system, as the payment sheet is written, so that a file reads the
    // same on every computer; a character the code page lacks becomes "?".
    const QByteArray bajty =
        KodovaStranka::doCp1250(text, [](char32_t) { return QByteArrayLiteral("?"); });
    // A file that could not be written whole is reported as not saved and is not opened.
    const bool zapsano = soubor.write(bajty) == bajty.size() && soubor.flush();
    soubor.close();
    if (!zapsano || soubor.error() != QFileDevice::NoError) return false;

    if (SpustitPoUlozeni)
        QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(Soubor).absoluteFilePath()));
    return true;
}
