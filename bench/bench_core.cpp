// Hot paths of the core: the link must stay far inside its 25 ms tick, lookups inside a repaint.
//   frame codec      a 262-byte frame scrambled and unscrambled
//   receive path     a settings block reply taken from the wire and analysed
//   texts            a cached language lookup, a trouble-code description, a live value text
//   code tables      indexing each built-in trouble-code table as the first lookup does (keep under 2 ms)
//   journal          one undo step over the whole image, recorded and undone (keep under 0.1 ms)
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "obd/DtcTexts.h"

#include <QFile>
#include <QtTest>
#include <cstring>

class BenchCore : public QObject {
    Q_OBJECT
private slots:
    void frameCodec() {
        uint8_t f[262] = {101, 0, 129, 0xF8};
        QBENCHMARK {
            Frame::Scramble(f, 262, 0x5A);
            Frame::Unscramble(f, 262, 0x5A);
        }
    }

    void receiveBlockReply() {
        TSterownik eng;
        eng.StopTimer();
        auto mem = std::make_shared<TMemoryPort>();
        eng.UseBackend(mem);
        eng.PortOpen(1);
        const QByteArray reply = Frame::Build(86, 0xE9, QByteArray(258, '\x64'), eng.LinkKey);
        QBENCHMARK {
            mem->Rx = reply;
            eng.OdbiorRx();
            eng.OdbiorRx();
        }
    }

    void languageLookup() {
        LangText(1240);
        QBENCHMARK {
            LangText(1240);
        }
    }

    void troubleCode() {
        DtcOpis(u"P0420", false);
        QBENCHMARK {
            DtcOpis(u"P0420", false);
        }
    }

    void troubleCodeIndex_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("english") << QStringLiteral(":/dtc/dtc_en.txt");
        QTest::newRow("polish") << QStringLiteral(":/dtc/dtc_pl.txt");
    }
    void troubleCodeIndex() {
        QFETCH(QString, path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        int codes = 0;
        QBENCHMARK {
            const TDtcTabela t(bytes);
            codes = t.Ilosc();
        }
        QVERIFY(codes > 2000);
    }

    void liveValueText() {
        TSterownik eng;
        eng.StopTimer();
        int v = 0;
        QBENCHMARK {
            eng.RxBuffer[17] = uint8_t(++v);
            eng.StrParamBiez(0x20, 0);
        }
    }

    // One step of the journal over the whole image (copy before, compare after), then its undo:
    // what an erase button or a loaded file costs on top of the edit (target under 0.1 ms).
    void journalStep() {
        TSterownik eng;
        eng.StopTimer();
        int n = 0;
        QBENCHMARK {
            {
                TZmiana krok(&eng.Dziennik, DziennikWszystko, QStringLiteral("Erase gas map"));
                std::memset(eng.Mapy[MapaB], ++n & 0xFF, 256);
            }
            eng.Dziennik.Cofnij();
        }
    }
};

QTEST_GUILESS_MAIN(BenchCore)
#include "bench_core.moc"
