#include "dialogs/frm_ascii.h"

#include "app/cp1252_codec.h"
#include "core/twips.h"
#include "dialogs/ascii_table.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTableWidget>

namespace quandel {

namespace {

// Drawn in the character column where a code has no visible character.
constexpr char16_t kPlaceholder = u'\u25A1';

} // namespace

FrmAscii::FrmAscii(QWidget *owner) : QWidget(owner, Qt::Window) {
    setObjectName(QStringLiteral("frmAscii"));
    setWindowTitle(QStringLiteral("ASCII-Tabelle"));
    setAttribute(Qt::WA_DeleteOnClose);
    const double dpi = Dpi();
    const auto px = [dpi](int twips) {
        return TwipsToPixels(twips, dpi);
    };

    title_ = new QLabel(QStringLiteral("ASCII-Tabelle"), this);
    title_->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(13.5);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setAlignment(Qt::AlignCenter);
    title_->setGeometry(px(2640), 0, px(1935), px(360));

    grdAscii_ = new QTableWidget(kAsciiRows - 1, kAsciiColumns, this);
    grdAscii_->setObjectName(QStringLiteral("grdAscii"));
    grdAscii_->verticalHeader()->hide();
    grdAscii_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdAscii_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdAscii_->horizontalHeader()->setHighlightSections(false);
    grdAscii_->horizontalHeader()->setMinimumSectionSize(1); // the narrow separators
    // The column widths are fixed in twips: a compact type keeps " 255" whole
    // in its 500 twips, and rows as high as a line of it.
    QFont gridFont = grdAscii_->font();
    gridFont.setPointSizeF(8.25);
    grdAscii_->setFont(gridFont);
    grdAscii_->setTextElideMode(Qt::ElideNone);
    grdAscii_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grdAscii_->verticalHeader()->setMinimumSectionSize(1);
    grdAscii_->verticalHeader()->setDefaultSectionSize(QFontMetrics(gridFont).height() + 4);

    // The client area that the outer width of 8010 twips leaves, and the
    // height; never smaller than the grid's minimum needs.
    resize(px(7890), px(7080));
    const Rect least = AsciiGridRect(0, 0);
    setMinimumSize(px(least.x + least.width + 180), px(least.y + least.height + 550));
    GridBuild();

    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            w->setAccessibleDescription(w->objectName());
}

double FrmAscii::Dpi() const {
    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->logicalDotsPerInchX() : 96.0;
}

FrmAscii *FrmAscii::ShowTable(QWidget *owner) {
    static QPointer<FrmAscii> window;
    if (!window)
        window = new FrmAscii(owner);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void FrmAscii::GridBuild() {
    const double dpi = Dpi();
    for (int column = 0; column < kAsciiColumns; ++column) {
        grdAscii_->setColumnWidth(column, TwipsToPixels(AsciiColumnWidthTwips(column), dpi));
        grdAscii_->setHorizontalHeaderItem(
            column, new QTableWidgetItem(FromCp1252(AsciiCellText(0, column))));
    }
    for (int row = 1; row < kAsciiRows; ++row) {
        for (int column = 0; column < kAsciiColumns; ++column) {
            const auto code = AsciiCellCode(row, column);
            if (!code)
                continue;
            QString text = FromCp1252(AsciiCellText(row, column));
            auto *item = new QTableWidgetItem;
            const std::string note = column % 4 == 2 ? AsciiPlaceholderNote(*code) : "";
            if (!note.empty()) {
                text = QString(QChar(kPlaceholder));
                item->setToolTip(FromCp1252(note));
            }
            item->setText(text);
            grdAscii_->setItem(row - 1, column, item);
        }
    }
}

QString FrmAscii::CellText(int row, int column) const {
    if (row == 0) {
        const QTableWidgetItem *header = grdAscii_->horizontalHeaderItem(column);
        return header ? header->text() : QString();
    }
    const QTableWidgetItem *item = grdAscii_->item(row - 1, column);
    return item ? item->text() : QString();
}

void FrmAscii::resizeEvent(QResizeEvent *event) {
    QWidget::resizeEvent(event);
    const double dpi = Dpi();
    const Rect r = AsciiGridRect(PixelsToTwips(width(), dpi), PixelsToTwips(height(), dpi));
    grdAscii_->setGeometry(TwipsToPixels(r.x, dpi), TwipsToPixels(r.y, dpi),
                           TwipsToPixels(r.width, dpi), TwipsToPixels(r.height, dpi));
}

} // namespace quandel
