#include "app/velkaro_dlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <thread>

#include "app/connect_gate.h"
#include "app/main_layout.h"
#include "app/receive_view.h"
#include "app/transfer_row.h"
#include "app/text_encoding.h"
#include "window_services/ui_services.h"
#include "support/about_dlg.h"
#include "support/program_strings.h"
#include "widgets/artwork.h"
#include "widgets/hyperlink.h"
#include "widgets/resize_anchors.h"
#include "window_services/ui_services.h"

namespace velkaro {

CVelkaroDlg::CVelkaroDlg(IUiServices& ui, DialogEnvironment environment, QWidget* parent)
    : QDialog(parent),
      m_ui(ui),
      m_env(std::move(environment)),
      m_charset(m_env.charset.isEmpty() ? DefaultTextEncoding() : m_env.charset),
      m_hIcon(AppIcon()) {
    m_SerialPort.SetDeviceFolder(m_env.deviceFolder);
    m_ParallelPort.SetOwner(&m_PortOwner);
    m_ParallelPort.SetDeviceFolder(m_env.deviceFolder);
    BuildControls();
    ConnectHandlers();
    OnInitDialog();
}

CVelkaroDlg::~CVelkaroDlg() = default;

void CVelkaroDlg::BuildControls() {
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    TemplateBuilder::Build(this, MainDialogTemplate());
    m_cmbPortType = Control<QComboBox>(this, IDC_PORT_TYPE);
    m_cmbPortType->addItems({QStringLiteral("COM"), QStringLiteral("LPT"), QStringLiteral("USB"),
                             QStringLiteral("ETHERNET")});
    m_lblStatus = Control<QLabel>(this, IDC_STATUS);
    m_edtSend = Control<QPlainTextEdit>(this, IDC_SEND_BOX);
    m_grpPort = Control<QGroupBox>(this, IDC_PORT_GROUP);
    m_lnkUpdate = Control<CXTHyperLink>(this, IDC_UPDATE_LINK);
    m_lnkUpdate->SetOpener([this](const QUrl& url) { m_ui.OpenUrl(url); });
    m_btnTopMost = Control<QPushButton>(this, IDC_TOPMOST);
    m_pReceiveView =
        ReceiveView::ReplaceEdit(Control<QPlainTextEdit>(this, IDC_RECEIVE), m_ui, m_charset);
    BuildStatusWindow();
}

void CVelkaroDlg::ConnectHandlers() {
    auto onClick = [this](int id, void (CVelkaroDlg::*handler)()) {
        connect(Control<QPushButton>(this, id), &QPushButton::clicked, this,
                [this, handler] { (this->*handler)(); });
    };
    onClick(IDC_PORT_SETUP, &CVelkaroDlg::OnBnClickedPortSetup);
    onClick(IDC_OPEN_PORT, &CVelkaroDlg::OnBnClickedOpenPort);
    onClick(IDC_CLEAR_RECEIVE, &CVelkaroDlg::OnBnClickedClearReceive);
    onClick(IDC_SEND_DATA, &CVelkaroDlg::OnBnClickedSendData);
    onClick(IDC_SEND_FILE, &CVelkaroDlg::OnBnClickedSendFile);
    onClick(IDC_ZPL, &CVelkaroDlg::OnBnClickedZpl);
    onClick(IDC_EPL, &CVelkaroDlg::OnBnClickedEpl);
    onClick(IDC_CPCL, &CVelkaroDlg::OnBnClickedCpcl);
    onClick(IDC_TOPMOST, &CVelkaroDlg::OnBnClickedTopMost);
    onClick(IDC_HELP, &CVelkaroDlg::OnBnClickedHelp);
    onClick(IDC_PRINTER_STATUS, &CVelkaroDlg::OnBnClickedPrinterStatus);
    onClick(IDC_PREVIEW, &CVelkaroDlg::OnBnClickedPreview);
    connect(m_cmbPortType, QOverload<int>::of(&QComboBox::activated), this,
            [this] { OnCbnSelchangePortType(); });
    ConnectTextBoxMenus();
}

void CVelkaroDlg::OnInitDialog() {
    UpdateData(false);
    setWindowIcon(m_hIcon);
    m_pAnchors = new ResizeAnchors(this);
    const struct {
        int id;
        QPointF topLeft, bottomRight;
    } anchors[] = {
        {IDC_RECEIVE, {0, 0}, {1, 0}},   {IDC_SEND_BOX, {0, 0}, {1, 1}},
        {IDC_TOPMOST, {0, 1}, {0, 1}},   {IDC_CLEAR_RECEIVE, {1, 0}, {1, 0}},
        {IDC_SEND_FILE, {1, 1}, {1, 1}}, {IDC_SEND_DATA, {1, 1}, {1, 1}},
        {IDC_STATUS, {0, 1}, {1, 1}},    {IDC_UPDATE_LINK, {1, 1}, {1, 1}},
    };
    for (const auto& a : anchors)
        m_pAnchors->SetAnchor(Control<QWidget>(this, a.id), a.topLeft, a.bottomRight);
    m_pTransferRow = std::make_unique<TransferRow>(this, *m_pAnchors, m_edtSend);
    connect(m_pTransferRow->StopButton(), &QPushButton::clicked, this,
            [this] { OnBnClickedStopSending(); });
    m_pAnchors->Activate();
    UpdateStatus();
    OnBnClickedTopMost();
    CheckForUpdate();
}

void CVelkaroDlg::UpdateData(bool save) {
    if (save) {
        m_strPortType = m_cmbPortType->currentText();
        m_strSendData = m_edtSend->toPlainText();
        return;
    }
    const int index = m_cmbPortType->findText(m_strPortType, Qt::MatchStartsWith);
    if (index >= 0) m_cmbPortType->setCurrentIndex(index);
    m_lblStatus->setText(m_strStatus);
    m_edtSend->setPlainText(m_strSendData);
}

void CVelkaroDlg::OnBnClickedTopMost() {
    m_bTopMost = m_bTopMost ? 0 : 1;
    m_btnTopMost->setIcon(m_bTopMost ? PinPressedIcon() : PinLyingIcon());
    m_btnTopMost->setIconSize(kPinSize);
    m_btnTopMost->setFlat(true);
    m_btnTopMost->setFocusPolicy(Qt::TabFocus);
    m_btnTopMost->setToolTip(m_bTopMost ? tr("窗口置顶：开") : tr("窗口置顶：关"));
    m_btnTopMost->setCheckable(true);
    m_btnTopMost->setChecked(m_bTopMost != 0);
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, m_bTopMost != 0);
    if (visible) {  // changing the flag re-creates the native window, which hides it
        show();
        raise();
        activateWindow();
    }
    m_btnTopMost->update();
}

bool CVelkaroDlg::event(QEvent* event) {
    switch (static_cast<int>(event->type())) {
        case WM_SERIAL_DATA:
        case WM_USB_DATA:
        case WM_SOCKET_DATA:
            OnPortData(static_cast<PortEvent*>(event)->Message());
            return true;
        case WM_SOCKET_CLOSED:
            OnSocketClosed(static_cast<PortEvent*>(event)->Message());
            return true;
        case WM_UPDATE_DONE:
            OnUpdateDone(static_cast<PortEvent*>(event)->Message());
            return true;
        case WM_TRANSFER_PROGRESS:
            OnTransferProgress(static_cast<PortEvent*>(event)->Message());
            return true;
        case WM_TRANSFER_DONE:
            OnTransferDone(static_cast<PortEvent*>(event)->Message());
            return true;
        case WM_DEVICE_LOST:
            OnDeviceLost(static_cast<PortEvent*>(event)->Message());
            return true;
        default:
            return QDialog::event(event);
    }
}

void CVelkaroDlg::closeEvent(QCloseEvent* event) {
    if (m_bConnecting) {  // a connect attempt is running; close as soon as it has ended
        m_bCloseRequested = true;
        event->ignore();
        return;
    }
    if (!ConfirmDropQueued([this] { close(); })) {
        event->ignore();
        return;
    }
    event->accept();
    QDialog::done(QDialog::Rejected);
}

void CVelkaroDlg::contextMenuEvent(QContextMenuEvent* event) {
    // The window manager's menu is out of reach on Linux; the window's own menu carries the item.
    QMenu menu(this);
    QAction* about = AddAboutItem(menu, tr(kAboutMenuText));
    if (about && m_ui.PopupMenu(menu, event->globalPos()) == about) OnAbout();
}

void CVelkaroDlg::OnAbout() {
    CAboutDlg about(this);
    about.EmailLink()->SetOpener([this](const QUrl& url) { m_ui.OpenUrl(url); });
    m_ui.RunDialog(about);
}

void CVelkaroDlg::ShowError(const QString& text) {
    m_ui.MessageBox(this, text, IUiServices::Icon::Error);
}

bool CVelkaroDlg::RunWithoutFreezing(const std::function<bool()>& work,
                                     const std::function<void()>& cancel) {
    QEventLoop loop;
    ConnectGate gate(this, Control<QPushButton>(this, IDC_OPEN_PORT), cancel);
    bool result = false;
    m_bConnecting = true;
    std::thread worker([&] {
        result = work();
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    // Painting and port messages go on; of the user's input only the gate's way out counts.
    loop.exec();
    worker.join();
    m_bConnecting = false;
    if (m_bCloseRequested) QMetaObject::invokeMethod(this, "close", Qt::QueuedConnection);
    return result;
}

}  // namespace velkaro
