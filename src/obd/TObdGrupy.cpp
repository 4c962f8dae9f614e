// OBD engine: fast polling. On CAN one mode-01 request carries up to six of the polled PIDs and the
// answer is split per PID; the next request goes out as soon as the answer's prompt is in, the tick
// keeping the time-outs. Units or adapters that do not answer grouped requests in full are asked in
// smaller groups, and after repeated failures one PID a request for the rest of the connection.
#include "obd/ObdPojazdDekoder.h"
#include "obd/TObd.h"

bool TObd::SzybkiCan() const {
    // The CAN protocols of the search; a forced protocol polls "0101" only.
    return SzybkiPolling && WymuszonyProtokol == 0 && Protokol >= 6 && Protokol <= 9;
}

QList<int> TObd::GrupaOd(int pierwszy) const {
    QList<int> grupa{pierwszy};
    const int rozmiar = int(Pidy.size());
    for (int k = 1; k < rozmiar && grupa.size() < std::min(MaksGrupy, NajwiekszaGrupa); ++k) {
        const int i = (pierwszy + k) % rozmiar;
        if (Pidy[i].obslugiwany && Pidy[i].odpytywany) grupa.append(i);
    }
    return grupa;
}

void TObd::WyswietlGrupe() {
    const QList<int> grupa = GrupaPidow;
    GrupaPidow.clear();
    // The chosen unit's positive answer: 41, then each PID it has with its data bytes.
    QByteArray dane;
    for (const TObdWiadomosc &w : WiadomosciOdpowiedzi(Odpowiedz, Protokol)) {
        if (w.adres == Ecu && !w.dane.isEmpty() && uint8_t(w.dane[0]) == 0x41) {
            dane = w.dane;
            break;
        }
    }
    QList<int> odebrane;
    for (int i = 1; i < dane.size();) {
        const int nr = uint8_t(dane[i]);
        if (!grupa.contains(nr) || odebrane.contains(nr)) break; // not what was asked: the rest is not ours
        const int bajty = Pidy[nr].bajty;
        if (bajty < 1 || i + 1 + bajty > dane.size()) break;
        uint32_t n = 0; // as a single answer is read: the oldest bytes of a long value shift out
        for (int k = 0; k < bajty; ++k)
            n = (n << 8) | uint8_t(dane[i + 1 + k]);
        PokazPid(nr, n, uint8_t(dane[i + 1]));
        odebrane.append(nr);
        i += 1 + bajty;
    }
    if (odebrane.size() == grupa.size()) {
        BledyGrupy = 0;
        return;
    }
    // NO DATA, "?", a time-out or only some of the PIDs: twice in a row, and the groups get smaller.
    if (++BledyGrupy < 2) return;
    BledyGrupy = 0;
    MaksGrupy = MaksGrupy > 3 ? 3 : MaksGrupy - 1;
    if (MaksGrupy > 1)
        DoOnTekst(
            QStringLiteral("zapytania o kilka PID bez pełnej odpowiedzi: %1 PID na zapytanie").arg(MaksGrupy),
            ObdRed);
    else
        DoOnTekst(
            QStringLiteral("zapytania o kilka PID bez pełnej odpowiedzi: jeden PID na zapytanie do końca "
                           "połączenia"),
            ObdRed);
}

void TObd::SzybkoDalej() {
    // The answer is in: show it and send the next request now, unless something else waits.
    for (int krok = 0; krok < 2; ++krok) {
        if (!SzybkiCan() || Opoznienie > 0 || CzekaNaOdpowiedz || JestKomenda ||
            (Stan != 1000 && Stan != 1001))
            return;
        PetlaZadan();
    }
}

void TObd::OnBajty() {
    if (Zajety || !CzekaNaOdpowiedz || Stan != 1001 || !SzybkiCan()) return;
    Zajety = 1;
    if (PortConnected()) OdbierzBufor();
    if (!CzekaNaOdpowiedz) SzybkoDalej();
    Zajety = 0;
}
