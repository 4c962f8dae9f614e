// A hostile trouble-code table: any bytes indexed as one, then codes looked up in it, both as the
// table object and through the engine's lookup by table id with the table put in place.
#include "FuzzCommon.h"
#include "obd/DtcTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    fuzz::App();
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const TDtcTabela table(bytes);
    DtcPodstawTabele(false, &table);
    DtcPodstawTabele(true, &table);
    // Codes taken from the table's own line starts, and a few fixed ones.
    int looked = 0;
    for (qsizetype at = 0; at < bytes.size() && looked < 64; ++at) {
        if (at != 0 && bytes[at - 1] != '\n') continue;
        const QString code = QString::fromLatin1(bytes.mid(at, 5));
        table.Opis(code);
        DtcOpisZasobu(code, DtcZasobAngielski);
        DtcOpisZasobu(code, DtcZasobPolski);
        ++looked;
    }
    for (const char *code : {"P0105", "U0155", "p0300", "X1234", "P", ""}) {
        table.Opis(QString::fromLatin1(code));
        DtcOpis(QString::fromLatin1(code), true);
    }
    DtcDekoduj(bytes.constData(), bytes.size());
    DtcPodstawTabele(false, nullptr);
    DtcPodstawTabele(true, nullptr);
    return 0;
}
