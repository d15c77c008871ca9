#pragma once

#include <QWidget>

class QLabel;
class QTableWidget;

namespace quandel {

// "ASCII-Tabelle": a reference window of the 256 character codes. Not
// modal; there is at most one, and closing it ends it.
class FrmAscii : public QWidget {
    Q_OBJECT
public:
    explicit FrmAscii(QWidget *owner = nullptr);

    // The menu command "&ASCII-Tabelle": creates the window when there is
    // none, shows it and brings it to the front.
    static FrmAscii *ShowTable(QWidget *owner);

    void GridBuild();
    // A cell as the table counts it: row 0 is the header row.
    QString CellText(int row, int column) const;
    QTableWidget *Grid() const { return grdAscii_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    double Dpi() const;

    QLabel *title_ = nullptr;
    QTableWidget *grdAscii_ = nullptr;
};

} // namespace quandel
