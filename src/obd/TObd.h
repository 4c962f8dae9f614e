#pragma once
// OBD-II engine: talks to an ELM327-type adapter on its own serial port, finds the bus protocol and
// the engine control units, polls the chosen PIDs, reads and clears trouble codes, and hands the
// fuel system status and fuel trims on to the gas controller link.
//
// Implementation files:
//   TObd.cpp             construction, command/reply exchange, ticks, callbacks
//   TObdPetla.cpp        the task loop (connection, protocol search, set-up, polling, trouble codes)
//   TObdEcu.cpp          answering control units, reply layout, supported-PID bitmaps
//   TObdPidy.cpp         the catalogue of mode-01 PIDs
//   TObdDekoder.cpp      polling, decoders, the PID grid, the relay to the gas controller
//   TObdGrupy.cpp        fast polling: several PIDs a request on CAN, the next request at the answer
//   TObdDtc.cpp          stored, pending and permanent trouble codes
//   TObdStatus.cpp       the adapter status panel
//   TObdPetlaPojazdu.cpp the vehicle page: readiness, freeze frame, vehicle information
#include "link/TSerial.h"
#include "obd/ObdModels.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QTimer;
class TSterownik;

// One entry of the PID catalogue; the index in TObd::Pidy is the PID number.
struct pid {
    int32_t bajty = 0;       // data bytes of the answer (after the mode and PID bytes)
    QString nazwa;           // long name
    QString skrot;           // short name
    QString jednostka;       // unit, shown in square brackets after the value
    int32_t typ = -1;        // decoder number, -1 = none
    int32_t wiersz = -1;     // PID grid row showing the entry, -1 = not shown
    uint8_t obslugiwany = 0; // supported by the chosen ECU
    uint8_t odpytywany = 0;  // polled
};

class TObd : public TSerial {
    Q_OBJECT
public:
    // Receive buffer: holds any OBD answer (mode 09 of several units with 29-bit headers is ~2 kB).
    static constexpr int RozmiarBufora = 16384;
    static constexpr int Takt = 100;             // loop tick in ms
    static constexpr int CzasOczekiwania = 3000; // reply time-out in ms
    static constexpr int NajwiekszaGrupa = 6;    // PIDs one mode-01 request carries on CAN

    explicit TObd(QObject *owner = nullptr);
    ~TObd() override;

    // ---- data
    QList<pid> Pidy;
    QByteArray Odpowiedz;          // last complete reply, prompt included
    QByteArray KomendaUzytkownika; // raw command queued by AtCommand
    int32_t TrybListy = 0;         // PID grid: 0 full catalogue, otherwise only polled PIDs
    int32_t LiczbaEcu = 0;
    int32_t Ecu = 0;      // chosen ECU: CAN identifier on 11-bit CAN, source address otherwise
    int32_t Protokol = 0; // -1 searching, 0 unknown, 1..12 adapter protocol number
    int32_t AktualnyPid = 0;
    int32_t Stan = 0;           // task loop state
    int32_t Opoznienie = 0;     // ms still to wait before the next step
    int32_t CzasOdpowiedzi = 0; // ms left for the pending reply
    uint8_t Zajety = 0;
    uint8_t CzekaNaOdpowiedz = 0;
    uint8_t JestKomenda = 0;
    uint8_t BuforRx[RozmiarBufora + 1] = {};
    int32_t DlugoscRx = 0;
    TSterownik *Sterownik = nullptr;
    QTimer *Timer = nullptr; // 200 ms to the first tick, then 100 ms
    TObdGrid *MyGridStatus = nullptr;
    TObdGrid *MyGridPidy = nullptr;
    TObdTextBox *MyRichDtc = nullptr;
    int32_t WymuszonyProtokol = 0; // 0 = automatic protocol search
    // The vehicle page. While it is set, the vehicle is read once after every connection and again
    // after the codes were cleared.
    TObdPojazdWidok *MyPojazd = nullptr;
    TObdPojazd Pojazd; // the last vehicle read
    // The vehicle read in progress.
    QList<QByteArray> kolejkaPojazdu_; // requests still to ask
    QByteArray zadaniePojazdu_;        // the one asked last
    QSet<int> pidyZamrozenia_;         // freeze-frame PIDs already asked
    bool pojazdZamowiony_ = false;     // "Read" pressed: the vehicle is read when polling comes

    // Polling speed. Fast: on CAN up to six PIDs a request, and the next request as soon as the
    // answer's prompt is in; the tick keeps the time-outs. Off: one PID a request, one step a tick.
    bool SzybkiPolling = true;
    QList<int> GrupaPidow;           // PIDs of the grouped request awaiting its answer; empty: one PID
    int MaksGrupy = NajwiekszaGrupa; // PIDs a request may carry for the rest of this connection
    int BledyGrupy = 0;              // grouped answers in a row that lacked some PIDs

    std::function<void(QObject *sender, const QString &text, uint32_t colour)> OnTekst;
    std::function<void(int kind, int a, int b, int c)> OnZdarzenie;

    // ---- buttons and commands
    // 0 restart, 3 read codes, 4 clear codes (all at once); 5 read the vehicle page (when polling)
    void WcisnietoPrzycisk(int przycisk);
    void SetProtokol(int protokol);
    void AtCommand(const QByteArray &tekst);

    // ---- link to the adapter
    void Nadaj(const QByteArray &tekst);
    void WyslijBufor(const uint8_t *bajty, int n);
    void OdbierzBufor();
    void Powtorz();
    int Analizuj(const QByteArray &tekst) const;
    bool CzyBlad() const;
    static int32_t TekstNaInt(const QByteArray &tekst, int n);
    void Status(int wiersz, const QString &tekst, bool czysc);

    // ---- ticks and the task loop
    void OnTimer0();
    void OnTimer1();
    void PetlaZadan();
    // Stops the run-time tick (tests drive OnTimer0 and OnTimer1 directly).
    void StopTimer();

    // ---- callbacks
    void DoOnTekst(const QString &tekst, uint32_t kolor);
    void DoOnZdarzenie(int a, int b, int c);

    // ---- PID catalogue
    void DodajPid(int32_t bajty, const QString &nazwa, const QString &skrot, const QString &jednostka,
                  int32_t typ);

    // ---- PID polling and display
    void KolejnyPid();
    void WyswietlPid();
    // Fast polling on a CAN protocol found by the search.
    bool SzybkiCan() const;
    // The PIDs of the next grouped request, starting with the one KolejnyPid picked.
    QList<int> GrupaOd(int pierwszy) const;
    // The chosen ECU's answer to a grouped request, split per PID; a short answer counts a failure.
    void WyswietlGrupe();
    // Relay, decode and show one PID's value (as one answer or as a piece of a grouped one).
    void PokazPid(int numer, uint32_t wartosc, uint32_t pierwszyBajt);
    // The port reported bytes: in fast polling the answer is taken and the next request sent now.
    void OnBajty();
    QString DekodujPid(int numer, uint32_t wartosc, uint32_t pierwszyBajt) const;
    // The number behind the decoded text, for decoders that give one.
    std::optional<double> WartoscPid(int numer, uint32_t wartosc, uint32_t pierwszyBajt) const;
    static QString NazwaStandarduObd(uint32_t n);
    void OpiszPid();
    void ZmianaListy(int tryb);
    void MyGridPidyClick();
    void MyGridPidyDblClick();
    void MyGridPidyKeyDown(int klawisz);

    // ---- trouble codes
    void KodyBledow(int tryb);
    void KodyBledowISO(int tryb);
    void KodyBledowCAN(int tryb);
    void KodyBledowCyfra(uint16_t kod);
    void KodyBledowOpis(const QString &kod, int zasob);
    static QString TekstKodu(uint16_t kod);

    // ---- vehicle page (task-loop states 5000-5002)
    void CzytajPojazd();        // start: the list of requests
    void ZapytajPojazd();       // the next request, or the end of the read
    void OdpowiedzPojazdu();    // one answer, by unit
    void KodyPojazdu(int tryb); // the answer to mode 03, 07 or 0A

    // ---- ECU discovery and supported PIDs
    void SzukajEcu();
    void StatusEcu();
    std::optional<int> SzukajEcuPid(int pp) const;
    bool SzukajEcuMode(int mm);
    void PIDsupported(int baza);
    // Greys or un-greys the PID rows after the supported flags changed; shown values stay.
    void KolorujPidy();
    // One row of the full PID list, its colours from the supported and polled flags.
    void WierszPidu(int i, const QString &wartosc);

    // ---- adapter status panel
    void StatusElm();
    void StatusVoltage();
    void StatusProtokol();
    void StatusDteMil();
    static QString NazwaProtokolu(int protokol); // status row text, "?" when unknown
    static QString OpisProtokolu(int protokol);  // logged text, empty when unknown

private:
    void BudujKatalog();
    void UkladStatusu();
    void KrokSzukania(int krok);
    bool Sprawdz(const QByteArray &tekst, const QByteArray &komenda, int nastepny);
    bool BladPoPolaczeniu() const;
    void PrzelaczPolling();
    void UsunNaglowkiRamek(int q);
    void ObetnijNaCr();
    QString AdresEcu(int minCyfr) const;
    TObdEcuPojazdu &EcuPojazdu(int adres);

    // Fast polling: the next steps of polling at once, as far as nothing else waits.
    void SzybkoDalej();

    bool pierwszyTik_ = true;
};
