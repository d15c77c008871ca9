#include "dialogs/frm_about.h"

#include "app/cp1252_codec.h"
#include "core/settings_store.h"
#include "core/twips.h"
#include "core/user_dialogs.h"
#include "dialogs/help_texts.h"
#include "dialogs/manual_lookup.h"
#include "dialogs/registry_reader.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace quandel {

namespace {

QLabel *Label(const QString &text, const char *name, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// The program's logo: a terminal screen with a prompt.
QPixmap Logo() {
    QPixmap logo(32, 32);
    logo.fill(Qt::transparent);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 60, 90), 2));
    p.setBrush(QColor(30, 110, 80));
    p.drawRoundedRect(QRectF(2, 3, 28, 22), 3, 3);
    p.setPen(QPen(QColor(220, 255, 220), 2));
    p.drawLine(QPointF(7, 9), QPointF(12, 14));
    p.drawLine(QPointF(12, 14), QPointF(7, 19));
    p.drawLine(QPointF(14, 19), QPointF(21, 19));
    p.setPen(QPen(QColor(40, 60, 90), 2));
    p.drawLine(QPointF(11, 29), QPointF(21, 29));
    return logo;
}

} // namespace

bool QtProgramStarter::FileExists(const std::string &path) const {
    return QFileInfo(FromCp1252(path)).isFile();
}

std::string QtProgramStarter::FindProgram(const std::string &name) const {
    return ToCp1252(QStandardPaths::findExecutable(FromCp1252(name)));
}

bool QtProgramStarter::Start(const std::string &path) {
    return QProcess::startDetached(FromCp1252(path), {});
}

FrmAbout::FrmAbout(UserDialogs &dialogs, RegistryReader &registry, ProgramStarter &starter,
                   QWidget *parent)
    : QDialog(parent), dialogs_(dialogs), registry_(registry), starter_(starter) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(FromCp1252(AboutCaption()));

    auto *picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(Logo());
    picIcon->setAlignment(Qt::AlignTop);

    auto *lblTitle = Label(QString::fromLatin1(kAppTitle), "lblTitle", this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(9.75);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    auto *lblVersion =
        Label(FromCp1252(VersionText(kVersionMajor, kVersionMinor, kVersionRevision)), "lblVersion",
              this);
    auto *lblDescription = Label(FromCp1252(AboutDescription()), "lblDescription", this);
    lblDescription->setWordWrap(true);

    auto *texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblDescription, 1);
    auto *top = new QHBoxLayout;
    top->addWidget(picIcon);
    top->addSpacing(12);
    top->addLayout(texts, 1);

    // The etched line: a sunken frame draws the grey line with a light one below.
    auto *separator = new QFrame(this);
    separator->setObjectName(QStringLiteral("linSeparator"));
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto *lblDisclaimer = Label(FromCp1252(AboutDisclaimer()), "lblDisclaimer", this);
    lblDisclaimer->setWordWrap(true);
    lblDisclaimer->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true); // Enter; Escape closes the dialog as well
    auto *cmdSysInfo = new QPushButton(QStringLiteral("&Systeminfo..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    auto *buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch(1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(separator);
    layout->addLayout(bottom, 1);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmAbout::StartSysInfo);

    const QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    const double dpi = s ? s->logicalDotsPerInchX() : 96.0;
    const QSize client(TwipsToPixels(5730, dpi), TwipsToPixels(3555, dpi));
    // A fixed border; larger only where the texts in this font need it.
    setFixedSize(client.expandedTo(layout->totalMinimumSize()));

    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            w->setAccessibleDescription(w->objectName());
}

void FrmAbout::ShowModal(UserDialogs &dialogs, QWidget *parent) {
    QtProgramStarter starter;
    FrmAbout box(dialogs, PlatformRegistry(), starter, parent);
    box.exec();
}

void FrmAbout::StartSysInfo() {
    quandel::StartSysInfo(registry_, starter_, dialogs_);
}

void ShowBasicManual(UserDialogs &dialogs, const QString &exeFolder,
                     const std::function<bool(const QUrl &)> &open) {
    // The paths are joined on UTF-8 text: a folder name outside Windows-1252
    // stays intact; only the message shows them in Windows-1252.
    const ManualLookup lookup = FindManual(exeFolder.toUtf8().toStdString());
    if (lookup.found.empty()) {
        std::vector<std::string> shown;
        for (const std::string &path : lookup.searched)
            shown.push_back(ToCp1252(QString::fromUtf8(path)));
        dialogs.MessageBox(ManualMissingText(shown), kAppTitle, BoxIcon::Exclamation,
                           BoxButtons::Ok);
        return;
    }
    const QString path = QString::fromUtf8(lookup.found);
    if (!open(QUrl::fromLocalFile(path)))
        dialogs.MessageBox(ManualNotOpenedText(ToCp1252(path)), kAppTitle, BoxIcon::Exclamation,
                           BoxButtons::Ok);
}

void ShowBasicManual(UserDialogs &dialogs) {
    ShowBasicManual(dialogs, QDir::toNativeSeparators(QCoreApplication::applicationDirPath()),
                    [](const QUrl &url) { return QDesktopServices::openUrl(url); });
}

} // namespace quandel
