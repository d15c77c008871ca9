#include "editor/navigator_pane.h"

#include "app/cp1252_codec.h"
#include "core/number_text.h"
#include "core/settings_store.h"
#include "core/shared_flags.h"
#include "core/user_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QStorageInfo>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace quandel {

namespace {

QString Native(const QString &path) {
    return QDir::toNativeSeparators(QDir::cleanPath(path));
}

bool Readable(const QString &path) {
    const QFileInfo info(path);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

bool IsEnter(const QEvent *event) {
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The root among `roots` that holds `path`: the longest one that is a
// whole leading part of it.
QString DriveOf(const QStringList &roots, const QString &path) {
    QString best;
    for (const QString &root : roots) {
        if (root.size() <= best.size() || !path.startsWith(root))
            continue;
        if (root.size() == path.size() || root.endsWith(QDir::separator()) ||
            path.at(root.size()) == QDir::separator())
            best = root;
    }
    return best;
}

} // namespace

NavigatorPane::NavigatorPane(UserDialogs &dialogs, SharedFlags &flags, QWidget *parent)
    : QWidget(parent), dialogs_(dialogs), flags_(flags) {
    setObjectName(QStringLiteral("picLeft"));
    auto *layout = new QVBoxLayout(this); // replaced by the window layout when it takes over
    layout->setContentsMargins(0, 0, 0, 0);

    lblEngineering_ = new QLabel(QStringLiteral("Engeneering Software"), this);
    lblEngineering_->setObjectName(QStringLiteral("lblEngineering"));
    lblDatei_ = new QLabel(QStringLiteral("BASIC-Dateien"), this);
    lblDatei_->setObjectName(QStringLiteral("lblDatei"));
    drvLaufwerk_ = new QComboBox(this);
    drvLaufwerk_->setObjectName(QStringLiteral("drvLaufwerk"));
    dirVerzeichnis_ = new QListWidget(this);
    dirVerzeichnis_->setObjectName(QStringLiteral("dirVerzeichnis"));
    filDateien_ = new QListWidget(this);
    filDateien_->setObjectName(QStringLiteral("filDateien"));
    for (QWidget *w :
         {static_cast<QWidget *>(lblEngineering_), static_cast<QWidget *>(lblDatei_),
          static_cast<QWidget *>(drvLaufwerk_), static_cast<QWidget *>(dirVerzeichnis_)})
        layout->addWidget(w);
    layout->addWidget(filDateien_, 1);

    for (QWidget *list :
         {static_cast<QWidget *>(drvLaufwerk_), static_cast<QWidget *>(dirVerzeichnis_),
          static_cast<QWidget *>(filDateien_)})
        list->installEventFilter(this);
    filDateien_->viewport()->installEventFilter(this);

    connect(drvLaufwerk_, &QComboBox::activated, this, &NavigatorPane::driveChosen);
    connect(dirVerzeichnis_, &QListWidget::itemDoubleClicked, this,
            &NavigatorPane::directoryActivated);
    connect(filDateien_, &QListWidget::itemDoubleClicked, this, [this] { chooseFile(); });

    fillDrives();
    syncWithCurrentDirectory();
}

void NavigatorPane::setTerminalTabQuery(std::function<bool()> terminalTabShown) {
    terminalTabShown_ = std::move(terminalTabShown);
}

void NavigatorPane::fillDrives() {
    QStringList roots;
#ifndef Q_OS_WIN
    roots << QStringLiteral("/");
#endif
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = Native(volume.rootPath());
        if (volume.isValid() && volume.isReady() && Readable(root) && !roots.contains(root))
            roots << root;
    }
    std::sort(
        roots.begin() + (roots.startsWith(QStringLiteral("/")) ? 1 : 0), roots.end(),
        [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    drvLaufwerk_->clear();
    drvLaufwerk_->addItems(roots);
}

QString NavigatorPane::selectedFile() const {
    const QList<QListWidgetItem *> selected = filDateien_->selectedItems();
    return selected.isEmpty() ? QString() : selected.constFirst()->text();
}

std::string NavigatorPane::DirectoryPath() const {
    return ToCp1252(path_);
}

std::string NavigatorPane::SelectedFileName() const {
    return ToCp1252(selectedFile());
}

void NavigatorPane::syncWithCurrentDirectory() {
    showDirectory(QDir::currentPath());
}

bool NavigatorPane::showDirectory(const QString &requested) {
    const QString path = Native(QFileInfo(requested).absoluteFilePath());
    if (!Readable(path))
        return false; // the lists keep what they show

    dirVerzeichnis_->clear();
    QStringList chain; // the folder and its parents, the root first
    for (QDir d(path);;) {
        chain.prepend(Native(d.absolutePath()));
        if (d.isRoot() || !d.cdUp())
            break;
    }
    const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    const auto add = [this](const QIcon &icon, int depth, const QString &text,
                            const QString &target) {
        auto *item = new QListWidgetItem(icon, QString(depth * 2, QLatin1Char(' ')) + text);
        item->setData(Qt::UserRole, target);
        dirVerzeichnis_->addItem(item);
        return item;
    };
    for (int i = 0; i < chain.size(); ++i) {
        const QString name = i == 0 ? chain[i] : QFileInfo(chain[i]).fileName();
        QListWidgetItem *item = add(open, i, name, chain[i]);
        if (i + 1 == chain.size())
            dirVerzeichnis_->setCurrentItem(item);
    }
    const QDir dir(path);
    for (const QFileInfo &sub :
         dir.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase))
        add(closed, int(chain.size()), sub.fileName(), Native(sub.absoluteFilePath()));

    filDateien_->clear();
    const std::string pattern = kNavigatorPattern;
    for (const QFileInfo &file : dir.entryInfoList(QDir::Files, QDir::Name | QDir::IgnoreCase))
        if (MatchesFilePattern(ToCp1252(file.fileName()), pattern))
            filDateien_->addItem(file.fileName());

    path_ = path;
    QStringList roots;
    for (int i = 0; i < drvLaufwerk_->count(); ++i)
        roots << drvLaufwerk_->itemText(i);
    const QString drive = DriveOf(roots, path_);
    if (!drive.isEmpty()) {
        drvLaufwerk_->setCurrentIndex(int(roots.indexOf(drive)));
        lastDirectoryOfDrive_[drive] = path_;
    }
    return true;
}

bool NavigatorPane::changeDirectory(const QString &path) {
    emit keyPreviewWanted(false);
    if (!showDirectory(path))
        return false;
    QDir::setCurrent(path_);
    return true;
}

void NavigatorPane::driveChosen(int index) {
    emit keyPreviewWanted(false);
    const QString root = drvLaufwerk_->itemText(index);
    // Like a drive letter, each volume comes back at the folder last shown on it.
    const QString last = lastDirectoryOfDrive_.value(root, root);
    if (changeDirectory(last) || (last != root && changeDirectory(root)))
        return;
    // An unreadable volume: the lists and the drive shown stay as they were.
    QStringList roots;
    for (int i = 0; i < drvLaufwerk_->count(); ++i)
        roots << drvLaufwerk_->itemText(i);
    drvLaufwerk_->setCurrentIndex(int(roots.indexOf(DriveOf(roots, path_))));
}

void NavigatorPane::directoryActivated(QListWidgetItem *item) {
    if (!item)
        return;
    const QString target = item->data(Qt::UserRole).toString();
    if (changeDirectory(target))
        return;
    // The folder was there when the list was made: say what became of it,
    // and show what is there now instead of the stale entries.
    const QFileInfo info(target);
    const char *reason = !info.exists()  ? "Es ist nicht mehr vorhanden."
                         : !info.isDir() ? "Es ist kein Verzeichnis."
                                         : "Der Zugriff wurde verweigert.";
    dialogs_.MessageBox(Cp1252("Das Verzeichnis ") + ToCp1252(target) +
                            Cp1252(" kann nicht geöffnet werden.\r") + Cp1252(reason),
                        kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
    showNearestFolder();
}

void NavigatorPane::showNearestFolder() {
    // The folder shown may itself be gone: then the nearest one above it.
    QString folder = path_;
    while (!changeDirectory(folder)) {
        const QString parent = Native(QFileInfo(folder).path());
        if (parent == folder)
            return;
        folder = parent;
    }
}

void NavigatorPane::chooseFile() {
    emit keyPreviewWanted(false);
    const QString name = selectedFile();
    if (name.isEmpty()) {
        // Without a file the path would name the folder itself, and a
        // download of a folder finds nothing to send.
        dialogs_.MessageBox(Cp1252("Bitte zuerst in der Dateiliste eine Datei auswählen."),
                            kAppTitle, BoxIcon::Exclamation, BoxButtons::Ok);
        return;
    }
    const std::string path = JoinDirectoryAndFile(ToCp1252(path_), ToCp1252(name));
    const bool terminal = !terminalTabShown_ || terminalTabShown_();
    if (dialogs_.MessageBox(LoadQuestion(terminal, path), kAppTitle, BoxIcon::None,
                            BoxButtons::YesNo) != BoxAnswer::Yes)
        return;
    programFileName_ = FromCp1252(path);
    emit programChosen(programFileName_);
    flags_.StopRequested = false;
}

bool NavigatorPane::eventFilter(QObject *watched, QEvent *event) {
    if (watched == filDateien_->viewport()) {
        // A double-click beside the entries is a double-click too.
        if (event->type() == QEvent::MouseButtonDblClick &&
            !filDateien_->itemAt(static_cast<QMouseEvent *>(event)->position().toPoint())) {
            chooseFile();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::FocusIn:
        emit keyPreviewWanted(false);
        break;
    case QEvent::FocusOut:
        if (static_cast<QFocusEvent *>(event)->reason() != Qt::PopupFocusReason)
            emit keyPreviewWanted(true);
        break;
    case QEvent::KeyPress:
        if (IsEnter(event) && watched == filDateien_) {
            chooseFile();
            return true;
        }
        if (IsEnter(event) && watched == dirVerzeichnis_) {
            directoryActivated(dirVerzeichnis_->currentItem());
            return true;
        }
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quandel
