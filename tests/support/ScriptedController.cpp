#include "support/ScriptedController.h"

#include <cstring>

bool TFrameReader::Next(TPcFrame &out) {
    if (buf_.size() < 4) return false;
    const int len = 4 + 2 * uint8_t(buf_[2]);
    if (buf_.size() < len) return false;
    QByteArray f = buf_.left(len);
    buf_.remove(0, len);
    auto *p = reinterpret_cast<uint8_t *>(f.data());
    Frame::Unscramble(p, len, key_);
    out.Start = p[0];
    out.Code = p[3];
    out.Payload = f.mid(4);
    out.SumOk = Frame::Sum(p, len) == 0;
    return true;
}

QList<TPcFrame> TFrameReader::Parse(const QByteArray &bytes, uint8_t key) {
    TFrameReader r(key);
    r.Feed(bytes);
    QList<TPcFrame> all;
    TPcFrame f;
    while (r.Next(f))
        all.append(f);
    return all;
}

QByteArray ReplyFrame(uint8_t code, const QByteArray &payload, uint8_t start, uint8_t key) {
    return Frame::Build(start, code, payload, key);
}

QByteArray BlockReply(uint8_t code, const QByteArray &block256, uint8_t key) {
    QByteArray p(2, '\0');
    p[0] = char(0x5C);
    p.append(block256.left(256));
    if (p.size() < 258) p.append(QByteArray(258 - p.size(), '\0'));
    return ReplyFrame(code, p, 86, key);
}

QByteArray IdentPayload(int mode, int boardType, int variant, int injectors, int size) {
    QByteArray p(size, '\0');
    auto set = [&p](int frameOffset, int v) {
        if (frameOffset - 4 < p.size()) p[frameOffset - 4] = char(v);
    };
    set(5, mode);
    const char serial[] = "TV2401234567";
    for (int i = 0; serial[i]; ++i)
        set(6 + i, serial[i]);
    set(38, 2);
    set(42, boardType);
    set(43, variant);
    set(58, 3);
    set(59, injectors);
    set(60, 7);
    return p;
}

QByteArray PollPayload() {
    QByteArray p(88, '\0');
    SetFrameByte(p, 6, 0xFF);  // no record
    SetFrameByte(p, 10, 6);    // on gas
    SetFrameByte(p, 11, 3);    // ignition on, engine turning
    SetFrameByte(p, 17, 0x4C); // 760 rpm
    SetFrameByte(p, 22, 0x0F); // four channels on
    return p;
}

ScriptedController::ScriptedController(uint8_t key)
    : Key(key), Ident(IdentPayload(0)), Live(PollPayload()), reader_(key) {
    const uint8_t reads[] = {0xE8, 0xE9, 0xEA, 0xEB, 0xEC, 0xE0, 0xE1, 0xE2, 0xE3,
                             0xE4, 0xE5, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB, 0xAC, 0xAD};
    for (uint8_t c : reads) {
        QByteArray b(256, '\0');
        for (int i = 0; i < 256; ++i)
            b[i] = char((c + i * 7) & 0xFF);
        blocks_[c] = b;
    }
    // A settings block that sums to 0, as the controller keeps it.
    QByteArray &s = blocks_[0xE8];
    s[4] = 0; // RPM input measures revolutions
    unsigned sum = 0;
    for (int i = 1; i < 256; ++i)
        sum += uint8_t(s[i]);
    s[0] = char(uint8_t(-sum));
}

uint8_t ScriptedController::ReadCodeOfWrite(uint8_t code) {
    if ((code >= 0xF0 && code <= 0xF5) || (code >= 0xF8 && code <= 0xFC)) return uint8_t(code - 0x10);
    if (code >= 0xC7 && code <= 0xCD) return uint8_t(code - 0x20);
    return 0;
}

QByteArray ScriptedController::Answer(const TPcFrame &f) {
    if (!f.SumOk) {
        ++BadFrames;
        return {};
    }
    if (Silent.contains(f.Code)) return {};
    const uint8_t c = f.Code;
    if (c == 0x81) return ReplyFrame(c, Ident, 86, Key);
    if (c >= 0x90 && c <= 0x9F) return ReplyFrame(c, Live, 86, Key);
    if (blocks_.count(c)) return BlockReply(c, blocks_[c], Key);
    if (const uint8_t rc = ReadCodeOfWrite(c); rc != 0 && f.Payload.size() >= 258) {
        blocks_[rc] = f.Payload.mid(2, 256);
        return ReplyFrame(c, QByteArray(2, '\0'), 86, Key);
    }
    if (c == 0x82) {
        QByteArray errors(34, '\0');
        errors[2] = 1;
        return ReplyFrame(c, errors, 86, Key);
    }
    return ReplyFrame(c, QByteArray(2, '\0'), 86, Key);
}

QByteArray ScriptedController::Handle(const QByteArray &fromPc) {
    reader_.Feed(fromPc);
    QByteArray out;
    TPcFrame f;
    while (reader_.Next(f)) {
        Received.append(f);
        out.append(Answer(f));
    }
    return out;
}

TLinkRig::TLinkRig(bool connect) {
    Eng.StopTimer();
    Eng.UseBackend(Mem);
    Eng.OnZdarzenie = [this](int k, int a, int b, int c) { Events.append({k, a, b, c}); };
    Eng.OnTekst = [this](QObject *, const QString &t, uint32_t colour) { Log.append({t, colour}); };
    Eng.OnMessage = [this](const QString &t, int flags) {
        Messages.append({t, flags});
        return 1;
    };
    if (connect) Eng.PortOpen(1);
}

QList<TPcFrame> TLinkRig::Turn() {
    const int cycle = Eng.TxCycle;
    for (int i = 0; i < 64 && Eng.TxCycle == cycle; ++i)
        Eng.Timer1OnTimer();
    const QByteArray tx = Mem->TakeTx();
    if (AutoAnswer && !tx.isEmpty()) Mem->Rx.append(Ctl.Handle(tx));
    return TFrameReader::Parse(tx, Eng.LinkKey);
}

int TLinkRig::TurnCode() {
    const QList<TPcFrame> f = Turn();
    return f.isEmpty() ? -1 : f.first().Code;
}

QList<int> TLinkRig::TurnCodes(int n) {
    QList<int> codes;
    for (int i = 0; i < n; ++i)
        codes.append(TurnCode());
    return codes;
}

void TLinkRig::Settle() {
    for (int i = 0; i < 64 && (!Mem->Rx.isEmpty() || Eng.RxStage != 0); ++i)
        Eng.OdbiorRx();
}

void TLinkRig::Deliver(const QByteArray &wire) {
    Mem->Rx.append(wire);
    Settle();
}

QStringList TLinkRig::LogLines(uint32_t colour) const {
    QStringList l;
    for (const auto &e : Log)
        if (e.second == colour) l.append(e.first);
    return l;
}

int TLinkRig::EventCount(int kind) const {
    int n = 0;
    for (const auto &e : Events)
        n += e[0] == kind;
    return n;
}
