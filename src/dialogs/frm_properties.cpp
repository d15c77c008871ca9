#include "dialogs/frm_properties.h"

#include "app/cp1252_codec.h"
#include "port/device_choices.h"
#include "port/device_map.h"
#include "port/port_status.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <utility>

namespace quandel {

namespace {

QGroupBox *Frame(const QString &caption, const char *name, QWidget *parent) {
    auto *frame = new QGroupBox(caption, parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

QComboBox *List(const char *name, QWidget *parent) {
    auto *list = new QComboBox(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setEditable(false);
    return list;
}

} // namespace

FrmProperties::FrmProperties(SerialPort &port, SettingsStore &store, UserDialogs &dialogs,
                             EventPump &events, const SerialDeviceList &devices, QWidget *parent)
    : QDialog(parent), port_(port), store_(store), dialogs_(dialogs), events_(events),
      devices_(devices) {
    setObjectName(QStringLiteral("frmProperties"));
    setWindowTitle(QStringLiteral("COM-Anschluß-Einstellungen"));
    setModal(true);
    BuildUi();
    Unload(); // the controls' state before a load
}

FrmProperties::~FrmProperties() = default;

void FrmProperties::BuildUi() {
    auto *outer = new QVBoxLayout(this);
    outer->setSizeConstraint(QLayout::SetFixedSize); // a fixed dialog border
    auto *tabs = new QTabWidget(this);
    tabs->setObjectName(QStringLiteral("tabSettings"));
    outer->addWidget(tabs);
    auto *page = new QWidget(tabs);
    tabs->addTab(page, QStringLiteral("Einstellungen"));
    auto *pageLayout = new QVBoxLayout(page);
    fraSettings_ = Frame(QStringLiteral("Einstellungen"), "fraSettings", page);
    pageLayout->addWidget(fraSettings_);
    auto *grid = new QGridLayout(fraSettings_);

    // Top: the port and the device it means on this system.
    auto *portRow = new QHBoxLayout;
    auto *lblPort = new QLabel(QStringLiteral("Anschluß:"), fraSettings_);
    lblPort->setObjectName(QStringLiteral("lblPort"));
    lists_[int(PortList::Port)] = List("cboPort", fraSettings_);
    lblPort->setBuddy(lists_[int(PortList::Port)]);
    auto *lblDevice = new QLabel(QStringLiteral("Gerät:"), fraSettings_);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    txtDevice_ = new QLineEdit(fraSettings_);
    txtDevice_->setObjectName(QStringLiteral("txtDevice"));
    txtDevice_->setToolTip(QStringLiteral(
        "Gerätedatei der gewählten Schnittstelle; leer lassen für die Voreinstellung"));
    txtDevice_->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("/dev/ttyUSB15__")));
    lblDevice->setBuddy(txtDevice_);
    portRow->addWidget(lblPort);
    portRow->addWidget(lists_[int(PortList::Port)]);
    portRow->addSpacing(8);
    portRow->addWidget(lblDevice);
    portRow->addWidget(txtDevice_, 1);
    grid->addLayout(portRow, 0, 0, 1, 3);

    // Below: the serial devices present; picking one puts its stable name
    // into the device field.
    auto *devicesRow = new QHBoxLayout;
    auto *lblDevices = new QLabel(QStringLiteral("Vorhandene &Geräte:"), fraSettings_);
    lblDevices->setObjectName(QStringLiteral("lblDevices"));
    cboDevices_ = List("cboDevices", fraSettings_);
    cboDevices_->setToolTip(QStringLiteral(
        "Die angeschlossenen seriellen Geräte; die Auswahl trägt den bleibenden Namen "
        "des Geräts als Gerätedatei ein"));
    // Stable names are long: the list keeps a sensible width, its entries
    // open in full.
    cboDevices_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cboDevices_->setMinimumContentsLength(36);
    lblDevices->setBuddy(cboDevices_);
    auto *cmdRefresh = new QPushButton(QStringLiteral("Neu einlesen"), fraSettings_);
    cmdRefresh->setObjectName(QStringLiteral("cmdRefresh"));
    cmdRefresh->setAutoDefault(false);
    cmdRefresh->setToolTip(QStringLiteral("Sucht die angeschlossenen seriellen Geräte erneut"));
    devicesRow->addWidget(lblDevices);
    devicesRow->addWidget(cboDevices_, 1);
    devicesRow->addWidget(cmdRefresh);
    grid->addLayout(devicesRow, 1, 0, 1, 3);

    // Left column: speed and transmission format.
    auto *left = new QVBoxLayout;
    auto *fraSpeed = Frame(QStringLiteral(" Baudrate "), "fraSpeed", fraSettings_);
    auto *speedLayout = new QVBoxLayout(fraSpeed);
    lists_[int(PortList::Speed)] = List("cboSpeed", fraSpeed);
    speedLayout->addWidget(lists_[int(PortList::Speed)]);
    left->addWidget(fraSpeed);
    auto *fraFormat = Frame(QStringLiteral("Übertragungsformat"), "fraFormat", fraSettings_);
    auto *format = new QFormLayout(fraFormat);
    lists_[int(PortList::DataBits)] = List("cboDataBits", fraFormat);
    lists_[int(PortList::Parity)] = List("cboParity", fraFormat);
    lists_[int(PortList::StopBits)] = List("cboStopBits", fraFormat);
    format->addRow(QStringLiteral("Datenbits:"), lists_[int(PortList::DataBits)]);
    format->addRow(QStringLiteral("Parität:"), lists_[int(PortList::Parity)]);
    format->addRow(QStringLiteral("Stopbits:"), lists_[int(PortList::StopBits)]);
    left->addWidget(fraFormat);
    left->addStretch(1);
    grid->addLayout(left, 2, 0);

    // Middle column: echo and handshaking.
    auto *middle = new QVBoxLayout;
    auto *fraEcho = Frame(QStringLiteral("&Echo"), "fraEcho", fraSettings_);
    auto *echoLayout = new QVBoxLayout(fraEcho);
    const QString echoTexts[] = {QStringLiteral("Aus"), QStringLiteral("Ein")};
    for (int i = 0; i < 2; ++i) {
        optEcho_[i] = new QRadioButton(echoTexts[i], fraEcho);
        optEcho_[i]->setObjectName(QStringLiteral("optEcho%1").arg(i));
        echoLayout->addWidget(optEcho_[i]);
        connect(optEcho_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && form_ && !syncing_)
                form_->SelectEcho(i == 1);
        });
    }
    middle->addWidget(fraEcho);
    auto *fraFlow = Frame(QStringLiteral("&Protokoll"), "fraFlow", fraSettings_);
    auto *flowLayout = new QVBoxLayout(fraFlow);
    const QString flowTexts[] = {QStringLiteral("Kein"), QStringLiteral("Xon/Xoff"),
                                 QStringLiteral("RTS"), QStringLiteral("Xon/RTS")};
    for (int i = 0; i < kFlowOptionCount; ++i) {
        optFlow_[i] = new QRadioButton(flowTexts[i], fraFlow);
        optFlow_[i]->setObjectName(QStringLiteral("optFlow%1").arg(i));
        flowLayout->addWidget(optFlow_[i]);
        connect(optFlow_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on && form_ && !syncing_)
                form_->SelectFlow(i);
        });
    }
    middle->addWidget(fraFlow);
    middle->addStretch(1);
    grid->addLayout(middle, 2, 1);

    // Right column: OK and Abbrechen on top, the scan at the bottom.
    auto *right = new QVBoxLayout;
    cmdOK_ = new QPushButton(QStringLiteral("&OK"), fraSettings_);
    cmdOK_->setObjectName(QStringLiteral("cmdOK"));
    cmdOK_->setDefault(true);
    cmdCancel_ = new QPushButton(QStringLiteral("&Abbrechen"), fraSettings_);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setAutoDefault(false);
    lblNr_ = new QLabel(fraSettings_);
    lblNr_->setObjectName(QStringLiteral("lblNr"));
    QFont bold = lblNr_->font();
    bold.setBold(true);
    lblNr_->setFont(bold);
    lblNr_->setAlignment(Qt::AlignCenter);
    // Room for " 64" kept while the counter is hidden, so nothing jumps.
    QSizePolicy keepRoom = lblNr_->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    lblNr_->setSizePolicy(keepRoom);
    cmdTest_ = new QPushButton(QStringLiteral("&Test"), fraSettings_);
    cmdTest_->setObjectName(QStringLiteral("cmdTest"));
    cmdTest_->setAutoDefault(false);
    cmdTest_->setToolTip(QStringLiteral("Alle Schnittstellen 1 - 16 werden angesprochen"));
    right->addWidget(cmdOK_);
    right->addWidget(cmdCancel_);
    right->addStretch(1);
    right->addWidget(lblNr_);
    right->addWidget(cmdTest_);
    grid->addLayout(right, 2, 2);

    for (int l = 0; l < kPortListCount; ++l) {
        for (const std::string &entry : PortListEntries(PortList(l)))
            lists_[l]->addItem(FromCp1252(entry));
        connect(lists_[l], &QComboBox::currentIndexChanged, this, [this, l](int index) {
            if (!form_ || syncing_)
                return;
            form_->Select(PortList(l), index);
            if (PortList(l) == PortList::Port)
                ShowDevice();
        });
    }
    connect(txtDevice_, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (form_ && form_->ChosenPortNumber() > 0) {
            form_->EditDevice(form_->ChosenPortNumber(), ToCp1252(text));
            ShowDeviceChoices();
        }
    });
    connect(cboDevices_, &QComboBox::activated, this, &FrmProperties::OnDeviceChosen);
    connect(cmdRefresh, &QPushButton::clicked, this, [this] {
        if (!form_ || form_->Scanning())
            return;
        form_->RefreshDevices();
        ShowDeviceChoices();
    });
    connect(cmdOK_, &QPushButton::clicked, this, &FrmProperties::OnOk);
    connect(cmdCancel_, &QPushButton::clicked, this, &FrmProperties::reject);
    connect(cmdTest_, &QPushButton::clicked, this, &FrmProperties::OnTest);

    for (QWidget *w : findChildren<QWidget *>())
        if (!w->objectName().isEmpty() && !w->objectName().startsWith(QLatin1String("qt_")))
            w->setAccessibleDescription(w->objectName());
}

void FrmProperties::CentreOnScreen() {
    adjustSize();
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

void FrmProperties::Load() {
    form_ = std::make_unique<PortSettingsForm>(port_, store_, dialogs_, events_, devices_);
    CentreOnScreen();
    form_->Load();
    ShowForm();
}

void FrmProperties::Unload() {
    form_.reset();
    ShowForm();
}

// Brings every control in line with the dialog's state. Unloaded or with
// the load cut short, the lists are empty.
void FrmProperties::ShowForm() {
    syncing_ = true;
    const bool filled = form_ && form_->ListsBuilt();
    for (int l = 0; l < kPortListCount; ++l) {
        // An empty list stays empty until the next load; hiding the entries
        // keeps the control itself as it is.
        lists_[l]->setCurrentIndex(filled ? form_->Selected(PortList(l)) : -1);
        lists_[l]->setEnabled(filled);
    }
    // Loaded, the options show what OK applies; unloaded (never seen), the
    // controls keep their initial "Aus" and "Xon/Xoff".
    optEcho_[form_ && form_->EchoChoice() ? 1 : 0]->setChecked(true);
    optFlow_[form_ ? form_->FlowChoice() : 1]->setChecked(true);
    lblNr_->hide();
    syncing_ = false;
    ShowDevice();
}

void FrmProperties::ShowDevice() {
    const int number = form_ ? form_->ChosenPortNumber() : 0;
    txtDevice_->setEnabled(number > 0);
    txtDevice_->setText(number > 0 ? FromCp1252(form_->DeviceText(number)) : QString());
    txtDevice_->setPlaceholderText(number > 0 ? FromCp1252(DefaultDeviceFor(number)) : QString());
    ShowDeviceChoices();
}

// The device list for the chosen number; the entry its device means shows.
void FrmProperties::ShowDeviceChoices() {
    const int number = form_ ? form_->ChosenPortNumber() : 0;
    const bool wasSyncing = std::exchange(syncing_, true);
    cboDevices_->clear();
    if (number > 0) {
        const DeviceChoices choices = form_->DeviceChoicesFor(number);
        for (const DeviceChoice &choice : choices.entries) {
            const QString text = FromCp1252(choice.text);
            cboDevices_->addItem(text);
            cboDevices_->setItemData(cboDevices_->count() - 1, text, Qt::ToolTipRole);
        }
        cboDevices_->setCurrentIndex(choices.selected);
        // The open list is as wide as its longest entry.
        QAbstractItemView *view = cboDevices_->view();
        view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth() +
                              view->verticalScrollBar()->sizeHint().width());
    }
    cboDevices_->setEnabled(number > 0);
    syncing_ = wasSyncing;
}

void FrmProperties::OnDeviceChosen(int index) {
    const int number = form_ ? form_->ChosenPortNumber() : 0;
    if (syncing_ || number <= 0)
        return;
    form_->ChooseDevice(number, index);
    ShowDevice();
}

void FrmProperties::showEvent(QShowEvent *event) {
    if (form_) {
        form_->RefreshDevices();
        ShowDeviceChoices();
    }
    QDialog::showEvent(event);
}

void FrmProperties::ShowModal() {
    if (!IsLoaded())
        Load();
    exec();
}

std::string FrmProperties::ComStatus() const {
    return quandel::ComStatus(port_);
}

void FrmProperties::OnOk() {
    if (!form_ || form_->Scanning())
        return;
    if (form_->Ok()) {
        ShowDevice(); // the stored device, now without the edit
        accept();     // hidden, still loaded
    }
}

void FrmProperties::reject() {
    if (form_ && form_->Scanning())
        return; // the scan finishes first
    Unload();
    QDialog::reject();
}

void FrmProperties::SetInputsEnabled(bool enabled) {
    for (QWidget *w : fraSettings_->findChildren<QWidget *>())
        if (w != lblNr_)
            w->setEnabled(enabled);
}

void FrmProperties::OnTest() {
    if (!form_ || form_->Scanning())
        return;
    SetInputsEnabled(false);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    form_->Scan([this](bool visible, const std::string &text) {
        lblNr_->setText(FromCp1252(text));
        lblNr_->setVisible(visible);
        if (!visible)
            QGuiApplication::restoreOverrideCursor();
    });
    SetInputsEnabled(true);
    form_->RefreshDevices(); // the scan may have taken a while
    ShowForm();              // the lists stay as they were; their enabled state follows the load
}

} // namespace quandel
