#include "app/main_layout.h"

#include "app/velkaro_dlg.h"

namespace velkaro {

const DialogTemplate& MainDialogTemplate() {
    using K = ControlKind;
    static const DialogTemplate layout{
        QStringLiteral("Velkaro"),
        10,
        522,
        352,
        {
            {IDC_PORT_GROUP, K::GroupBox, QStringLiteral("通讯端口"), 0, 2, 61, 51},
            {IDC_PORT_TYPE, K::ComboList, {}, 2, 11, 56, 40, QStringLiteral("连接方式")},
            {IDC_PORT_SETUP, K::PushButton, QStringLiteral("端口设定"), 2, 31, 56, 18},
            {IDC_OPEN_PORT, K::PushButton, QStringLiteral("打开端口"), 2, 58, 56, 18},
            {IDC_ZPL, K::PushButton, QStringLiteral("ZPL"), 2, 121, 56, 18},
            {IDC_EPL, K::PushButton, QStringLiteral("EPL"), 2, 163, 56, 18},
            {IDC_CPCL, K::PushButton, QStringLiteral("CPCL"), 2, 205, 56, 18},
            {IDC_PRINTER_STATUS, K::PushButton, QStringLiteral("状态"), 2, 231, 56, 18},
            {IDC_PREVIEW, K::PushButton, QStringLiteral("预览"), 2, 256, 56, 18},
            {IDC_HELP, K::PushButton, QStringLiteral("帮助"), 2, 285, 56, 18},
            {-1, K::Label, QStringLiteral("数据接收"), 64, 2, 33, 8},
            {IDC_RECEIVE, K::MultiLineEdit, {}, 64, 11, 458, 151, QStringLiteral("数据接收")},
            {-1, K::Label, QStringLiteral("数据发送"), 64, 172, 33, 8},
            {IDC_HEX, K::CheckBox, QStringLiteral("十六进制"), 403, 167, 48, 10, {}, true},
            {IDC_CLEAR_RECEIVE, K::PushButton, QStringLiteral("清空接收区"), 451, 163, 56, 18},
            {IDC_SEND_BOX, K::MultiLineEdit, {}, 64, 182, 458, 151, QStringLiteral("数据发送")},
            {IDC_TOPMOST, K::PushButton, {}, 0, 337, 13, 14, QStringLiteral("窗口置顶")},
            {IDC_STATUS, K::Label, QStringLiteral("当前状态："), 15, 340, 183, 11},
            {IDC_UPDATE_LINK, K::Link, QStringLiteral("更新"), 205, 340, 148, 11},
            {IDC_SEND_FILE, K::PushButton, QStringLiteral("发送文件"), 379, 334, 56, 18},
            {IDC_SEND_DATA, K::PushButton, QStringLiteral("发送数据"), 455, 334, 56, 18},
        }};
    return layout;
}

}  // namespace velkaro
