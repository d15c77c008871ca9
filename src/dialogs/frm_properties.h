#pragma once

#include "dialogs/port_settings_form.h"

#include <QDialog>
#include <array>
#include <memory>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quandel {

// "COM-Anschluß-Einstellungen": shows and edits the port configuration. The
// logic is PortSettingsForm; this window shows its state and passes the
// user's choices on.
//
// Life cycle: the main window creates it once and calls Load() during its
// start-up, which applies the stored configuration to the port without
// showing anything. ShowModal() shows it (loading it first when Abbrechen
// unloaded it); OK hides it and keeps its state, Abbrechen and the close
// box unload it.
class FrmProperties : public QDialog {
    Q_OBJECT
public:
    FrmProperties(SerialPort &port, SettingsStore &store, UserDialogs &dialogs, EventPump &events,
                  const SerialDeviceList &devices, QWidget *parent = nullptr);
    ~FrmProperties() override;

    void Load();
    bool IsLoaded() const { return form_ != nullptr; }
    // Shows the dialog modally; returns when OK or Abbrechen ended it.
    void ShowModal();
    // The port status text of the status line.
    std::string ComStatus() const;
    // The dialog's state while loaded (null when unloaded).
    PortSettingsForm *Form() { return form_.get(); }

public slots:
    void reject() override;

protected:
    // Each showing lists the devices present at that moment.
    void showEvent(QShowEvent *event) override;

private:
    void BuildUi();
    void CentreOnScreen();
    void Unload();
    void ShowForm();
    void ShowDevice();
    void ShowDeviceChoices();
    void OnDeviceChosen(int index);
    void OnOk();
    void OnTest();
    void SetInputsEnabled(bool enabled);

    SerialPort &port_;
    SettingsStore &store_;
    UserDialogs &dialogs_;
    EventPump &events_;
    const SerialDeviceList &devices_;
    std::unique_ptr<PortSettingsForm> form_;
    bool syncing_ = false;

    QGroupBox *fraSettings_ = nullptr;
    std::array<QComboBox *, kPortListCount> lists_{};
    QLineEdit *txtDevice_ = nullptr;
    QComboBox *cboDevices_ = nullptr;
    std::array<QRadioButton *, 2> optEcho_{};
    std::array<QRadioButton *, kFlowOptionCount> optFlow_{};
    QPushButton *cmdOK_ = nullptr;
    QPushButton *cmdCancel_ = nullptr;
    QPushButton *cmdTest_ = nullptr;
    QLabel *lblNr_ = nullptr;
};

} // namespace quandel
