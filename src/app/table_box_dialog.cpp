#include "app/table_box_dialog.h"

#include "app/cp1252_codec.h"
#include "app/qt_user_dialogs.h"
#include "app/terminal_page.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>

namespace quandel {

namespace {

QStyle::StandardPixmap IconPixmap(BoxIcon icon) {
    switch (icon) {
    case BoxIcon::Critical:
        return QStyle::SP_MessageBoxCritical;
    case BoxIcon::Question:
        return QStyle::SP_MessageBoxQuestion;
    case BoxIcon::Exclamation:
        return QStyle::SP_MessageBoxWarning;
    default:
        return QStyle::SP_MessageBoxInformation;
    }
}

} // namespace

TableBoxDialog::TableBoxDialog(const TableBoxContent &content, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmTableBox"));
    setWindowTitle(FromCp1252(content.title));

    auto *layout = new QGridLayout(this);
    if (content.icon != BoxIcon::None) {
        auto *picIcon = new QLabel(this);
        picIcon->setObjectName(QStringLiteral("picIcon"));
        const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
        picIcon->setPixmap(style()->standardIcon(IconPixmap(content.icon)).pixmap(size, size));
        picIcon->setAlignment(Qt::AlignTop);
        layout->addWidget(picIcon, 0, 0);
    }
    auto *lblText = new QLabel(BoxText(content.text), this);
    lblText->setObjectName(QStringLiteral("lblText"));
    lblText->setTextFormat(Qt::PlainText);
    lblText->setWordWrap(true);
    lblText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(lblText, 0, 1);

    grdTable_ = new QTableWidget(int(content.rows.size()), int(content.columns.size()), this);
    grdTable_->setObjectName(QStringLiteral("grdTable"));
    QStringList captions;
    for (const std::string &c : content.columns)
        captions << FromCp1252(c);
    grdTable_->setHorizontalHeaderLabels(captions);
    grdTable_->verticalHeader()->hide();
    grdTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdTable_->setWordWrap(false);
    grdTable_->setFont(FixedPitchFont(9));
    grdTable_->verticalHeader()->setDefaultSectionSize(grdTable_->fontMetrics().height() + 6);
    for (int r = 0; r < int(content.rows.size()); ++r) {
        const std::vector<std::string> &row = content.rows[std::size_t(r)];
        for (int c = 0; c < int(row.size()) && c < grdTable_->columnCount(); ++c)
            grdTable_->setItem(r, c, new QTableWidgetItem(FromCp1252(row[std::size_t(c)])));
    }
    grdTable_->resizeColumnsToContents();
    grdTable_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grdTable_, 1, 0, 1, 2);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton *cmdOK = buttons->button(QDialogButtonBox::Ok);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    QPushButton *cmdCopy =
        buttons->addButton(QStringLiteral("&Kopieren"), QDialogButtonBox::ActionRole);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setToolTip(QStringLiteral("Die ganze Tabelle in die Zwischenablage kopieren"));
    connect(cmdCopy, &QPushButton::clicked, this, [this] { CopyToClipboard(false); });
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, 2, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    // The view's own Ctrl+C copies one cell; here it copies whole rows.
    grdTable_->installEventFilter(this);

    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !qobject_cast<QLabel *>(w))
            w->setAccessibleDescription(w->objectName());
    setAccessibleDescription(objectName());

    // As wide as the lines need, within most of the screen.
    int width = grdTable_->verticalScrollBar()->sizeHint().width() + 4 * grdTable_->frameWidth();
    for (int c = 0; c < grdTable_->columnCount(); ++c)
        width += grdTable_->columnWidth(c);
    const int rowsHeight =
        grdTable_->horizontalHeader()->sizeHint().height() +
        grdTable_->verticalHeader()->defaultSectionSize() * std::min(grdTable_->rowCount() + 1, 20);
    QSize wanted(std::max(width + 2 * layout->contentsMargins().left(), 480),
                 rowsHeight + lblText->sizeHint().height() + buttons->sizeHint().height() + 60);
    if (const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen())
        wanted = wanted.boundedTo(screen->availableSize() * 0.85);
    resize(wanted);
    cmdOK->setDefault(true);
    cmdOK->setFocus();
}

QString TableBoxDialog::TableText(bool selectedOnly) const {
    QStringList lines;
    QStringList captions;
    for (int c = 0; c < grdTable_->columnCount(); ++c)
        captions << grdTable_->horizontalHeaderItem(c)->text();
    lines << captions.join(QLatin1Char('\t'));
    const QModelIndexList selected = grdTable_->selectionModel()->selectedRows();
    for (int r = 0; r < grdTable_->rowCount(); ++r) {
        if (selectedOnly && !selected.isEmpty() &&
            !grdTable_->selectionModel()->isRowSelected(r, QModelIndex()))
            continue;
        QStringList cells;
        for (int c = 0; c < grdTable_->columnCount(); ++c) {
            const QTableWidgetItem *item = grdTable_->item(r, c);
            cells << (item ? item->text() : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

bool TableBoxDialog::eventFilter(QObject *watched, QEvent *event) {
    if (watched == grdTable_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
        CopyToClipboard(true);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TableBoxDialog::CopyToClipboard(bool selectedOnly) {
    QApplication::clipboard()->setText(TableText(selectedOnly));
}

} // namespace quandel
