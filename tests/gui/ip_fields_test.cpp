// What the user types into the four address fields of "网络端口设置" is the address the window
// connects to: each field a decimal number, leading zeros and all.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "gui_test_util.h"
#include "support/loopback.h"
#include "widgets/ip_address_edit.h"

namespace velkaro::test {
namespace {

// A listener on every local address, so that any 127.x.y.z reaches it and the accepted
// connection tells which address the window dialled.
class AnyAddressListener {
  public:
    AnyAddressListener() : fd_(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_in self{};
        self.sin_family = AF_INET;
        self.sin_addr.s_addr = htonl(INADDR_ANY);
        socklen_t size = sizeof self;
        if (::bind(fd_.Get(), reinterpret_cast<sockaddr*>(&self), size) != 0 ||
            ::listen(fd_.Get(), 4) != 0 ||
            ::getsockname(fd_.Get(), reinterpret_cast<sockaddr*>(&self), &size) != 0)
            throw std::runtime_error("listener failed");
        port_ = ntohs(self.sin_port);
    }
    QString Port() const { return QString::number(port_); }
    // The local address of the next accepted connection, empty when none came.
    std::string AcceptedAt() const {
        pollfd p{fd_.Get(), POLLIN, 0};
        if (::poll(&p, 1, 5000) <= 0) return {};
        UniqueFd peer(::accept4(fd_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
        sockaddr_in local{};
        socklen_t size = sizeof local;
        ::getsockname(peer.Get(), reinterpret_cast<sockaddr*>(&local), &size);
        return ::inet_ntoa(local.sin_addr);
    }

  private:
    UniqueFd fd_;
    std::uint16_t port_ = 0;
};

TEST(IpAddressFields, TypedFieldsAreTheAddressConnected) {
    const struct {
        const char* fields[4];
        const char* connected;
    } cases[] = {
        {{"127", "0", "10", "5"}, "127.0.10.5"},
        {{"127", "000", "010", "5"}, "127.0.10.5"},
        {{"127", "0", "08", "09"}, "127.0.8.9"},
        {{"127", "00", "0", "001"}, "127.0.0.1"},
    };
    AnyAddressListener printer;
    for (const auto& c : cases) {
        WindowFixture w;
        w.ChooseKind("ETHERNET");
        w.dialog->m_strIPPort = printer.Port();
        w.ui.onDialog = [&](QDialog& dialog) {
            auto* address = Control<CIPAddressCtrl>(&dialog, 1020);
            for (int i = 0; i < 4; ++i) {
                address->Field(i)->clear();
                QTest::keyClicks(address->Field(i), QString::fromLatin1(c.fields[i]));
            }
            Control<QPushButton>(&dialog, 1)->click();
            return dialog.result();
        };
        w.Click(IDC_PORT_SETUP);
        EXPECT_EQ(w.dialog->m_strIPAddress, QString::fromLatin1(c.connected)) << c.connected;
        w.Click(IDC_OPEN_PORT);
        EXPECT_TRUE(w.dialog->PortOpen()) << c.connected;
        EXPECT_EQ(printer.AcceptedAt(), c.connected);
    }
}

}  // namespace
}  // namespace velkaro::test
