#include "app/main_layout.h"

#include "app/velkaro_dlg.h"

namespace velkaro {

const DialogTemplate& MainDialogTemplate() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate layout{
        QStringLiteral("Velkaro"),
        10,
        522,
        352,
        {
            {IDC_PORT_GROUP, K::GroupBox, QT_TRANSLATE_NOOP("DialogLayout", "通讯端口"), 0, 2, 61, 51},
            {IDC_PORT_TYPE, K::ComboList, {}, 2, 11, 56, 40, QT_TRANSLATE_NOOP("DialogLayout", "连接方式")},
            {IDC_PORT_SETUP, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "端口设定"), 2, 31, 56, 18},
            {IDC_OPEN_PORT, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "打开端口"), 2, 58, 56, 18},
            {IDC_ZPL, K::PushButton, QStringLiteral("ZPL"), 2, 121, 56, 18},
            {IDC_EPL, K::PushButton, QStringLiteral("EPL"), 2, 163, 56, 18},
            {IDC_CPCL, K::PushButton, QStringLiteral("CPCL"), 2, 205, 56, 18},
            {IDC_PRINTER_STATUS, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "状态"), 2, 231, 56, 18},
            {IDC_PREVIEW, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "预览"), 2, 256, 56, 18},
            {IDC_HELP, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "帮助"), 2, 285, 56, 18},
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "数据接收"), 64, 2, 33, 8},
            {IDC_RECEIVE, K::MultiLineEdit, {}, 64, 11, 458, 151, QT_TRANSLATE_NOOP("DialogLayout", "数据接收")},
            {-1, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "数据发送"), 64, 172, 33, 8},
            {IDC_HEX, K::CheckBox, QT_TRANSLATE_NOOP("DialogLayout", "十六进制"), 403, 167, 48, 10, {}, true},
            {IDC_CLEAR_RECEIVE, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "清空接收区"), 451, 163, 56, 18},
            {IDC_SEND_BOX, K::MultiLineEdit, {}, 64, 182, 458, 151, QT_TRANSLATE_NOOP("DialogLayout", "数据发送")},
            {IDC_TOPMOST, K::PushButton, {}, 0, 337, 13, 14, QT_TRANSLATE_NOOP("DialogLayout", "窗口置顶")},
            {IDC_STATUS, K::Label, QT_TRANSLATE_NOOP("DialogLayout", "当前状态："), 15, 340, 183, 11},
            {IDC_UPDATE_LINK, K::Link, QT_TRANSLATE_NOOP("DialogLayout", "更新"), 205, 340, 148, 11},
            {IDC_SEND_FILE, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "发送文件"), 379, 334, 56, 18},
            {IDC_SEND_DATA, K::PushButton, QT_TRANSLATE_NOOP("DialogLayout", "发送数据"), 455, 334, 56, 18},
        }};
    // clang-format on
    return layout;
}

}  // namespace velkaro
