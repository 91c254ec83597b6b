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
    <message>
        <source>状态</source>
        <translation>Status</translation>
    </message>
    <message>
        <source>预览</source>
        <translation>Preview</translation>
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
    <message>
        <source>打印机状态</source>
        <translation>Printer status</translation>
    </message>
    <message>
        <source>无法打开帮助文件</source>
        <translation>Cannot open the help file</translation>
    </message>
    <message>
        <source>当前状态：%1:%2 正在连接…</source>
        <translation>Status: %1:%2 connecting…</translation>
    </message>
    <message>
        <source>文件为空，没有发送任何数据。</source>
        <translation>The file is empty; nothing was sent.</translation>
    </message>
    <message>
        <source>打印机未接收数据，发送队列已满（16 MB），本次数据没有发送。</source>
        <translation>The printer is not taking data: the send queue is full (16 MB). Nothing of this send was sent.</translation>
    </message>
    <message>
        <source>文件打开失败！</source>
        <translation>Cannot open the file!</translation>
    </message>
    <message>
        <source>显示编码</source>
        <translation>Display encoding</translation>
    </message>
    <message>
        <source>发送编码</source>
        <translation>Send encoding</translation>
    </message>
    <message>
        <source>%1 / %2 字节</source>
        <translation>%1 / %2 bytes</translation>
    </message>
    <message>
        <source>已停止：已发送 </source>
        <translation>Stopped: sent </translation>
    </message>
    <message>
        <source>文件在发送中变短，发送已停止：已发送 </source>
        <translation>The file got shorter while it was sent; sending stopped: sent </translation>
    </message>
    <message>
        <source>文件读取失败，发送已停止：已发送 </source>
        <translation>Reading the file failed; sending stopped: sent </translation>
    </message>
    <message>
        <source>与打印机的连接已断开，%1 字节未送达。</source>
        <translation>The connection to the printer was lost; %1 bytes were not delivered.</translation>
    </message>
    <message>
        <source>与打印机的连接已断开，没有未送达的数据。</source>
        <translation>The connection to the printer was lost; no data was left undelivered.</translation>
    </message>
    <message>
        <source>已停止：已发送 %1 / %2 字节</source>
        <translation>Stopped: sent %1 / %2 bytes</translation>
    </message>
    <message>
        <source>还有 %1 字节尚未发送到打印机。
等待发送完成后继续，还是放弃这些数据？</source>
        <translation>%1 bytes have not been sent to the printer yet.
Wait until they are sent and then go on, or drop them?</translation>
    </message>
    <message>
        <source>等待发送完成</source>
        <translation>Wait until sent</translation>
    </message>
    <message>
        <source>放弃发送</source>
        <translation>Drop them</translation>
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
    <message>
        <source>选择网络端口 ADDR:PORT</source>
        <translation>Choose the network port ADDR:PORT</translation>
    </message>
    <message>
        <source>选择串口 COMn</source>
        <translation>Choose serial port COMn</translation>
    </message>
    <message>
        <source>串口波特率</source>
        <translation>Serial baud rate</translation>
    </message>
    <message>
        <source>选择并口 LPTn</source>
        <translation>Choose parallel port LPTn</translation>
    </message>
    <message>
        <source>启动时打开所选端口</source>
        <translation>Open the chosen port at start</translation>
    </message>
    <message>
        <source>多余的参数：%1</source>
        <translation>Extra arguments: %1</translation>
    </message>
</context>
<context>
    <name>velkaro::LabelPreviewWindow</name>
    <message>
        <source>自动</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>标签预览</source>
        <translation>Label preview</translation>
    </message>
    <message>
        <source>标签页</source>
        <translation>Label pages</translation>
    </message>
    <message>
        <source>标签</source>
        <translation>Label</translation>
    </message>
    <message>
        <source>预览状态</source>
        <translation>Preview state</translation>
    </message>
    <message>
        <source>未能识别的内容：</source>
        <translation>Not understood:</translation>
    </message>
    <message>
        <source>未能识别的内容</source>
        <translation>Not understood</translation>
    </message>
    <message>
        <source>分辨率</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>%1 点/毫米 (%2 dpi)</source>
        <translation>%1 dots/mm (%2 dpi)</translation>
    </message>
    <message>
        <source>宽</source>
        <translation>Width</translation>
    </message>
    <message>
        <source>高</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>单位</source>
        <translation>Unit</translation>
    </message>
    <message>
        <source>英寸</source>
        <translation>inch</translation>
    </message>
    <message>
        <source>毫米</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>缩放</source>
        <translation>Zoom</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>导出PNG…</source>
        <translation>Export PNG…</translation>
    </message>
    <message>
        <source>标签 %1</source>
        <translation>Label %1</translation>
    </message>
    <message>
        <source>%1（第 %2 字节）</source>
        <translation>%1 (byte %2)</translation>
    </message>
    <message>
        <source>%1：没有要打印的标签</source>
        <translation>%1: no label to print</translation>
    </message>
    <message>
        <source>%1：%2 张标签，%3 × %4 点</source>
        <translation>%1: %2 labels, %3 × %4 dots</translation>
    </message>
    <message>
        <source>没有要打印的标签</source>
        <translation>No label to print</translation>
    </message>
    <message>
        <source>PNG文件保存失败！</source>
        <translation>Saving the PNG file failed!</translation>
    </message>
</context>
<context>
    <name>velkaro::PrinterStatusWindow</name>
    <message>
        <source>打印机状态</source>
        <translation>Printer status</translation>
    </message>
    <message>
        <source>尚无状态：请按“查询”</source>
        <translation>No status yet: press “Query”</translation>
    </message>
    <message>
        <source>状态摘要</source>
        <translation>Status summary</translation>
    </message>
    <message>
        <source>语言</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>语言(&amp;L)：</source>
        <translation>&amp;Language:</translation>
    </message>
    <message>
        <source>SGD 变量</source>
        <translation>SGD variable</translation>
    </message>
    <message>
        <source>SGD 变量(&amp;V)：</source>
        <translation>SGD &amp;variable:</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>状态字段</source>
        <translation>Status fields</translation>
    </message>
    <message>
        <source>名称</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>含义</source>
        <translation>Meaning</translation>
    </message>
    <message>
        <source>请输入 SGD 变量名</source>
        <translation>Enter an SGD variable name</translation>
    </message>
    <message>
        <source>端口未打开</source>
        <translation>Port not open</translation>
    </message>
    <message>
        <source>正在查询…</source>
        <translation>Querying…</translation>
    </message>
    <message>
        <source>无应答</source>
        <translation>No reply</translation>
    </message>
    <message>
        <source>原始应答</source>
        <translation>Raw reply</translation>
    </message>
    <message>
        <source>无法解码</source>
        <translation>Cannot decode</translation>
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
    <name>velkaro::ReceiveFindBar</name>
    <message>
        <source>十六进制字节(&amp;X)</source>
        <translation>He&amp;x bytes</translation>
    </message>
    <message>
        <source>查找内容</source>
        <translation>Find what</translation>
    </message>
    <message>
        <source>上一个(&amp;P)</source>
        <translation>&amp;Previous</translation>
    </message>
    <message>
        <source>下一个(&amp;N)</source>
        <translation>&amp;Next</translation>
    </message>
    <message>
        <source>关闭查找</source>
        <translation>Close find</translation>
    </message>
    <message>
        <source>匹配数</source>
        <translation>Matches</translation>
    </message>
    <message>
        <source>查找(&amp;F):</source>
        <translation>&amp;Find:</translation>
    </message>
    <message>
        <source>十六进制有误</source>
        <translation>Invalid hex</translation>
    </message>
    <message>
        <source>无匹配</source>
        <translation>No match</translation>
    </message>
</context>
<context>
    <name>velkaro::ReceiveMenu</name>
    <message>
        <source>文件保存失败！</source>
        <translation>Saving the file failed!</translation>
    </message>
    <message>
        <source>文件打开失败！</source>
        <translation>Cannot open the file!</translation>
    </message>
    <message>
        <source>十六进制显示(&amp;H)</source>
        <translation>&amp;Hexadecimal view</translation>
    </message>
    <message>
        <source>显示时间戳(&amp;T)</source>
        <translation>Show &amp;timestamps</translation>
    </message>
    <message>
        <source>显示发送数据(&amp;S)</source>
        <translation>Show &amp;sent data</translation>
    </message>
    <message>
        <source>查找(&amp;F)…</source>
        <translation>&amp;Find…</translation>
    </message>
    <message>
        <source>保存接收数据(&amp;A)…</source>
        <translation>S&amp;ave received data…</translation>
    </message>
    <message>
        <source>记录到文件(&amp;L)…</source>
        <translation>&amp;Log to file…</translation>
    </message>
    <message>
        <source>视图保留 %1 MB</source>
        <translation>Keep %1 MB in view</translation>
    </message>
</context>
<context>
    <name>velkaro::ReceiveView</name>
    <message>
        <source>写入记录文件失败，记录已停止！</source>
        <translation>Writing the log file failed; logging stopped!</translation>
    </message>
    <message>
        <source>[为限制内存，已从视图顶部移除较早的 %1 字节]</source>
        <translation>[%1 older bytes removed from the top of the view to limit memory]</translation>
    </message>
    <message>
        <source>发→ </source>
        <translation>Sent→ </translation>
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
<context>
    <name>velkaro::TextEncoding</name>
    <message>
        <source>字符“%1”（U+%2）无法用发送编码 %3 表示，没有发送任何数据。</source>
        <translation>The character “%1” (U+%2) cannot be represented in the send encoding %3; nothing was sent.</translation>
    </message>
</context>
<context>
    <name>velkaro::TransferRow</name>
    <message>
        <source>发送进度</source>
        <translation>Send progress</translation>
    </message>
    <message>
        <source>停止发送</source>
        <translation>Stop sending</translation>
    </message>
    <message>
        <source>收发字节数</source>
        <translation>Bytes sent and received</translation>
    </message>
    <message>
        <source>%1 / %2 字节</source>
        <translation>%1 / %2 bytes</translation>
    </message>
    <message>
        <source> · %1/s · 剩余 %2</source>
        <translation> · %1/s · %2 left</translation>
    </message>
    <message>
        <source>发送 %1 字节 · 接收 %2 字节</source>
        <translation>Sent %1 bytes · received %2 bytes</translation>
    </message>
</context>
</TS>
