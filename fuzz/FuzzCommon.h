#pragma once
// Shared by the fuzz targets: one application object, the input as an open device in memory for
// the loaders, and engines built once for the whole run.
//
// Building an engine costs more than most inputs (its timer, the PID catalogue, the 64 KiB firmware
// buffer), and a file costs a write and a read on the disk. So every target takes its engines from
// here: built once, and before every input put back field by field to what a new engine holds, so
// that an input behaves the same whatever ran before it and a finding replays on its own.
#include "device/TSterownik.h"
#include "obd/TObd.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace fuzz {

inline void App() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

// The bytes as an open read-only device, read in place (the loaders' device entries take it the
// way their file entries take an opened file). Valid until the next call.
inline QIODevice &AsDevice(const uint8_t *data, size_t size) {
    static QByteArray bytes;
    static QBuffer buffer;
    buffer.close();
    bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    buffer.setBuffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return buffer;
}

template <class T> void Put(T &to, const T &from) {
    if constexpr (std::is_array_v<T>)
        std::memcpy(&to, &from, sizeof to);
    else
        to = from;
}

template <class C, class... M> void PutAll(C &to, const C &from, M C::*...fields) {
    (Put(to.*fields, from.*fields), ...);
}

// A field added to the engine must be put back below too; this stops the build until it is.
static_assert(sizeof(TSterownik) == 11824,
              "TSterownik gained or lost a field: put it back in fuzz::Reset, then update this size");

// Everything an input can change. The timer, the callbacks and the port stay (opening and closing
// the port sets what the port fields hold); so does the random byte generator, whose bytes only go
// out in the frames sent, which nothing reads back.
inline void Reset(TSterownik &e, const TSterownik &fresh) {
    using S = TSterownik;
    e.ZamnkijOscyloskop();
    PutAll(e, fresh, &S::LinkKey, &S::TxBuffer, &S::RxBuffer, &S::RxStage, &S::RxExpected, &S::RxStallTicks,
           &S::TickBusy, &S::TickCount, &S::TxCycle, &S::Unanswered, &S::VerboseLog);
    PutAll(e, fresh, &S::ReadRequests, &S::WriteRequests, &S::OtherRequests, &S::PollMode, &S::TxWait,
           &S::ObdRelayPending, &S::EraseErrorsPending, &S::FuelAutoPending, &S::FuelFastPending,
           &S::InjectorMaskPending, &S::SpeakerTestPending, &S::LeakTestPending, &S::FactoryPending,
           &S::JumpBootPending, &S::ReturnBootPending, &S::SettingsWritePending, &S::FlashActive,
           &S::BootExpected);
    PutAll(e, fresh, &S::Nastawy, &S::Mnoznik1, &S::Mnoznik2, &S::KorObr1, &S::KorObr2, &S::Historia,
           &S::KorCis, &S::KorTempRed, &S::KorTempGazu, &S::Emulator, &S::Opoznienia, &S::Wzbogacenie,
           &S::Mapy, &S::Identyfikacja, &S::ObdStan, &S::ObdRelay, &S::FirmwareImage, &S::FirmwareBlock,
           &S::FirmwareCopies, &S::FirmwareQuiet, &S::FirmwareStale);
    PutAll(e, fresh, &S::InjectorMask, &S::InjectorCount, &S::MultiplierScale, &S::StatusBytes,
           &S::CurveSelected, &S::ChangeDate, &S::WorkstationId, &S::DocumentsFolder, &S::LastFileName,
           &S::ExtendedView, &S::NewBoard, &S::HistoriaOdlozona, &S::Wykresy);
    PutAll(e, fresh, &S::CalStage, &S::CalProgress, &S::CalCounter, &S::CalChannel, &S::CalStopCount,
           &S::CalBadCount, &S::CalMeanFilter, &S::CalPressureFilter, &S::CalPetrolMean);
    e.Dziennik.Wyczysc(); // the undo journal refers to the engine itself: emptied, not copied
}

static_assert(sizeof(TObd) == 16928,
              "TObd gained or lost a field: put it back in fuzz::Reset, then update this size");

inline void Reset(TObd &e, const TObd &fresh) {
    PutAll(e, fresh, &TObd::Pidy, &TObd::Odpowiedz, &TObd::KomendaUzytkownika, &TObd::TrybListy,
           &TObd::LiczbaEcu, &TObd::Ecu, &TObd::Protokol, &TObd::AktualnyPid, &TObd::Stan, &TObd::Opoznienie,
           &TObd::CzasOdpowiedzi, &TObd::Zajety, &TObd::CzekaNaOdpowiedz, &TObd::JestKomenda, &TObd::BuforRx,
           &TObd::DlugoscRx, &TObd::WymuszonyProtokol, &TObd::Pojazd, &TObd::kolejkaPojazdu_,
           &TObd::zadaniePojazdu_, &TObd::pidyZamrozenia_, &TObd::pojazdZamowiony_, &TObd::SzybkiPolling,
           &TObd::GrupaPidow, &TObd::MaksGrupy, &TObd::BledyGrupy);
}

// With the communication log shown, an engine builds the texts of what it sends and receives
// (here thrown away); without it, it builds none.
template <class E> void ShowLog(E &e, bool shown) {
    if (shown)
        e.OnTekst = [](QObject *, const QString &, uint32_t) {};
    else
        e.OnTekst = nullptr;
}

// The controller engine, as new before every call.
inline TSterownik &Sterownik() {
    App();
    static TSterownik fresh; // never driven: what every input starts from
    static TSterownik eng;
    static const bool stopped = (fresh.StopTimer(), eng.StopTimer(), true);
    (void)stopped;
    Reset(eng, fresh);
    return eng;
}

// The OBD engine, as new before every call (its grids, boxes and controller are the caller's).
inline TObd &Obd() {
    App();
    static TObd fresh;
    static TObd eng;
    static const bool stopped = (fresh.StopTimer(), eng.StopTimer(), true);
    (void)stopped;
    Reset(eng, fresh);
    return eng;
}

} // namespace fuzz
