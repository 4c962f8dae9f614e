// The transport: port numbering and listing, the in-memory backend, a real pseudo-terminal.
#include "link/TSerial.h"

#include <QSerialPort>
#include <QtTest>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {
TPortInfo Port(const QString &loc, bool ftdi, const QString &desc = {}, const QString &serial = {}) {
    TPortInfo p;
    p.SystemLocation = loc;
    p.PortName = loc.mid(loc.lastIndexOf('/') + 1);
    p.Description = desc;
    p.SerialNumber = serial;
    p.HasVendor = ftdi;
    p.Vendor = ftdi ? FtdiVendorId : 0;
    return p;
}
} // namespace

class TestSerial : public QObject {
    Q_OBJECT
private slots:
    void numbering() {
        QCOMPARE(PortNumberOfDevice("/dev/ttyS0"), 1);
        QCOMPARE(PortNumberOfDevice("ttyS7"), 8);
        QCOMPARE(PortNumberOfDevice("/dev/ttyUSB0"), 101);
        QCOMPARE(PortNumberOfDevice("/dev/ttyACM2"), 303);
        QCOMPARE(PortNumberOfDevice("/dev/rfcomm1"), 502);
        QCOMPARE(PortNumberOfDevice("/dev/pts/3"), 704);
        QCOMPARE(PortNumberOfDevice("/dev/ttyUSBx"), 0);
        QCOMPARE(PortNumberOfDevice("/dev/ttyS"), 0);
        QCOMPARE(PortNumberOfDevice("/dev/pts/99999"), 0);
        QCOMPARE(PortNumberOfDevice("/dev/video0"), 0);
        for (int n = 1; n < FtdiPortBase; ++n) {
            const QString path = DevicePathOfNumber(n);
            if (!path.isEmpty()) QCOMPARE(PortNumberOfDevice(path), n);
        }
        QVERIFY(DevicePathOfNumber(0).isEmpty());
        QVERIFY(DevicePathOfNumber(FtdiPortBase).isEmpty());
    }

    void listingFtdiFirstOnce() {
        const QList<TPortInfo> ports = {Port("/dev/ttyS0", false), Port("/dev/ttyUSB1", true, "FT232R", "A1"),
                                        Port("/dev/ttyUSB0", true), Port("/dev/ttyACM0", false),
                                        Port("/dev/weird", false)};
        const auto e = PortMenuEntries(ports, 1025, false);
        QCOMPARE(e.size(), 5);
        // FTDI converters by system location: ttyUSB0 is index 0 (no texts), ttyUSB1 index 1.
        QCOMPARE(e[0].Caption, QString("FTDI 0"));
        QCOMPARE(e[0].Tag, 1024);
        QCOMPARE(e[1].Caption, QString("FT232R - A1 (*)")); // selected while closed
        QCOMPARE(e[1].Tag, 1025);
        QVERIFY(e[1].AutoCheck);
        QCOMPARE(e[2].Caption, QString("ttyS0"));
        QCOMPARE(e[2].Tag, 1);
        QCOMPARE(e[3].Tag, 301);
        QCOMPARE(e[4].Tag, 0); // a name whose number cannot be read
        for (const auto &x : e)
            QVERIFY(!x.Checked);

        const auto c = PortMenuEntries(ports, 1, true);
        QVERIFY(c[2].Checked);
        QVERIFY(!c[2].Caption.contains("(*)"));
        QVERIFY(!c[4].Checked);
    }

    void defaultsAndClick() {
        TSerial s;
        QCOMPARE(s.PortNumber, 1024);
        QCOMPARE(s.BaudRate, 38400);
        QCOMPARE(s.DataBits, 8);
        QCOMPARE(s.StopBits, 1);
        auto mem = std::make_shared<TMemoryPort>();
        s.UseBackend(mem);
        s.PortNumber = 0;
        QVERIFY(s.PortOpen(-1));
        QCOMPARE(s.PortNumber, 1); // a stored number below 1 becomes 1
        QCOMPARE(int(s.JustOpened), 1);
        QCOMPARE(s.PortOnClick(0), -1); // connected: the user disconnects
        QVERIFY(!s.PortConnected());
        QCOMPARE(int(s.JustOpened), 0);
        QCOMPARE(s.PortOnClick(-1), 0); // and connects again
        QVERIFY(s.PortConnected());
        QCOMPARE(s.PortOnClick(101), 0);
        QCOMPARE(s.PortNumber, 101);
        QCOMPARE(mem->OpenCount, 3);
    }

    void memoryBackendFailure() {
        TSerial s;
        auto mem = std::make_shared<TMemoryPort>();
        s.UseBackend(mem);
        QCOMPARE(s.PortInQueCount(), -1); // nothing open
        uint8_t b[4];
        QCOMPARE(s.PortRead(b, 4), -1);
        QVERIFY(s.PortOpen(5));
        mem->Rx = "abc";
        QCOMPARE(s.PortInQueCount(), 3);
        QCOMPARE(s.PortRead(b, 2), 2);
        QCOMPARE(s.PortInQueCount(), 1);
        mem->Fail = true;
        QVERIFY(!s.PortConnected());
        QCOMPARE(s.PortRead(b, 1), -1);
        QCOMPARE(s.PortWrite(b, 1), -1);
        mem->RefuseOpen = true;
        QVERIFY(!s.PortOpen(-1));
        QCOMPARE(int(s.JustOpened), 0);
    }

    void notACharacterDevice() {
        QTemporaryFile f;
        QVERIFY(f.open());
        TSerial s;
        QVERIFY(!s.PortOpenPath(f.fileName()));
        QVERIFY(!s.PortOpenPath("/nonexistent/tty"));
        QVERIFY(!s.PortConnected());
        QCOMPARE(s.PortInQueCount(), -1);
    }

    // Which of the usual causes kept a port closed, from the library's code, the file's existence
    // and the access check.
    void portFaultClassified() {
        struct Case {
            int error;
            bool exists;
            int access;
            TPortFault fault;
        };
        const QList<Case> cases = {
            {QSerialPort::DeviceNotFoundError, true, 0, TPortFault::Missing},
            {QSerialPort::OpenError, false, ENOENT, TPortFault::Missing},
            {QSerialPort::PermissionError, true, EACCES, TPortFault::Denied},
            {QSerialPort::PermissionError, true, EPERM, TPortFault::Denied},
            {QSerialPort::PermissionError, true, 0, TPortFault::Busy}, // lock file or exclusive flag
            {QSerialPort::OpenError, true, EBUSY, TPortFault::Busy},
            {QSerialPort::ResourceError, true, 0, TPortFault::Other},
        };
        for (const Case &c : cases)
            QCOMPARE(ClassifyPortFault(c.error, c.exists, c.access), c.fault);
        QVERIFY(
            PortFaultText(TPortFault::Denied).contains("sudo usermod -aG dialout $USER, then log in again"));
        QVERIFY(PortFaultText(TPortFault::Other, "I/O error").endsWith(": I/O error"));
    }

    // Real opens that fail: a missing device, a plain file, a terminal another program holds, and
    // one the user may not use; the reason is kept until the next open succeeds.
    void openFailuresSayWhy() {
        TSerial s;
        QVERIFY(!s.PortOpenPath("/nonexistent/ttyUSB0"));
        QCOMPARE(s.PortFault, TPortFault::Missing);
        QVERIFY(s.PortFaultReason().contains("does not exist"));
        QTemporaryFile f;
        QVERIFY(f.open());
        QVERIFY(!s.PortOpenPath(f.fileName()));
        QCOMPARE(s.PortFault, TPortFault::NotSerial);

        int master = -1, slave = -1;
        char name[128] = {};
        QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
        ::close(slave);
        const QString path = QString::fromLocal8Bit(name);
        {
            QSerialPort holder(path); // takes the port's lock, as any program using the library does
            QVERIFY(holder.open(QIODevice::ReadWrite));
            QVERIFY(!s.PortOpenPath(path));
            QCOMPARE(s.PortFault, TPortFault::Busy);
            QVERIFY(s.PortFaultReason().contains("busy"));
        }
        QVERIFY(s.PortOpenPath(path));
        QCOMPARE(s.PortFault, TPortFault::None);
        s.PortClose();

        // No permission: file modes do not stop root, so the try runs as an unprivileged user.
        QCOMPARE(::chmod(name, 0), 0);
        int fault = -1;
        if (::geteuid() != 0) {
            fault = s.PortOpenPath(path) ? 0 : int(s.PortFault);
        } else {
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
                TSerial t;
                ::_exit(t.PortOpenPath(path) ? 0 : int(t.PortFault));
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            fault = WEXITSTATUS(status);
        }
        QCOMPARE(fault, int(TPortFault::Denied));
        ::close(master);

        // The reason also comes through a backend that reports it.
        auto mem = std::make_shared<TMemoryPort>();
        mem->RefuseOpen = true;
        mem->RefuseWith = TPortFault::Denied;
        s.UseBackend(mem);
        QVERIFY(!s.PortOpen(3));
        QVERIFY(s.PortFaultReason().startsWith("permission denied: add yourself to the dialout group"));
    }

    void pseudoTerminal() {
        int master = -1, slave = -1;
        char name[128] = {};
        QCOMPARE(openpty(&master, &slave, name, nullptr, nullptr), 0);
        ::close(slave); // the transport opens the slave itself
        TSerial s;
        QVERIFY(s.PortOpenPath(QString::fromLocal8Bit(name)));
        QVERIFY(s.PortConnected());
        QCOMPARE(s.PortNumber, PortNumberOfDevice(QString::fromLocal8Bit(name)));

        const char out[] = "\x56\x01\x02\x03hello";
        QCOMPARE(::write(master, out, 9), ssize_t(9));
        QElapsedTimer t;
        t.start();
        while (s.PortInQueCount() < 9 && t.elapsed() < 5000)
            QThread::yieldCurrentThread();
        QCOMPARE(s.PortInQueCount(), 9);
        uint8_t in[16] = {};
        QCOMPARE(s.PortRead(in, 16), 9); // never more than is waiting, never blocks
        QCOMPARE(QByteArray(reinterpret_cast<char *>(in), 9), QByteArray(out, 9));
        QCOMPARE(s.PortRead(in, 16), 0);

        const uint8_t cmd[3] = {0x65, 0x00, 0x81};
        QCOMPARE(s.PortWrite(cmd, 3), 3);
        char got[8] = {};
        ssize_t n = 0;
        t.restart();
        fcntl(master, F_SETFL, O_NONBLOCK);
        while (n < 3 && t.elapsed() < 5000) {
            const ssize_t r = ::read(master, got + n, size_t(3 - n));
            if (r > 0) n += r;
        }
        QCOMPARE(n, ssize_t(3));
        QCOMPARE(QByteArray(got, 3), QByteArray("\x65\x00\x81", 3));

        // The other side goes away: the port reports failure instead of hanging.
        ::close(master);
        t.restart();
        bool lost = false;
        while (t.elapsed() < 5000) {
            const int q = s.PortInQueCount();
            if (q < 0 || !s.PortConnected()) {
                lost = true;
                break;
            }
        }
        QVERIFY(lost);
        QVERIFY(!s.PortConnected());
        s.PortClose();
    }
};

QTEST_GUILESS_MAIN(TestSerial)
#include "tst_link_serial.moc"
