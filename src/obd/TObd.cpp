// OBD engine: construction, the command/reply exchange with the adapter, ticks and callbacks.
#include "obd/TObd.h"

#include <QTimer>
#include <algorithm>

namespace {
// One line of the communication log: control bytes and bytes above ASCII shown as dots.
QString TekstLogu(const uint8_t *bajty, int n) {
    QString s;
    s.reserve(n);
    for (int i = 0; i < n; ++i) {
        const uint8_t b = bajty[i];
        s.append(b < 0x10 || b >= 0x80 ? QChar(u'.') : QChar(char16_t(b)));
    }
    return s;
}
} // namespace

TObd::TObd(QObject *owner) : TSerial(owner) {
    BudujKatalog();
    Timer = new QTimer(this);
    Timer->setInterval(200);
    connect(Timer, &QTimer::timeout, this, [this] {
        if (pierwszyTik_)
            OnTimer0();
        else
            OnTimer1();
    });
    Timer->start();
    PortNumber = 1;
    // A report that comes while the engine itself reads (or in a nested message loop) finds it busy.
    connect(this, &TSerial::BajtyPrzyszly, this, &TObd::OnBajty);
}

TObd::~TObd() {
    Timer->stop();
    disconnect(Timer, nullptr, this, nullptr);
    MyGridStatus = nullptr;
    MyGridPidy = nullptr;
    MyRichDtc = nullptr;
    MyPojazd = nullptr;
    PortClose();
}

// ---- buttons and commands

void TObd::WcisnietoPrzycisk(int przycisk) {
    switch (przycisk) {
    case 0: Stan = 100; break;
    case 3: Stan = 3000; break;
    case 4: Stan = 4000; break;
    // The vehicle read waits for polling: a connection or a trouble-code read under way goes on.
    case 5: pojazdZamowiony_ = true; break;
    default: break;
    }
}

void TObd::SetProtokol(int protokol) {
    WymuszonyProtokol = protokol;
    Stan = 3;
}

void TObd::AtCommand(const QByteArray &tekst) {
    KomendaUzytkownika = tekst;
    JestKomenda = 1;
}

// ---- link to the adapter

void TObd::Nadaj(const QByteArray &tekst) {
    WyslijBufor(reinterpret_cast<const uint8_t *>(tekst.constData()), int(tekst.size()));
}

void TObd::WyslijBufor(const uint8_t *bajty, int n) {
    if (!PortConnected()) return;
    PortPurgeRx();
    PortWrite(bajty, n);
    Odpowiedz.clear();
    CzekaNaOdpowiedz = 1;
    CzasOdpowiedzi = CzasOczekiwania;
    if (OnTekst) DoOnTekst(TekstLogu(bajty, n), ObdMagenta); // built only while someone reads the log
}

void TObd::OdbierzBufor() {
    int n = PortInQueCount();
    if (n <= 0) return;
    n = std::min(n, RozmiarBufora - DlugoscRx);
    if (n > 0) {
        const int przeczytane = PortRead(BuforRx + DlugoscRx, n);
        if (przeczytane > 0) DlugoscRx += std::min(przeczytane, n);
    }
    if (DlugoscRx <= 0) return;
    if (BuforRx[DlugoscRx - 1] != '>') {
        if (DlugoscRx >= RozmiarBufora) {
            // A full buffer without a prompt can never complete: drop it and stop waiting.
            DoOnTekst(QStringLiteral("przepełnienie bufora odbioru, odpowiedź odrzucona"), ObdRed);
            DlugoscRx = 0;
            CzekaNaOdpowiedz = 0;
        }
        return;
    }
    Odpowiedz = QByteArray(reinterpret_cast<const char *>(BuforRx), DlugoscRx);
    if (OnTekst) DoOnTekst(TekstLogu(BuforRx, DlugoscRx), ObdBlue);
    DlugoscRx = 0;
    CzekaNaOdpowiedz = 0;
}

void TObd::Powtorz() {
    DoOnTekst(QStringLiteral("Przekroczenie czasu"), ObdRed);
    CzekaNaOdpowiedz = 0;
}

int TObd::Analizuj(const QByteArray &tekst) const {
    return int(Odpowiedz.indexOf(tekst)) + 1;
}

bool TObd::CzyBlad() const {
    // "UNABLE TO CONNECT" is the adapter's answer when no bus protocol answers at all.
    return Analizuj("NO DATA") || Analizuj("ERROR") || Analizuj("NO") || Analizuj("UNABLE TO CONNECT");
}

int32_t TObd::TekstNaInt(const QByteArray &tekst, int n) {
    uint32_t wartosc = 0;
    const int koniec = std::min<int>(int(tekst.size()), 255);
    for (int i = 0; i < koniec; ++i) {
        const char c = tekst.at(i);
        int cyfra = -1;
        if (c >= '0' && c <= '9')
            cyfra = c - '0';
        else if (c >= 'a' && c <= 'f')
            cyfra = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            cyfra = c - 'A' + 10;
        if (cyfra >= 0) {
            wartosc = (wartosc << 4) | uint32_t(cyfra);
        } else if (c == ' ') {
            if (n <= 1) break;
            --n;
        }
    }
    return int32_t(wartosc);
}

void TObd::Status(int wiersz, const QString &tekst, bool czysc) {
    if (!MyGridStatus) return;
    MyGridStatus->SetCell(1, wiersz, tekst);
    if (czysc)
        for (int r = wiersz + 1; r < 7; ++r)
            MyGridStatus->SetCell(1, r, QString());
}

// ---- ticks

void TObd::OnTimer0() {
    if (MyGridStatus) UkladStatusu();
    if (MyGridPidy) OpiszPid();
    if (MyRichDtc) MyRichDtc->Clear();
    const bool aktywny = Timer->isActive();
    Timer->stop();
    Timer->setInterval(Takt);
    pierwszyTik_ = false;
    if (aktywny) Timer->start();
}

void TObd::StopTimer() {
    Timer->stop();
}

void TObd::OnTimer1() {
    // The next tick comes a full interval after this one starts.
    if (Timer->isActive()) Timer->start();
    if (Zajety) return;
    if (JustOpened == 1) {
        JustOpened = 0;
        Stan = 2;
    }
    Zajety = 1;
    if (PortConnected()) OdbierzBufor();
    const int32_t krok = Stan;
    PetlaZadan();
    // An answer shown in polling: the next request goes out now. Other steps keep the tick's pace.
    if (krok == 1001) SzybkoDalej();
    Zajety = 0;
}

// ---- callbacks

void TObd::DoOnTekst(const QString &tekst, uint32_t kolor) {
    if (OnTekst) OnTekst(this, tekst, kolor);
}

void TObd::DoOnZdarzenie(int a, int b, int c) {
    if (OnZdarzenie) OnZdarzenie(100, a, b, c);
}
