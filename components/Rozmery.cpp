// SPDX-License-Identifier: GPL-3.0-or-later
#include "Rozmery.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemModel>
#include <QFontMetricsF>
#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTableView>
#include <cmath>

namespace {

// 8-point Tahoma at 96 dots per inch: the letters A-Z and a-z average 6 pixels (its dialog base
// unit) and a line is 13 pixels high.
constexpr double kSirkaPismenaTahoma = 6.0;
constexpr double kVyskaRadkuTahoma = 13.0;

const QString& abeceda() {
    static const QString a = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return a;
}

}  // namespace

double Rozmery::meritko(const QFont& pismo) {
    const QFontMetricsF fm(pismo);
    return std::max(1.0, fm.horizontalAdvance(abeceda()) / abeceda().size() / kSirkaPismenaTahoma);
}

double Rozmery::meritkoVysky(const QFont& pismo) {
    return std::max(1.0, QFontMetricsF(pismo).height() / kVyskaRadkuTahoma);
}

int Rozmery::sirka(int px, const QFont& pismo) {
    return int(std::lround(px * meritko(pismo)));
}

int Rozmery::vyska(int px, const QFont& pismo) {
    return int(std::lround(px * meritkoVysky(pismo)));
}

QSize Rozmery::velikost(const QSize& px, const QFont& pismo) {
    return QSize(sirka(px.width(), pismo), vyska(px.height(), pismo));
}

int Rozmery::potrebnaSirka(const QTableView* tabulka, int sloupec, int mistoVpravo) {
    const QAbstractItemModel* model = tabulka->model();
    if (!model) return 0;
    // The title as the title row paints it.
    const QHeaderView* hlavicka = tabulka->horizontalHeader();
    QStyleOptionHeader opt;
    opt.initFrom(hlavicka);
    opt.section = sloupec;
    opt.orientation = Qt::Horizontal;
    opt.textAlignment = hlavicka->defaultAlignment();
    opt.text = model->headerData(sloupec, Qt::Horizontal).toString();
    opt.fontMetrics = QFontMetrics(hlavicka->font());
    int potreba = hlavicka->style()
                      ->sizeFromContents(QStyle::CT_HeaderSection, &opt, QSize(), hlavicka)
                      .width() +
                  mistoVpravo;
    // The values, with the space a cell keeps free on either side of its text (at least the 3
    // pixels the program's own grid keeps) and the grid line.
    const QFontMetricsF fm(tabulka->font());
    const int okraj = std::max(
        3, tabulka->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tabulka) + 1);
    const int radku =
        model->rowCount() <= kRadkuKMereni ? model->rowCount() : kRadkuDlouhehoSeznamu;
    int nejsirsi = 0;
    int nejsirsiRadek = -1;
    for (int r = 0; r < radku; ++r) {
        const int w = int(std::ceil(
            fm.horizontalAdvance(model->index(r, sloupec).data(Qt::DisplayRole).toString())));
        if (w > nejsirsi || nejsirsiRadek < 0) {
            nejsirsi = w;
            nejsirsiRadek = r;
        }
    }
    if (radku > 0) potreba = std::max(potreba, nejsirsi + 2 * okraj + 1);
    // The view's own measure of the widest of them, as its painting elides by it: the text laid
    // out in fractions of a pixel and the margins its style keeps around a cell's text, which
    // can be wider than the ones above; and the grid line.
    if (nejsirsiRadek >= 0) {
        const QModelIndex bunka = model->index(nejsirsiRadek, sloupec);
        QAbstractItemDelegate* delegat = tabulka->itemDelegateForColumn(sloupec);
        if (!delegat) delegat = tabulka->itemDelegate();
        QStyleOptionViewItem volby;
        volby.initFrom(tabulka);
        volby.font = tabulka->font();
        volby.fontMetrics = QFontMetrics(volby.font);
        if (tabulka->wordWrap()) volby.features |= QStyleOptionViewItem::WrapText;
        if (delegat)
            potreba = std::max(
                potreba, delegat->sizeHint(volby, bunka).width() + (tabulka->showGrid() ? 1 : 0));
    }
    return potreba;
}

void Rozmery::rozsirSloupce(QTableView* tabulka, int mistoVpravo,
                            const std::function<bool(int)>& vynechat) {
    const QAbstractItemModel* model = tabulka->model();
    if (!model) return;
    for (int i = 0; i < model->columnCount(); ++i) {
        if (tabulka->isColumnHidden(i) || (vynechat && vynechat(i))) continue;
        const int potreba = potrebnaSirka(tabulka, i, mistoVpravo);
        if (tabulka->columnWidth(i) < potreba) tabulka->setColumnWidth(i, potreba);
    }
}

int Rozmery::sirkaVsechSloupcu(const QTableView* tabulka) {
    int sirka = 2 * tabulka->frameWidth();
    const QHeaderView* radky = tabulka->verticalHeader();
    if (!radky->isHidden()) sirka += std::max(radky->width(), radky->sizeHint().width());
    if (tabulka->verticalScrollBarPolicy() != Qt::ScrollBarAlwaysOff)
        sirka += tabulka->verticalScrollBar()->sizeHint().width();
    const QAbstractItemModel* model = tabulka->model();
    for (int i = 0; model && i < model->columnCount(); ++i)
        if (!tabulka->isColumnHidden(i)) sirka += tabulka->columnWidth(i);
    return sirka;
}

namespace {

// naStredu: the window is on screen and keeps its centre; otherwise (while it is being shown)
// only its size changes, and the window is placed as it would be anyway.
void rozsirOkno(QTableView* tabulka, bool naStredu) {
    QWidget* okno = tabulka->window();
    if (okno == tabulka || !okno->isVisible()) return;
    // The table's place in its window as the layout gives it now.
    const int chybi = Rozmery::sirkaVsechSloupcu(tabulka) - tabulka->width();
    if (chybi <= 0) return;
    QScreen* obrazovka = okno->screen() ? okno->screen() : QGuiApplication::primaryScreen();
    const QRect plocha = obrazovka ? obrazovka->availableGeometry() : QRect();
    // The frame the window manager adds stays on the screen too.
    const int ramecek = std::max(0, okno->frameGeometry().width() - okno->width());
    int nova = okno->width() + chybi;
    if (plocha.isValid()) nova = std::min(nova, plocha.width() - ramecek);
    if (nova <= okno->width()) return;
    if (!naStredu) {
        okno->resize(nova, okno->height());
        return;
    }
    int x = okno->x() - (nova - okno->width()) / 2;
    if (plocha.isValid())
        x = std::max(plocha.left(), std::min(x, plocha.right() + 1 - nova - ramecek));
    okno->setGeometry(x + (okno->geometry().x() - okno->x()), okno->geometry().y(), nova,
                      okno->height());
}

// Widens the table's window when it is shown (the table then has its place in it) and when its
// rows are read anew while it is on screen.
class TSirkaOkna : public QObject {
public:
    explicit TSirkaOkna(QTableView* tabulka) : QObject(tabulka), m_tabulka(tabulka) {
        tabulka->window()->installEventFilter(this);
        connect(tabulka->model(), &QAbstractItemModel::modelReset, this,
                [this] { rozsirOkno(m_tabulka, true); });
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        // The filter sees the window's show event before the window does; a dialog places
        // itself on its owner in it, and then with the new size.
        if (e->type() == QEvent::Show && o == m_tabulka->window()) rozsirOkno(m_tabulka, false);
        return false;
    }

private:
    QTableView* m_tabulka;
};

}  // namespace

void Rozmery::drzOknoNaSirceSloupcu(QTableView* tabulka) {
    new TSirkaOkna(tabulka);
}
