// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringGridNew.h"

#include <QApplication>
#include <QHeaderView>
#include <QPainter>
#include <QStyle>
#include <QStyledItemDelegate>

namespace {

// Fixed cells in the grid's fixed font and colour on the button face; the others as usual.
class TBunkaStringGridu : public QStyledItemDelegate {
public:
    explicit TBunkaStringGridu(TStringGridNew* grid) : QStyledItemDelegate(grid), m_grid(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (m_grid->jePevna(index.column(), index.row())) {
            QStyleOptionViewItem opt = option;
            initStyleOption(&opt, index);
            painter->save();
            painter->fillRect(opt.rect, opt.palette.color(QPalette::Button));
            painter->setPen(opt.palette.color(QPalette::Mid));
            painter->drawLine(opt.rect.bottomLeft(), opt.rect.bottomRight());
            painter->drawLine(opt.rect.topRight(), opt.rect.bottomRight());
            painter->setFont(m_grid->FixedFont());
            painter->setPen(m_grid->barvaPevnehoTextu());
            painter->drawText(opt.rect.adjusted(2, 0, -2, 0), Qt::AlignLeft | Qt::AlignVCenter,
                              opt.text);
            painter->restore();
        } else {
            QStyledItemDelegate::paint(painter, option, index);
        }
        if (m_grid->OnDrawCell)
            m_grid->OnDrawCell(m_grid, index.column(), index.row(), option.rect, painter);
    }

private:
    TStringGridNew* m_grid;
};

}  // namespace

TStringGridNew::TStringGridNew(QWidget* AOwner) : QTableWidget(AOwner) {
    setObjectName(QStringLiteral("StringGrid1"));
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setItemDelegate(new TBunkaStringGridu(this));
    FFixedFont = QApplication::font();
    FFixedFont.setBold(true);
    setDefaultRowHeight(17);
}

void TStringGridNew::setFixedFont(const QFont& font) {
    FFixedFont = font;
    viewport()->update();
}

void TStringGridNew::setFixedFontColor(QPalette::ColorRole role) {
    m_systemovaBarva = true;
    m_role = role;
    viewport()->update();
}

void TStringGridNew::setFixedFontColor(const QColor& barva) {
    m_systemovaBarva = false;
    m_barva = barva;
    viewport()->update();
}

void TStringGridNew::setFixedFontColorDleTheme(bool hodnota) {
    FFixedFontColorDleTheme = hodnota;
    viewport()->update();
}

QColor TStringGridNew::barvaPevnehoTextu() const {
    if (!m_systemovaBarva) return m_barva;
    // The palette in use carries the look's shade of a system colour: the desktop's colour
    // scheme (a dark one too), the application's palette and any palette set on the grid or its
    // window. The style's built-in palette knows none of them.
    if (FFixedFontColorDleTheme) return palette().color(m_role);
    return QApplication::palette().color(m_role);
}

void TStringGridNew::setFixedRows(int pocet) {
    FFixedRows = std::max(0, pocet);
    viewport()->update();
}

void TStringGridNew::setFixedCols(int pocet) {
    FFixedCols = std::max(0, pocet);
    viewport()->update();
}

int TStringGridNew::DefaultRowHeight() const {
    return verticalHeader()->defaultSectionSize();
}

void TStringGridNew::setDefaultRowHeight(int px) {
    verticalHeader()->setMinimumSectionSize(std::min(px, verticalHeader()->minimumSectionSize()));
    verticalHeader()->setDefaultSectionSize(px);
}

QString TStringGridNew::Cells(int ACol, int ARow) const {
    const QTableWidgetItem* i = item(ARow, ACol);
    return i ? i->text() : QString();
}

void TStringGridNew::setCells(int ACol, int ARow, const QString& text) {
    if (ARow < 0 || ACol < 0 || ARow >= rowCount() || ACol >= columnCount()) return;
    if (QTableWidgetItem* i = item(ARow, ACol))
        i->setText(text);
    else
        setItem(ARow, ACol, new QTableWidgetItem(text));
}

void TStringGridNew::DeleteRow(int ARow, int AMinRows) {
    if (ARow < 0 || ARow >= rowCount()) return;
    const int posledni = rowCount() - 1;
    // Move the row to the end; the rows below it move up by one.
    for (int r = ARow; r < posledni; ++r) ExchangeRows(r, r + 1);
    if (rowCount() > AMinRows) {
        removeRow(posledni);
    } else {
        for (int c = 0; c < columnCount(); ++c) delete takeItem(posledni, c);
    }
}

void TStringGridNew::ExchangeRows(int AIndex1, int AIndex2) {
    if (AIndex1 == AIndex2 || AIndex1 < 0 || AIndex2 < 0 || AIndex1 >= rowCount() ||
        AIndex2 >= rowCount())
        return;
    for (int c = 0; c < columnCount(); ++c) {
        QTableWidgetItem* a = takeItem(AIndex1, c);
        QTableWidgetItem* b = takeItem(AIndex2, c);
        if (b) setItem(AIndex1, c, b);
        if (a) setItem(AIndex2, c, a);
    }
}
