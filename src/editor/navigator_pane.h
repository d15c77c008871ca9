#pragma once

#include "editor/navigator_model.h"

#include <QHash>
#include <QString>
#include <QWidget>
#include <functional>

class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;

namespace quandel {

class UserDialogs;
struct SharedFlags;

// The left pane: the label "BASIC-Dateien" over the drive list
// `drvLaufwerk`, the directory list `dirVerzeichnis` and the file list
// `filDateien`. Browsing moves the process's current directory; a file
// chosen by double-click or Enter is offered for loading.
class NavigatorPane : public QWidget, public NavigatorSelection {
    Q_OBJECT
public:
    NavigatorPane(UserDialogs &dialogs, SharedFlags &flags, QWidget *parent = nullptr);

    // Tells which tab of the main window is shown (true: "Terminal").
    void setTerminalTabQuery(std::function<bool()> terminalTabShown);

    // The directory list's path (native separators).
    QString currentPath() const { return path_; }
    // The selected entry of the file list; empty when none is selected.
    QString selectedFile() const;
    // Re-reads the process's current directory into the lists (start-up,
    // after the stored working directory has been applied).
    void syncWithCurrentDirectory();
    // A directory change as the user makes it: the lists, the process's
    // current drive and directory follow. False (lists unchanged) when the
    // directory cannot be read.
    bool changeDirectory(const QString &path);
    // Double-click or Enter in the file list.
    void chooseFile();

    // The path of the program last chosen here.
    QString programFileName() const { return programFileName_; }

    // NavigatorSelection, for the tools dialog.
    std::string DirectoryPath() const override;
    std::string SelectedFileName() const override;

    QLabel *titleLabel() const { return lblDatei_; }
    QLabel *engineeringLabel() const { return lblEngineering_; }
    QComboBox *driveList() const { return drvLaufwerk_; }
    QListWidget *directoryList() const { return dirVerzeichnis_; }
    QListWidget *fileList() const { return filDateien_; }

signals:
    // Off while the user works in the lists, on again when they lose focus.
    void keyPreviewWanted(bool on);
    // Yes to the question: load `path` (the main window downloads it).
    void programChosen(const QString &path);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fillDrives();
    bool showDirectory(const QString &path);
    void driveChosen(int index);
    void directoryActivated(QListWidgetItem *item);
    // Re-reads the folder shown, or the nearest existing one above it.
    void showNearestFolder();

    UserDialogs &dialogs_;
    SharedFlags &flags_;
    std::function<bool()> terminalTabShown_;
    QLabel *lblEngineering_ = nullptr;
    QLabel *lblDatei_ = nullptr;
    QComboBox *drvLaufwerk_ = nullptr;
    QListWidget *dirVerzeichnis_ = nullptr;
    QListWidget *filDateien_ = nullptr;
    QString path_;
    QString programFileName_;
    QHash<QString, QString> lastDirectoryOfDrive_;
};

} // namespace quandel
