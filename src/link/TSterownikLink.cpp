// The link half of the controller: the 25 ms tick, sending frames and collecting replies.
#include "device/TSesja.h"
#include "device/TSterownik.h"

#include <QCoreApplication>
#include <QFile>

TSterownik::TSterownik(QObject *owner) : TSerial(owner) {
    PortNumber = FtdiPortBase;
    FirmwareImage.assign(65536, 0);
    UtworzWykresy();
    KasujMnoznik();
    KasujKorOdObr();
    KasujKorekty();
    KasujWzbogacenie(); // enrichment / leaning starts neutral (128)
    WriteRequests = 0;  // the defaults are not something to send
    Sesja = std::make_unique<TSesja>(*this);

    Timer = new QTimer(this);
    Timer->setInterval(25);
    connect(Timer, &QTimer::timeout, this, [this] { Timer1OnTimer(); });
    Timer->start();
}

TSterownik::~TSterownik() {
    if (Timer) {
        Timer->stop();
        Timer->disconnect(this);
    }
    ZamnkijOscyloskop();
    PortClose();
}

void TSterownik::StopTimer() {
    if (Timer) Timer->stop();
}

void TSterownik::Log(const QString &text, uint32_t colour) {
    if (OnTekst) OnTekst(this, text, colour);
}

int TSterownik::Komunikat(const QString &text, int flags) {
    if (OnMessage) return OnMessage(text, flags);
    Log(text, KolorCzerwony);
    return (flags & 0x0F) == 4 ? 7 : 1; // no one to ask: "No" for questions, "OK" otherwise
}

uint8_t TSterownik::LosowyBajt() {
    return uint8_t(rng_() & 0xFF);
}

namespace {
// The longest frame takes about 140 ms at 38400 baud; a second without its end means it is lost.
constexpr int RxStallLimit = 40;
} // namespace

void TSterownik::Timer1OnTimer() {
    if (!PortConnected()) return;
    if (TickBusy) return; // a tick further up the call chain is still running (a modal box)
    if (JustOpened == 1) {
        JustOpened = 0;
        OtherRequests = ReqIdentify;
        FlashActive = 0;
        BootExpected = 0;
        FirmwareKasujKopie();
        Sesja->PoczatekLacza();
        Zdarzenie(3, 0, 0, 0);
    }
    TickBusy = 1;
    if (Timer && Timer->isActive()) Timer->start(25); // the next tick 25 ms after this point
    const int r = OdbiorRx();
    if (r != -2) {
        ++TickCount;
        RxStallTicks = 0;
    } else if (++RxStallTicks > RxStallLimit) {
        // A frame that stopped arriving (a lost byte, or noise that looked like a header with a
        // long payload) would otherwise hold the link silent until more bytes come.
        Log(QStringLiteral("  niepełna ramka"), KolorCzerwony);
        RxStage = RxExpected = 0;
        RxStallTicks = 0;
        PortPurgeRx();
        ++TickCount;
    }
    if (TickCount >= 4) {
        TickCount = 0;
        ++TxCycle;
        NadawanieTx();
    }
    TickBusy = 0;
}

void TSterownik::RamkaAll(uint8_t start, uint8_t command, int n) {
    if (!PortConnected()) return;
    if (Unanswered < 255) ++Unanswered;
    if (n < 0) n = 0;
    if (n > Frame::MaxPc - 4) n = Frame::MaxPc - 4;
    const int len = Frame::Seal(TxBuffer, start, command, n);
    if (OnTekst && ((command >> 4) != 9 || VerboseLog == 1))
        Log(QString::fromLatin1(Frame::Trace("  TX:", TxBuffer, len)), KolorCiemnoczerwony);
    Zdarzenie(1, command, len, 0);
    Frame::Scramble(TxBuffer, len, LinkKey);
    PortWrite(TxBuffer, len);
}

int TSterownik::OdbiorRx() {
    const int q = PortInQueCount();
    if (q < 1) return -1;
    if (RxStage == 0 && q < 4) return -1;
    if (RxStage + q >= 1024) {
        Log(QStringLiteral("  przekroczenie bufora"), KolorCzerwony);
        RxStage = RxExpected = 0;
        PortPurgeRx();
        return -1;
    }
    if (RxStage == 0) {
        if (PortRead(RxBuffer, 4) != 4) {
            RxStage = RxExpected = 0;
            PortPurgeRx();
            return -1;
        }
        RxStage = 4;
        if (RxBuffer[0] == Frame::StartReply || RxBuffer[0] == Frame::StartObd) {
            RxExpected = 2 * RxBuffer[2];
            return -2;
        }
        if (OnTekst) { // noise comes in bursts: its text is built only while someone reads the log
            static const char hex[] = "0123456789ABCDEF";
            QByteArray t("  brak bajtu startowego : ");
            for (int i = 0; i < 4; ++i)
                t.append(' ').append(hex[RxBuffer[i] >> 4]).append(hex[RxBuffer[i] & 15]);
            Log(QString::fromLatin1(t), KolorCzerwony);
        }
        RxStage = RxExpected = 0;
        PortPurgeRx();
        return -1;
    }
    if (RxStage == 4 && q >= RxExpected) {
        // The payload is at most 510 bytes, so it always fits behind the header.
        if (RxExpected > 0 && PortRead(RxBuffer + 4, RxExpected) != RxExpected) {
            RxStage = RxExpected = 0;
            PortPurgeRx();
            return -1;
        }
        const int len = RxExpected + 4;
        RxStage = RxExpected = 0;
        AnalizaOdbioru(len);
        return len;
    }
    return -2;
}
