// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QTableWidget>
#include <functional>

// A text grid whose fixed cells (the first FixedRows rows and FixedCols columns, row 0 being the
// header row) are painted in their own font, with row operations the plain grid lacks: deleting
// a row while keeping a minimum number of rows, and exchanging two rows. Rows and columns are
// counted from 0, the header row included.
class TStringGridNew : public QTableWidget {
    Q_OBJECT
public:
    using TDrawCellEvent =
        std::function<void(QObject* Sender, int ACol, int ARow, const QRect& Rect, QPainter*)>;

    explicit TStringGridNew(QWidget* AOwner = nullptr);

    QFont FixedFont() const { return FFixedFont; }
    // Copies the font and repaints the grid.
    void setFixedFont(const QFont& font);
    // The colour of the fixed cells' text: a system colour (a palette role) ...
    void setFixedFontColor(QPalette::ColorRole role);
    // ... or a colour of its own.
    void setFixedFontColor(const QColor& barva);
    bool FixedFontColorDleTheme() const { return FFixedFontColorDleTheme; }
    void setFixedFontColorDleTheme(bool hodnota);
    // The colour the fixed cells' text is painted in now: a colour of its own as it is; a system
    // colour as the palette in use gives it (with FixedFontColorDleTheme false, as the
    // application's palette gives it, whatever the grid's own palette says).
    QColor barvaPevnehoTextu() const;

    int FixedRows() const { return FFixedRows; }
    void setFixedRows(int pocet);
    int FixedCols() const { return FFixedCols; }
    void setFixedCols(int pocet);
    int DefaultRowHeight() const;
    void setDefaultRowHeight(int px);

    QString Cells(int ACol, int ARow) const;
    void setCells(int ACol, int ARow, const QString& text);

    void DeleteRow(int ARow, int AMinRows = 2);
    void ExchangeRows(int AIndex1, int AIndex2);

    // Called after each cell has been painted.
    TDrawCellEvent OnDrawCell;

    bool jePevna(int ACol, int ARow) const { return ARow < FFixedRows || ACol < FFixedCols; }

private:
    QFont FFixedFont;
    bool m_systemovaBarva = true;
    QPalette::ColorRole m_role = QPalette::WindowText;
    QColor m_barva;
    bool FFixedFontColorDleTheme = true;
    int FFixedRows = 1;
    int FFixedCols = 1;
};
