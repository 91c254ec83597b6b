// The text encoding of the send and receive boxes: each offered set both ways, refusal of what
// a set cannot carry, the locale's default, and the one choice the two context menus share.
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <QMenu>

#include "app/locale_text.h"
#include "app/text_encoding.h"
#include "gui_test_util.h"
#include "support/loopback.h"

namespace velkaro::test {
namespace {

QByteArray Hex(const char* hex) {
    return QByteArray::fromHex(hex);
}

TEST(TextEncoding, EachSetEncodesAndDecodesExactly) {
    const struct {
        QByteArray charset;
        QString text;
        QByteArray bytes;
    } cases[] = {
        {"GB18030", "中文", Hex("D6D0CEC4")},      {"GB18030", "€é", Hex("A2E3A8A6")},
        {"UTF-8", "中文", Hex("E4B8ADE69687")},    {"Big5", "中文", Hex("A4A4A4E5")},
        {"Shift_JIS", "日本ｱ", Hex("93FA967BB1")}, {"windows-1252", "café €", Hex("636166E92080")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charset.toStdString());
        QString unencodable = "untouched";
        const auto bytes = EncodeExactly(c.text, c.charset, &unencodable);
        ASSERT_TRUE(bytes.has_value());
        EXPECT_EQ(bytes->toHex(), c.bytes.toHex());
        ReceivedTextDecoder decoder(c.charset);
        EXPECT_EQ(decoder.Decode(c.bytes.constData(), c.bytes.size()), c.text);
    }
    for (const TextEncoding& encoding : TextEncodings())
        EXPECT_TRUE(EncodeExactly("^XA\r\n", encoding.name, nullptr)) << encoding.name.data();
}

TEST(TextEncoding, TheFirstCharacterASetCannotCarryIsNamedAndNothingEncoded) {
    const struct {
        QByteArray charset;
        QString text;
        QString first;
    } cases[] = {
        {"windows-1252", "ab中文", "中"},
        {"Shift_JIS", "日本한국", "한"},
        {"Big5", "中文한", "한"},
        {"GB18030", QString("ok") + QChar(0xDC00), QString(QChar(0xDC00))},  // a lone surrogate
        {"UTF-8", QString("a") + QChar(0xD800) + "b", QString(QChar(0xD800))},
        {"windows-1252", "x😀", "😀"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.charset.toStdString());
        QString unencodable;
        EXPECT_FALSE(EncodeExactly(c.text, c.charset, &unencodable).has_value());
        EXPECT_EQ(unencodable, c.first);
    }
    EXPECT_EQ(UnencodableMessage("中", "windows-1252"),
              "字符“中”（U+4E2D）无法用发送编码 Windows-1252 (Latin-1) 表示，没有发送任何数据。");
}

TEST(TextEncoding, ChineseLocalesStartWithGb18030AndOthersWithUtf8) {
    EXPECT_EQ(DefaultTextEncoding(QLocale("zh_CN")), "GB18030");
    EXPECT_EQ(DefaultTextEncoding(QLocale("zh_TW")), "GB18030");
    EXPECT_EQ(DefaultTextEncoding(QLocale("en_US")), "UTF-8");
    EXPECT_EQ(DefaultTextEncoding(QLocale::c()), "UTF-8");
}

// Picks `label` from the submenu titled `title`; records the checked item.
std::function<QAction*(QMenu&)> Choose(const QString& title, const QString& label,
                                       QString* checked = nullptr) {
    return [=](QMenu& menu) -> QAction* {
        for (QAction* top : menu.actions()) {
            if (top->text() != title || !top->menu()) continue;
            QAction* found = nullptr;
            for (QAction* item : top->menu()->actions()) {
                if (item->isChecked() && checked) *checked = item->text();
                if (item->text() == label) found = item;
            }
            return found;
        }
        return nullptr;
    };
}

class EncodingWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        w.ChooseKind("ETHERNET");
        w.dialog->m_strIPAddress = kLoopback;
        w.dialog->m_strIPPort = QString::fromStdString(printer.Port());
        w.Click(IDC_OPEN_PORT);
        peer = printer.Accept(2000);
        ASSERT_TRUE(peer);
    }
    LoopbackListener printer;
    WindowFixture w;
    UniqueFd peer;
};

TEST_F(EncodingWindowTest, OneChoiceInBothMenusGovernsSendingAndShowing) {
    QString checked;
    w.ui.onMenu = Choose("发送编码", "GB18030 (GBK/GB2312)", &checked);
    w.dialog->OnSendBoxMenu({5, 5});
    EXPECT_EQ(checked, "UTF-8");
    EXPECT_EQ(w.dialog->Charset(), "GB18030");

    w.SendBox()->setPlainText("中文\n");
    w.Click(IDC_SEND_DATA);
    EXPECT_EQ(QByteArray::fromStdString(ReadFrom(peer.Get(), 7, 500)).toHex(), "d6d0cec40d0a");
    ASSERT_EQ(::send(peer.Get(), "\xD6\xD0\xCE\xC4", 4, 0), 4);
    EXPECT_TRUE(WaitUntil([&] { return w.ReceivedText() == "中文"; }))
        << w.ReceivedText().toStdString();

    // The receive box's menu shows the same choice and changes it for both directions; what is
    // shown is decoded again in the new set.
    w.ui.onMenu = Choose("显示编码", "Big5", &checked);
    w.dialog->OnReceiveBoxMenu({5, 5});
    EXPECT_EQ(checked, "GB18030 (GBK/GB2312)");
    ASSERT_EQ(::send(peer.Get(), "\xA4\xA4", 2, 0), 2);
    EXPECT_TRUE(WaitUntil([&] { return w.ReceivedText().endsWith("中") && !w.ReceivedText().startsWith("中文"); }))
        << w.ReceivedText().toStdString();
    w.SendBox()->setPlainText("中");
    w.Click(IDC_SEND_DATA);
    EXPECT_EQ(QByteArray::fromStdString(ReadFrom(peer.Get(), 3, 500)).toHex(), "a4a4");
    EXPECT_TRUE(w.ui.messages.empty());
}

TEST_F(EncodingWindowTest, TextTheChoiceCannotCarryIsRefusedAndNothingSent) {
    w.dialog->SetCharset("windows-1252");
    w.SendBox()->setPlainText("Preis: 5€ – 中");
    w.Click(IDC_SEND_DATA);
    ASSERT_EQ(w.ui.MessageTexts().size(), 1);
    EXPECT_TRUE(w.ui.MessageTexts()[0].contains("“中”")) << w.ui.MessageTexts()[0].toStdString();
    EXPECT_EQ(ReadFrom(peer.Get(), 1, 300), "");
}

}  // namespace
}  // namespace velkaro::test
