// Adapter replies fed one at a time to the parser that would take them: the status rows, the PID
// decoder, the trouble-code reader, the ECU search and the supported-PID reader. The input is a
// run of replies separated by 0x01 bytes; the first byte of each picks the parser, the protocol
// and the ECU, the rest is the reply text.
#include "FuzzCommon.h"
#include "obd/ObdInspekcja.h"
#include "obd/ObdModels.h"
#include "obd/ObdPojazdDekoder.h"

#include <vector>

namespace {
// Cells in a flat table (a map of cells costs more than the parsers): enough for the PID grid's
// five columns and every catalogue row; writes outside it are dropped.
class Grid : public TObdGrid {
public:
    void SetColCount(int c) override { cols_ = c; }
    void SetRowCount(int r) override { rows_ = r; }
    int RowCount() const override { return rows_; }
    void SetCell(int col, int row, const QString &text, int) override {
        if (Inside(col, row)) cells_[size_t(row * Cols + col)] = text;
    }
    QString Cell(int col, int row) const override {
        return Inside(col, row) ? cells_[size_t(row * Cols + col)] : QString();
    }

private:
    static constexpr int Cols = 8, Rows = 256;
    static bool Inside(int col, int row) { return col >= 0 && col < Cols && row >= 0 && row < Rows; }
    int cols_ = 0, rows_ = 0;
    std::vector<QString> cells_ = std::vector<QString>(size_t(Cols * Rows));
};

class Box : public TObdTextBox {
public:
    void Append(const QString &, int) override { ++lines_; }
    void Clear() override { lines_ = 0; }

private:
    int lines_ = 0;
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    static const int protocols[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13};
    static const int ecus[] = {0, 0x7E8, 0x10, 0x1F, 0x11, -1, 0x7EF, 0x18DAF110};
    // The grids and the box outlive the engine's reset, as the window's do; each input starts with
    // them empty.
    static Grid status, pidy;
    static Box dtc;
    for (Grid *g : {&status, &pidy}) {
        g->SetRowCount(0);
        g->SetColCount(0);
    }
    TObd &obd = fuzz::Obd();
    obd.MyGridStatus = &status;
    obd.MyGridPidy = &pidy;
    obd.MyRichDtc = &dtc;
    // Laying out or recolouring the PID grid's 129 rows costs many times the reply behind it, so it
    // happens a few times an input, as in the program (after the set-up, on a change of list), not
    // for every reply: the list is the one the input's first PID reply picks, laid out then and
    // again after a bitmap changed the short list; the rows are recoloured for the first bitmap.
    int list = -1;     // the list picked, -1 none yet
    bool stale = true; // the list must be laid out before the next PID reply is shown
    bool recoloured = false;
    const QByteArray all(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &piece : all.split('\x01')) {
        if (piece.isEmpty()) continue;
        const uint8_t pick = uint8_t(piece[0]);
        obd.Protokol = protocols[(pick >> 4) % std::size(protocols)];
        obd.Ecu = ecus[(pick >> 1) % std::size(ecus)];
        const QByteArray reply = piece.mid(1);
        obd.Odpowiedz = reply;
        switch (pick % 13) {
        case 0: obd.SzukajEcu(); break;
        case 1:
            if (recoloured) obd.MyGridPidy = nullptr;
            obd.PIDsupported((pick >> 2) % 8 * 0x20);
            obd.MyGridPidy = &pidy;
            recoloured = true;
            stale = stale || list == 1; // the short list holds the supported PIDs
            break;
        case 2:
            if (list < 0) list = pick & 1;
            obd.AktualnyPid = pick >> 1;
            obd.TrybListy = list;
            if (stale) obd.OpiszPid();
            stale = false;
            obd.WyswietlPid();
            break;
        case 3: obd.KodyBledow(0x43); break;
        case 4: obd.KodyBledow(0x47); break;
        case 5: obd.KodyBledow(0x4A); break;
        case 6: obd.StatusElm(); break;
        case 7: obd.StatusVoltage(); break;
        case 8: obd.StatusProtokol(); break;
        case 9: obd.StatusDteMil(); break;
        case 10: obd.StatusEcu(); break;
        case 11: { // the vehicle page's readers: messages by unit, readiness, vehicle information
            static const int infos[] = {0x02, 0x04, 0x06, 0x0A};
            QList<QByteArray> dane;
            for (const TObdWiadomosc &w : WiadomosciOdpowiedzi(reply, obd.Protokol)) {
                dane << w.dane;
                if (w.dane.size() >= 6) DekodujGotowosc(w.dane.mid(2, 4), pick & 1);
            }
            const QByteArray info = DaneInformacji(dane, infos[(pick >> 1) % 4], pick & 0x80);
            TekstVin(info);
            KalibracjeId(info);
            NumeryCvn(info);
            NazwaSterownika(info);
            // Trouble codes of modes 03, 07, 0A and the counters since the clear.
            static const int tryby[] = {0x43, 0x47, 0x4A};
            KodyWiadomosci(dane, tryby[(pick >> 3) % 3], pick & 0x40);
            for (const QByteArray &d : std::as_const(dane))
                if (d.size() >= 2) LicznikPid(uint8_t(d[1]), d.mid(2));
            break;
        }
        default:
            obd.CzyBlad();
            TObd::TekstNaInt(reply, pick % 20);
            obd.SzukajEcuPid(pick);
            break;
        }
        if (obd.Odpowiedz.size() > reply.size()) __builtin_trap(); // a parser made text up
    }
    return 0;
}
