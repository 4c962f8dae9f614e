// Adapter replies fed one at a time to the parser that would take them: the status rows, the PID
// decoder, the trouble-code reader, the ECU search and the supported-PID reader. The input is a
// run of replies separated by 0x01 bytes; the first byte of each picks the parser, the protocol
// and the ECU, the rest is the reply text.
#include "FuzzCommon.h"
#include "obd/ObdModels.h"
#include "obd/TObd.h"

#include <QMap>
#include <QPair>

namespace {
class Grid : public TObdGrid {
public:
    void SetColCount(int c) override { cols_ = c; }
    void SetRowCount(int r) override { rows_ = r; }
    int RowCount() const override { return rows_; }
    void SetCell(int col, int row, const QString &text, int) override {
        if (cells_.size() > 4096) cells_.clear();
        cells_[{col, row}] = text;
    }
    QString Cell(int col, int row) const override { return cells_.value({col, row}); }

private:
    int cols_ = 0, rows_ = 0;
    QMap<QPair<int, int>, QString> cells_;
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
    fuzz::App();
    static const int protocols[] = {-1, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12, 13};
    static const int ecus[] = {0, 0x7E8, 0x10, 0x1F, 0x11, -1, 0x7EF, 0x18DAF110};
    // One engine for the whole run (building its catalogue costs more than any reply).
    static Grid status, pidy;
    static Box dtc;
    static TObd obd;
    static const bool ready = [] {
        obd.StopTimer();
        obd.MyGridStatus = &status;
        obd.MyGridPidy = &pidy;
        obd.MyRichDtc = &dtc;
        return true;
    }();
    (void)ready;
    const QByteArray all(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const QByteArray &piece : all.split('\x01')) {
        if (piece.isEmpty()) continue;
        const uint8_t pick = uint8_t(piece[0]);
        obd.Protokol = protocols[(pick >> 4) % std::size(protocols)];
        obd.Ecu = ecus[(pick >> 1) % std::size(ecus)];
        const QByteArray reply = piece.mid(1);
        obd.Odpowiedz = reply;
        switch (pick % 12) {
        case 0: obd.SzukajEcu(); break;
        case 1: obd.PIDsupported((pick >> 2) % 8 * 0x20); break;
        case 2:
            obd.AktualnyPid = pick >> 1;
            obd.TrybListy = pick & 1;
            obd.OpiszPid();
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
