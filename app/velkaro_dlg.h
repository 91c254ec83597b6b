// The main window: connection choice and settings, opening, sending, the receive box, the
// sample menus, help, the update notice and the stay-on-top pin.
#pragma once

#include <QDialog>
#include <QIcon>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "window_services/port_event.h"
#include "connections/parallel_port.h"
#include "connections/serial_port.h"
#include "connections/socket_comm.h"
#include "connections/usb_port.h"
#include "samples/sample_commands.h"
#include "support/http_download.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;

namespace velkaro {

class CXTHyperLink;
class IUiServices;
class PrinterStatusWindow;
class LabelPreviewWindow;
struct StartOptions;
class ReceiveView;
class ResizeAnchors;
class Transfer;
class TransferRow;

// Where the program finds devices and its update file; tests point these elsewhere.
struct DialogEnvironment {
    std::string deviceFolder = "/dev";
    std::string sysfsRoot = "/sys";
    QString updateUrl;   // empty: no update check
    QByteArray charset;  // empty: GB18030 under a Chinese locale, else UTF-8
    int connectTimeoutMs = CSocketComm::kDefaultConnectTimeoutMs;
};

// Control ids of the main window.
enum MainControl {
    IDC_PORT_TYPE = 1000,
    IDC_PORT_SETUP = 1001,
    IDC_OPEN_PORT = 1002,
    IDC_RECEIVE = 1010,
    IDC_HEX = 1011,
    IDC_CLEAR_RECEIVE = 1012,
    IDC_SEND_BOX = 1013,
    IDC_SEND_DATA = 1014,
    IDC_STATUS = 1015,
    IDC_HELP = 1016,
    IDC_UPDATE_LINK = 1018,
    IDC_TOPMOST = 1019,
    IDC_SEND_FILE = 1022,
    IDC_ZPL = 1023,
    IDC_EPL = 1024,
    IDC_CPCL = 1025,
    IDC_PORT_GROUP = 1026,
    IDC_PRINTER_STATUS = 1027,
    IDC_PREVIEW = 1028,
};

class CVelkaroDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CVelkaroDlg(IUiServices& ui, DialogEnvironment environment = {},
                         QWidget* parent = nullptr);
    ~CVelkaroDlg() override;

    // Handlers, public so that tests drive them as a user would.
    void OnCbnSelchangePortType();
    void OnBnClickedPortSetup();
    void OnBnClickedOpenPort();
    void OnBnClickedSendData();
    void OnBnClickedSendFile();
    void OnBnClickedClearReceive();
    void OnBnClickedTopMost();
    void OnBnClickedHelp();
    void OnBnClickedZpl();
    void OnBnClickedEpl();
    void OnBnClickedCpcl();
    void OnAbout();
    void OnBnClickedPrinterStatus();
    // "预览": shows or hides the "标签预览" window, created on first use.
    void OnBnClickedPreview();
    void PutSampleCommand(const QString& strCommand);
    // Chooses and opens the connection the command line asks for.
    void ApplyStartOptions(const StartOptions& options);
    void OnBnClickedStopSending();
    // Every send of the window goes through here: `bytes`, or the file at `filePath` streamed
    // from disk when it is given. Reports what goes wrong; true when queued.
    bool SendToPrinter(const QByteArray& bytes, const QString& filePath = QString());

    void UpdateStatus();
    void ClosePorts();
    void UpdateData(bool save);

    // State, readable by tests.
    const QString& PortType() const { return m_strPortType; }
    bool PortOpen() const { return m_bPortOpen != 0; }
    bool TopMost() const { return m_bTopMost != 0; }
    const QString& Status() const { return m_strStatus; }
    ReceiveView& Receiver() { return *m_pReceiveView; }
    PrinterStatusWindow* StatusWindow() const { return m_pStatusWindow; }
    // Bytes written to the device and received on the current connection.
    std::uint64_t BytesSent();
    std::uint64_t BytesReceived() const { return m_nBytesReceived; }
    // The text encoding of the send and receive boxes, as their context menus choose it.
    const QByteArray& Charset() const { return m_charset; }
    void SetCharset(const QByteArray& charset);
    void OnSendBoxMenu(const QPoint& at);
    void OnReceiveBoxMenu(const QPoint& at);
    LabelPreviewWindow* PreviewWindow() const { return m_pPreview; }

    // Settings of each kind, as the settings dialogs list them.
    QString m_strComPort = QStringLiteral("COM1");
    QString m_strBaudRate = QStringLiteral("9600");
    QString m_strParity = QStringLiteral("NONE");
    QString m_strDataBits = QStringLiteral("8");
    QString m_strStopBits = QStringLiteral("1");
    QString m_strLptPort = QStringLiteral("LPT1");
    std::vector<tagUSBDevice> m_arrUSBDevice;
    int m_nUSBIndex = 0;
    QString m_strIPAddress;
    QString m_strIPPort;

    CASYNSerialPort& SerialPort() { return m_SerialPort; }
    CParallelPort& ParallelPort() { return m_ParallelPort; }
    CUSBPort& USBPort() { return m_USBPort; }
    CSocketComm& SocketComm() { return m_SocketComm; }

  protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Enter and Escape never end this window.
    void accept() override {}
    void reject() override {}

  private:
    void OnInitDialog();
    void BuildControls();
    void ConnectHandlers();
    void ConnectTextBoxMenus();
    void OnPortData(const PortMessage& message);
    void OnSocketClosed(const PortMessage& message);
    void OnUpdateDone(const PortMessage& message);
    void OnTransferProgress(const PortMessage& message);
    void OnTransferDone(const PortMessage& message);
    void OnDeviceLost(const PortMessage& message);
    // The current kind's sender and connection number.
    Transfer& ActiveSender();
    std::uint64_t ActiveConnection() const;
    bool IsActiveTransfer(const PortMessage& message);
    void RefreshTransferRow();
    // Before an action that ends the connection: true to go on now. With bytes still queued it
    // asks first; "等待发送完成" runs `action` once the queue has drained, "放弃发送" drops them.
    bool ConfirmDropQueued(std::function<void()> action);
    void ResetCounters();
    void CheckForUpdate();
    void ShowError(const QString& text);

    // Each kind's branch.
    QString KindStatusText(bool* withSuffix) const;
    void OnKindChosen();
    void OpenSerialPort();
    void OpenParallelPort();
    void OpenUSBPort();
    void OpenNetworkPort();
    const tagUSBDevice* ChosenUSBDevice() const;
    void SetupSerialPort();
    void SetupParallelPort();
    void SetupUSBPort();
    void SetupNetworkPort();
    void PopupSamples(PrinterLanguage language, int buttonId);
    void BuildStatusWindow();
    QAction* AddPrinterStatusItem(QMenu& menu);
    // Runs blocking work off the window's thread while the window keeps painting; "打开端口"
    // and Escape call `cancel` meanwhile.
    bool RunWithoutFreezing(const std::function<bool()>& work, const std::function<void()>& cancel);
    void CancelConnect();

    IUiServices& m_ui;
    const DialogEnvironment m_env;
    QByteArray m_charset;
    PostingPortOwner m_PortOwner{this};  // outlives the ports below, which post through it
    QIcon m_hIcon;
    CASYNSerialPort m_SerialPort;
    CParallelPort m_ParallelPort;
    CUSBPort m_USBPort;
    CSocketComm m_SocketComm;
    QString m_strSendData;
    QString m_strPortType = QStringLiteral("COM");
    QString m_strStatus = QStringLiteral("当前状态：");
    int m_bPortOpen = 0;
    std::uint64_t m_nSocketConnection = 0;  // the network connection the window shows as open
    CHttpDownload m_HttpDownload;
    int m_bTopMost = 1;
    bool m_bConnecting = false;
    bool m_bConnectCancelled = false;
    bool m_bCloseRequested = false;

    // Controls, owned by the window.
    QComboBox* m_cmbPortType = nullptr;
    QLabel* m_lblStatus = nullptr;
    QPlainTextEdit* m_edtSend = nullptr;
    QGroupBox* m_grpPort = nullptr;
    CXTHyperLink* m_lnkUpdate = nullptr;
    QPushButton* m_btnTopMost = nullptr;
    ReceiveView* m_pReceiveView = nullptr;
    LabelPreviewWindow* m_pPreview = nullptr;  // owned by the window as its child
    ResizeAnchors* m_pAnchors = nullptr;
    PrinterStatusWindow* m_pStatusWindow = nullptr;
    std::unique_ptr<TransferRow> m_pTransferRow;
    std::uint64_t m_nBytesSentBefore = 0;  // by the transfers of this connection that ended
    std::uint64_t m_nBytesReceived = 0;
    int m_nOwnStops = 0;  // transfers the window stopped and reported itself
    std::function<void()> m_fnAfterDrain;  // the action waiting for the queue to drain
};

}  // namespace velkaro
