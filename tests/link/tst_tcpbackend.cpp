// The Wi-Fi adapter's link: which texts are TCP addresses, and TSerial over a TCP connection to a
// listener on 127.0.0.1 (connect, both directions, the peer going away, a refused connection).
#include "link/TSerial.h"
#include "link/TcpBackend.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

class TestTcpBackend : public QObject {
    Q_OBJECT
private slots:
    void addresses_data();
    void addresses();
    void exchangeAndPeerClosing();
    void refusedConnectionIsAClosedPort();
};

void TestTcpBackend::addresses_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::newRow("usual adapter") << "192.168.0.10:35000" << true << "192.168.0.10" << 35000;
    QTest::newRow("name") << "obd-link.local:23" << true << "obd-link.local" << 23;
    QTest::newRow("IPv6") << "[::1]:35000" << true << "::1" << 35000;
    QTest::newRow("port 0") << "10.0.0.1:0" << false << "" << 0;
    QTest::newRow("port too big") << "10.0.0.1:65536" << false << "" << 0;
    QTest::newRow("no port") << "192.168.0.10" << false << "" << 0;
    QTest::newRow("no host") << ":35000" << false << "" << 0;
    QTest::newRow("device path") << "/dev/ttyUSB0" << false << "" << 0;
    QTest::newRow("path with colon") << "/tmp/a:35000" << false << "" << 0;
    QTest::newRow("relative path") << "./x:1" << false << "" << 0;
    QTest::newRow("port number") << "704" << false << "" << 0;
    QTest::newRow("bare IPv6") << "::1:35000" << false << "" << 0;
    QTest::newRow("blank inside") << "host name:1" << false << "" << 0;
}

void TestTcpBackend::addresses() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(QString, host);
    QFETCH(int, port);
    TTcpAddress a;
    QCOMPARE(ParseTcpAddress(text, &a), valid);
    if (!valid) return;
    QCOMPARE(a.Host, host);
    QCOMPARE(int(a.Port), port);
}

void TestTcpBackend::exchangeAndPeerClosing() {
    QTcpServer server;
    QVERIFY(server.listen(QHostAddress::LocalHost, 0));
    const QString address = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());

    TSerial port;
    QVERIFY(port.PortOpenPath(address));
    QVERIFY(port.PortIsTcp());
    QCOMPARE(port.PortName, address);
    QVERIFY(port.PortConnected()); // connecting counts as open
    // Written while the connection is still being made: kept and sent once it is.
    const QByteArray atz = "ATZ\r";
    QCOMPARE(port.PortWrite(reinterpret_cast<const uint8_t *>(atz.constData()), int(atz.size())), 4);

    QVERIFY(server.waitForNewConnection(5000));
    QTcpSocket *peer = server.nextPendingConnection();
    QVERIFY(peer);
    QTRY_COMPARE_WITH_TIMEOUT(peer->bytesAvailable(), qint64(4), 5000);
    QCOMPARE(peer->readAll(), atz);

    peer->write("ELM327 v1.5\r\r>");
    QVERIFY(peer->waitForBytesWritten(5000));
    QTRY_COMPARE_WITH_TIMEOUT(port.PortInQueCount(), 14, 5000);
    uint8_t buf[64] = {};
    QCOMPARE(port.PortRead(buf, 5), 5);
    QCOMPARE(QByteArray(reinterpret_cast<char *>(buf), 5), QByteArray("ELM32"));
    port.PortPurgeRx();
    QCOMPARE(port.PortInQueCount(), 0);

    // The adapter goes away: the port reads as closed, as a vanished serial device does.
    peer->write("7E8 41 0C\r");
    QVERIFY(peer->waitForBytesWritten(5000));
    peer->disconnectFromHost();
    QTRY_VERIFY_WITH_TIMEOUT(!port.PortConnected(), 5000);
    QCOMPARE(port.PortWrite(buf, 1), -1);

    // Connect again (the user's Connect): the same address is opened anew.
    QVERIFY(port.PortOpen(-1));
    QVERIFY(server.waitForNewConnection(5000));
    QTRY_VERIFY_WITH_TIMEOUT(port.PortConnected() && port.PortInQueCount() == 0, 5000);
    port.PortClose();
    QCOMPARE(port.PortInQueCount(), -1);
}

void TestTcpBackend::refusedConnectionIsAClosedPort() {
    // A port that was free a moment ago: nothing listens there any more.
    quint16 free = 0;
    {
        QTcpServer s;
        QVERIFY(s.listen(QHostAddress::LocalHost, 0));
        free = s.serverPort();
    }
    TSerial port;
    port.PortOpenPath(QStringLiteral("127.0.0.1:%1").arg(free));
    QTRY_VERIFY_WITH_TIMEOUT(!port.PortConnected(), 5000);
    QCOMPARE(port.PortInQueCount(), -1);
    uint8_t b = 0;
    QCOMPARE(port.PortRead(&b, 1), -1);
}

QTEST_GUILESS_MAIN(TestTcpBackend)
#include "tst_tcpbackend.moc"
