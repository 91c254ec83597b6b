<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>DialogLayout</name>
    <message>
        <source>通讯端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>连接方式</source>
        <translation>Connection</translation>
    </message>
    <message>
        <source>端口设定</source>
        <translation>Port Setup</translation>
    </message>
    <message>
        <source>打开端口</source>
        <translation>Open Port</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>数据接收</source>
        <translation>Received</translation>
    </message>
    <message>
        <source>数据发送</source>
        <translation>To send</translation>
    </message>
    <message>
        <source>十六进制</source>
        <translation>Hex</translation>
    </message>
    <message>
        <source>清空接收区</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>窗口置顶</source>
        <translation>Stay on top</translation>
    </message>
    <message>
        <source>当前状态：</source>
        <translation>Status: </translation>
    </message>
    <message>
        <source>更新</source>
        <translation>Update</translation>
    </message>
    <message>
        <source>发送文件</source>
        <translation>Send File</translation>
    </message>
    <message>
        <source>发送数据</source>
        <translation>Send Data</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Serial Port Settings</translation>
    </message>
    <message>
        <source>端口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>波特率</source>
        <translation>Baud</translation>
    </message>
    <message>
        <source>校验位</source>
        <translation>Parity</translation>
    </message>
    <message>
        <source>数据位</source>
        <translation>Data</translation>
    </message>
    <message>
        <source>停止位</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>确定</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>设备节点</source>
        <translation>Device node</translation>
    </message>
    <message>
        <source>网络端口设置</source>
        <translation>Network Port Settings</translation>
    </message>
    <message>
        <source>打印机IP地址</source>
        <translation>Printer IP</translation>
    </message>
    <message>
        <source>打印机端口</source>
        <translation>Printer port</translation>
    </message>
    <message>
        <source>并口设置</source>
        <translation>Parallel Port Settings</translation>
    </message>
    <message>
        <source>并口</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>USB口设置</source>
        <translation>USB Port Settings</translation>
    </message>
    <message>
        <source>打印机名称</source>
        <translation>Printer</translation>
    </message>
    <message>
        <source>关于 Velkaro</source>
        <translation>About Velkaro</translation>
    </message>
    <message>
        <source>Velkaro 图标</source>
        <translation>Velkaro icon</translation>
    </message>
    <message>
        <source>版权所有 (C) 2026 Velkaro 开发团队。保留所有权利。</source>
        <translation>Copyright (C) 2026 the Velkaro developers. All rights reserved.</translation>
    </message>
</context>
<context>
    <name>velkaro::CComPortSetupDlg</name>
    <message>
        <source>%1 没有对应的设备</source>
        <translation>%1 has no device</translation>
    </message>
    <message>
        <source>%1（%2）</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>存在</source>
        <translation>present</translation>
    </message>
    <message>
        <source>不存在</source>
        <translation>missing</translation>
    </message>
</context>
<context>
    <name>velkaro::CIPAddressCtrl</name>
    <message>
        <source>IP 地址第 %1 段</source>
        <translation>IP address part %1</translation>
    </message>
</context>
<context>
    <name>velkaro::CVelkaroDlg</name>
    <message>
        <source>当前状态：</source>
        <translation>Status: </translation>
    </message>
    <message>
        <source>无USB设备连接</source>
        <translation>No USB device connected</translation>
    </message>
    <message>
        <source> 打开</source>
        <translation> open</translation>
    </message>
    <message>
        <source> 关闭</source>
        <translation> closed</translation>
    </message>
    <message>
        <source>端口打开失败</source>
        <translation>The port could not be opened</translation>
    </message>
    <message>
        <source>没有USB打印设备连接！</source>
        <translation>No USB printer is connected!</translation>
    </message>
    <message>
        <source>USB端口打开失败</source>
        <translation>The USB port could not be opened</translation>
    </message>
    <message>
        <source>网络端口打开失败</source>
        <translation>The network port could not be opened</translation>
    </message>
    <message>
        <source>无数据可发送！</source>
        <translation>There is no data to send!</translation>
    </message>
    <message>
        <source>端口未打开！</source>
        <translation>The port is not open!</translation>
    </message>
    <message>
        <source>文件打开失败！</source>
        <translation>The file could not be opened!</translation>
    </message>
    <message>
        <source>文件太大，无法发送！没有发送任何数据。</source>
        <translation>The file is too large to send! Nothing was sent.</translation>
    </message>
    <message>
        <source>文件读取失败！没有发送任何数据。</source>
        <translation>The file could not be read! Nothing was sent.</translation>
    </message>
    <message>
        <source>最新版本下载：</source>
        <translation>Download the latest version: </translation>
    </message>
    <message>
        <source>窗口置顶：开</source>
        <translation>Stay on top: on</translation>
    </message>
    <message>
        <source>窗口置顶：关</source>
        <translation>Stay on top: off</translation>
    </message>
    <message>
        <source>关于 Velkaro(&amp;A)...</source>
        <translation>&amp;About Velkaro...</translation>
    </message>
</context>
<context>
    <name>velkaro::CommandLine</name>
    <message>
        <source>标签和条码打印机调试助手</source>
        <translation>Debugging assistant for label and barcode printers</translation>
    </message>
    <message>
        <source>界面语言：zh（中文）或 en（英文）；默认按系统语言</source>
        <translation>Language of the window: zh (Chinese) or en (English); by default the system language</translation>
    </message>
    <message>
        <source>--lang 只接受 zh 或 en，而不是“%1”</source>
        <translation>--lang takes zh or en, not &quot;%1&quot;</translation>
    </message>
</context>
<context>
    <name>velkaro::QtUiServices</name>
    <message>
        <source>提示信息</source>
        <translation>Message</translation>
    </message>
</context>
<context>
    <name>velkaro::SampleMenu</name>
    <message>
        <source>状态查询</source>
        <translation>Status Query</translation>
    </message>
    <message>
        <source>条码打印</source>
        <translation>Barcode Label</translation>
    </message>
    <message>
        <source>字符打印</source>
        <translation>Text Label</translation>
    </message>
    <message>
        <source>ZPL语言</source>
        <translation>ZPL</translation>
    </message>
    <message>
        <source>EPL菜单</source>
        <translation>EPL</translation>
    </message>
    <message>
        <source>CPCL菜单</source>
        <translation>CPCL</translation>
    </message>
</context>
</TS>
