#include "support/about_dlg.h"

#include <QMenu>
#include <QPushButton>

#include "support/program_strings.h"
#include "widgets/dialog_template.h"
#include "widgets/hyperlink.h"

namespace velkaro {
namespace {

constexpr int IDC_EMAIL = 1027;

const DialogTemplate& Layout() {
    using K = ControlKind;
    // clang-format off
    static const DialogTemplate layout{
        QT_TRANSLATE_NOOP("DialogLayout", "关于 Velkaro"),
        9,
        268,
        72,
        {
            {-1, K::Icon, {}, 11, 25, 21, 21, QT_TRANSLATE_NOOP("DialogLayout", "Velkaro 图标")},
            {-1, K::Label, QStringLiteral("Velkaro ") + QString::fromUtf8(kProgramVersion), 47, 16,
             142, 8},
            {-1, K::Label, QString::fromUtf8(kRightsNotice), 47, 31, 142, 8},
            {1, K::DefaultButton, QT_TRANSLATE_NOOP("DialogLayout", "确定"), 211, 7, 50, 16},
            {IDC_EMAIL, K::Link, QStringLiteral("Email:"), 47, 46, 142, 8},
        }};
    // clang-format on
    return layout;
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent, const QString& contactAddress) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    TemplateBuilder::Build(this, Layout());
    setFixedSize(size());
    connect(Control<QPushButton>(this, 1), &QPushButton::clicked, this, &QDialog::accept);
    const QString address =
        contactAddress.isNull() ? QString::fromUtf8(kContactAddress) : contactAddress;
    m_lnkEmail = Control<CXTHyperLink>(this, IDC_EMAIL);
    m_lnkEmail->SetText(QStringLiteral("Email:") + address);
    m_lnkEmail->SetUnderline(false);
    m_lnkEmail->SetURL(QStringLiteral("mailto:") + address);
    m_lnkEmail->SetColors(Qt::black, Qt::black, QColor(255, 0, 0));
}

QAction* AddAboutItem(QMenu& menu, const QString& text) {
    if (text.isEmpty()) return nullptr;
    menu.addSeparator();
    return menu.addAction(text);
}

}  // namespace velkaro
