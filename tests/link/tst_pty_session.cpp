// A whole session over a real pseudo-terminal: the engine opens the slave side like a serial port,
// the scripted controller answers on the master side. Connect, identify, read every block, change
// one settings byte, write it, get the acknowledgement.
#include "support/ScriptedController.h"

#include <QElapsedTimer>
#include <QtTest>
#include <cerrno>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace {

class PtyPeer {
public:
    bool Open() {
        char name[128] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) return false;
        termios t{};
        if (tcgetattr(slave_, &t) == 0) {
            cfmakeraw(&t);
            tcsetattr(slave_, TCSANOW, &t);
        }
        ::close(slave_); // the engine opens the slave itself
        slave_ = -1;
        fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
        path_ = QString::fromLocal8Bit(name);
        return true;
    }
    ~PtyPeer() {
        if (master_ >= 0) ::close(master_);
    }
    QString Path() const { return path_; }

    // Reads what the engine wrote and answers it.
    void Serve(ScriptedController &ctl) {
        char buf[1024];
        QByteArray in;
        for (;;) {
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) break;
            in.append(buf, int(n));
        }
        if (in.isEmpty()) return;
        const QByteArray out = ctl.Handle(in);
        int done = 0;
        QElapsedTimer t;
        t.start();
        while (done < out.size() && t.elapsed() < 2000) {
            const ssize_t w = ::write(master_, out.constData() + done, size_t(out.size() - done));
            if (w > 0)
                done += int(w);
            else if (w < 0 && errno != EAGAIN && errno != EINTR)
                break;
        }
    }

private:
    int master_ = -1;
    int slave_ = -1;
    QString path_;
};

// Ticks the engine, letting the peer answer between ticks, until done() or the deadline.
template <typename Done> bool RunUntil(TSterownik &eng, PtyPeer &peer, ScriptedController &ctl, Done done) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20000) {
        eng.Timer1OnTimer();
        peer.Serve(ctl);
        if (done()) return true;
    }
    return false;
}

} // namespace

class TestPtySession : public QObject {
    Q_OBJECT
private slots:
    void session() {
        PtyPeer peer;
        QVERIFY(peer.Open());
        ScriptedController ctl;
        ctl.Block(0xA7).fill('\0'); // an empty change history

        TSterownik eng;
        eng.StopTimer();
        eng.UstawDateIdent(QDate(2025, 6, 2), 0xCAFEF00D);
        QList<QList<int>> events;
        eng.OnZdarzenie = [&events](int k, int a, int b, int c) { events.append({k, a, b, c}); };
        QVERIFY(eng.PortOpenPath(peer.Path()));
        QVERIFY(eng.PortConnected());

        // Connect, identify, read everything.
        QVERIFY(RunUntil(eng, peer, ctl, [&] {
            return eng.Identyfikacja[3] == 0x81 && eng.ReadRequests == 0 && eng.OtherRequests == 0;
        }));
        QCOMPARE(events.first(), (QList<int>{3, 0, 0, 0}));
        QVERIFY(!ctl.Received.isEmpty());
        QCOMPARE(ctl.Received.first().Code, uint8_t(0x81));
        QCOMPARE(ctl.BadFrames, 0);
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(eng.Identyfikacja + 6), 12),
                 QByteArray("TV2401234567"));
        const std::pair<uint8_t, int> reads[] = {
            {0xE8, BitNastawy}, {0xE9, BitMnoznik1},   {0xEA, BitMnoznik2},   {0xEB, BitKorObr1},
            {0xEC, BitKorObr2}, {0xE0, BitMapaA},      {0xE1, BitMapaB},      {0xE2, BitMapaC},
            {0xE3, BitMapaD},   {0xE4, BitMapaE},      {0xE5, BitMapaF},      {0xA7, BitHistoria},
            {0xA8, BitKorCis},  {0xA9, BitKorTempRed}, {0xAA, BitKorTempGazu}};
        for (const auto &[code, bit] : reads)
            QCOMPARE(QByteArray(reinterpret_cast<const char *>(eng.Blok(bit)), 256), ctl.Block(code));
        bool polled = false;
        for (const auto &e : events)
            polled |= e[0] == 0 && e[1] == 0x90;
        QVERIFY(polled);
        QCOMPARE(int(eng.StatusBytes[0]), 6); // work state of the last poll reply: on gas

        // Change one settings byte and write the block.
        eng.Nastawy[50] = uint8_t(eng.Nastawy[50] + 7);
        eng.ZapiszDoSterownika(1u << BitNastawy);
        QCOMPARE(eng.WriteRequests, 1u << BitNastawy);
        QVERIFY(RunUntil(eng, peer, ctl, [&] {
            return !eng.SettingsWritePending && eng.WriteRequests == 0 && eng.TxWait == 0 &&
                   ctl.Block(0xA7).at(0) != 0;
        }));
        const QByteArray written = ctl.Block(0xE8);
        QCOMPARE(uint8_t(written[50]), eng.Nastawy[50]);
        QCOMPARE(written.mid(1), QByteArray(reinterpret_cast<const char *>(eng.Nastawy + 1), 255));
        unsigned sum = 0;
        for (char c : written)
            sum += uint8_t(c);
        QCOMPARE(sum & 0xFF, 0u); // the controller got a block with a good checksum
        bool acknowledged = false;
        for (const auto &e : events)
            acknowledged |= e[0] == 0 && e[1] == 0xF8;
        QVERIFY(acknowledged);
        // The change went into the history, which was written after it.
        QCOMPARE(ctl.Block(0xA7).left(8), QByteArray("\x08\x19\x06\x02\xCA\xFE\xF0\x0D", 8));
        QCOMPARE(ctl.BadFrames, 0);
        QCOMPARE(eng.Unanswered <= 1, true);
        eng.PortClose();
    }
};

QTEST_GUILESS_MAIN(TestPtySession)
#include "tst_pty_session.moc"
