#pragma once

#include "core/user_dialogs.h"

#include <QDialog>

class QTableWidget;

namespace quandel {

// A modal box with a text above a read-only table, for results with many
// rows (the differences of a program comparison). The table is in the
// fixed-pitch font, so the blanks of program lines show as they are;
// "Kopieren" and Ctrl+C put the table (or the selected rows) into the
// clipboard as tab-separated lines, ready for a mail or a spreadsheet.
class TableBoxDialog : public QDialog {
    Q_OBJECT
public:
    TableBoxDialog(const TableBoxContent &content, QWidget *parent = nullptr);

    // The column captions and the rows (all of them, or only the selected
    // ones), one line each, the cells separated by tabs.
    QString TableText(bool selectedOnly) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CopyToClipboard(bool selectedOnly);

    QTableWidget *grdTable_ = nullptr;
};

} // namespace quandel
