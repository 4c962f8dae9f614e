// Texts made from the image: live values, work state, identification, history, reference curves.
#include "device/TSterownik.h"
#include "lang/LangText.h"

#include <QtTest>

namespace {
struct Eng {
    TSterownik s;
    Eng() {
        s.StopTimer();
        s.Wykresy.clear();
    }
    // One series shown in the readings grid; returns its text.
    QString Show(int rawType, int pos, double scale = 1, int decimals = 0) {
        s.Wykresy.clear();
        s.DodajWykres(1400, 0, pos, rawType, scale, decimals, 0, 1, 0x20);
        return s.StrParamBiez(0x20, 0);
    }
};
} // namespace

class TestTexts : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale::c());
        LangSetLanguage(0);
    }

    void liveValues() {
        Eng e;
        e.s.RxBuffer[20] = 0;
        QCOMPARE(e.Show(22, 20), QString("-"));
        e.s.RxBuffer[20] = 128;
        QCOMPARE(e.Show(22, 20), QString("0"));
        e.s.RxBuffer[20] = 255;
        QCOMPARE(e.Show(22, 20, 1, 3), QString("99.219"));
        e.s.RxBuffer[30] = 0x23;
        e.s.RxBuffer[31] = 0x01;
        QCOMPARE(e.Show(21, 30), QString("18"));
        e.s.RxBuffer[30] = 100;
        e.s.RxBuffer[31] = 0;
        QCOMPARE(e.Show(24, 30, 0.01, 2), QString("10.35")); // 100 x 0.01 x 3 + 7.35
        for (int b : {1, 2, 4, 8, 16, 3}) {
            e.s.RxBuffer[40] = uint8_t(b);
            QCOMPARE(e.Show(23, 40), QString(b == 1    ? "OL"
                                             : b == 2  ? "CL"
                                             : b == 4  ? "OL Load"
                                             : b == 8  ? "OL Fault"
                                             : b == 16 ? "CL Error"
                                                       : "-"));
        }
        e.s.RxBuffer[50] = 0b100;
        QCOMPARE(e.Show(2, 50), QString("1"));
        QCOMPARE(e.Show(99, 50), QString(" "));
        e.s.RxBuffer[38] = 12;
        e.s.RxBuffer[39] = 5;
        QCOMPARE(e.Show(13, 0), QString("1.2 0.5"));
        e.s.Nastawy[89] = 100;
        e.s.Nastawy[90] = 118;
        QCOMPARE(e.Show(12, 0), QString("0.600"));
        e.s.RxBuffer[60] = 0xE8;
        e.s.RxBuffer[61] = 0x03;
        QCOMPARE(e.Show(11, 60, 0.004, 2), QString("4.00"));
        QCOMPARE(e.Show(10, 60, 0.5, 1), QString("116.0"));
    }

    void secondCallIsEmpty() {
        Eng e;
        e.s.DodajWykres(1400, 0, 17, 11, 1, 0, 0, 1, 0x20);
        e.s.RxBuffer[17] = 0x4C;
        QCOMPARE(e.s.StrParamBiez(0x20, 0), QString("76"));
        QCOMPARE(e.s.StrParamBiez(0x20, 0), QString());
        e.s.RxBuffer[17] = 0x4D;
        QCOMPARE(e.s.StrParamBiez(0x20, 0), QString("77"));
        QCOMPARE(e.s.StrParamBiez(0x20, 5), QString()); // no such series
    }

    // A fuel trim that drops to "-" and comes back to its earlier value shows the value again.
    void trimBackAfterDash() {
        Eng e;
        e.s.DodajWykres(1400, 0, 20, 22, 1, 0, 0, 1, 0x20);
        const QList<QPair<int, QString>> steps = {{192, "50"}, {192, ""}, {0, "-"}, {192, "50"}, {192, ""}};
        for (const auto &[raw, text] : steps) {
            e.s.RxBuffer[20] = uint8_t(raw);
            QCOMPARE(e.s.StrParamBiez(0x20, 0), text);
        }
    }

    void decimalSeparator() {
        Eng e;
        QLocale::setDefault(QLocale(QLocale::Polish));
        e.s.RxBuffer[60] = 0xE8;
        e.s.RxBuffer[61] = 0x03;
        QCOMPARE(e.Show(11, 60, 0.0025, 2), QString("2,50"));
        QLocale::setDefault(QLocale::c());
    }

    void workState() {
        Eng e;
        QCOMPARE(e.s.StrStanPracy(0x0306, 1), LangText(1250));
        QCOMPARE(e.s.StrStanPracy(0x0306, 0), LangText(1249));
        QCOMPARE(e.s.StrStanPracy(0x0303, 1), QString());
        QCOMPARE(e.s.StrStanPracy(0x0006, 1), LangText(1242));
        QCOMPARE(e.s.StrStanPracy(0x0106, 1), LangText(1243));
        QCOMPARE(e.s.StrStanPracy(0x0300, 1), LangText(1245));
        QCOMPARE(e.s.StrStanPracy(0x0305, 1), LangText(1247));
        QCOMPARE(e.s.KolorStanuPracy(0x0306), 0x00A000u);
        QCOMPARE(e.s.KolorStanuPracy(0x0006), 0x808080u);
        QCOMPARE(e.s.KolorStanuPracy(0x0302), 0x4080FFu);
        QCOMPARE(e.s.KolorStanuPracy(0x0309), 0u);
    }

    void identification() {
        Eng e;
        uint8_t *id = e.s.Identyfikacja;
        id[38] = 2;
        QCOMPARE(e.s.StrWersjaSterownika(), QString("TARVEN PRO+"));
        id[38] = 3;
        QCOMPARE(e.s.StrWersjaSterownika(), QString());
        const char sn[] = "AB\xb3\x9c"
                          "1234567890123456"; // "ABłś" then more than 16 characters
        std::memcpy(id + 6, sn, 16);
        QCOMPARE(e.s.StrNrSeryjny(), QString::fromUtf8("ABłś123456789012"));
        id[10] = 0;
        QCOMPARE(e.s.StrNrSeryjny(), QString::fromUtf8("ABłś"));

        id[46] = 23, id[47] = 4, id[48] = 9;
        QCOMPARE(e.s.StrDataProdukcji(), QString("2023.04.09"));
        e.s.Historia[0] = 8, e.s.Historia[1] = 24, e.s.Historia[2] = 11, e.s.Historia[3] = 30;
        QCOMPARE(e.s.StrDataProdukcji(), QString("2024.11.30")); // the history is preferred

        id[74] = 125, id[75] = 0, id[76] = 7, id[77] = 0;
        QCOMPARE(e.s.StrCzasNaGazie(), QString("7:02:05"));
        e.s.Nastawy[101] = 5;
        QCOMPARE(e.s.StrCzasPrzegladu(), QString("0:00:00"));
        e.s.Nastawy[101] = 0x10, e.s.Nastawy[102] = 0x01;
        QCOMPARE(e.s.StrCzasPrzegladu(), QString("265:00:00"));
        e.s.InjectorCount = 6;
        QCOMPARE(e.s.StrIleWtryskiwaczy(), QString("6"));
        e.s.WorkstationId = 0x12ABCDEF;
        QCOMPARE(e.s.StrIdentWlasny(), QString("12AB-CDEF"));
    }

    void versionLine() {
        Eng e;
        uint8_t *id = e.s.Identyfikacja;
        id[58] = 3, id[59] = 4, id[60] = 7;
        id[62] = 24, id[63] = 3, id[64] = 5;
        id[50] = 0x0A, id[51] = 0x1B, id[52] = 0xFF;
        id[53] = 1;
        QCOMPARE(e.s.StrWersjaCyframi(0), QString("3.4.7  "));
        QCOMPARE(e.s.StrWersjaCyframi(1 | 2 | 4), QString("3.4.7  (24.03.05)  0A.1B.FF  B "));
        id[60] = 0;
        QCOMPARE(e.s.StrWersjaCyframi(4), QString()); // the letter only after something
        QVERIFY(e.s.StrWersjaCyframi(16).startsWith("Dev=00 "));
        QCOMPARE(e.s.StrWersjaCyframi(16).count(' '), 13);
        id[5] = 1;
        QCOMPARE(e.s.StrWersjaCyframi(63), QString());
    }

    void history() {
        Eng e;
        uint8_t *h = e.s.Historia + 8;
        h[0] = 0b1010, h[1] = 24, h[2] = 1, h[3] = 9;
        h[4] = 0x12, h[5] = 0xAB, h[6] = 0x00, h[7] = 0x0F;
        QCOMPARE(e.s.StrHistoria(0, 1), QString("2024.1.9"));
        QCOMPARE(e.s.StrHistoria(1, 1), QString());
        QCOMPARE(e.s.StrHistoria(2, 1), QString("v"));
        QCOMPARE(e.s.StrHistoria(4, 1), QString("v"));
        QCOMPARE(e.s.StrHistoria(5, 1), QString("12AB-000F"));
        QCOMPARE(e.s.StrHistoria(0, 2), QString());
        QCOMPARE(e.s.StrHistoria(6, 1), QString());
        QCOMPARE(e.s.StrHistoria(0, 32), QString());
    }

    void referenceCurves() {
        for (int i = 0; i <= 70; ++i)
            QCOMPARE(TSterownik::CzytajKorOdCis(i), 255);
        QCOMPARE(TSterownik::CzytajKorOdCis(71), 252);
        QCOMPARE(TSterownik::CzytajKorOdCis(139), 128);
        QCOMPARE(TSterownik::CzytajKorOdCis(140), 128);
        QCOMPARE(TSterownik::CzytajKorOdCis(511), 35);
        QCOMPARE(TSterownik::CzytajKorOdCis(512), -1);
        QCOMPARE(TSterownik::CzytajKorOdCis(-1), -1);
        for (int i = 1; i < 512; ++i)
            QVERIFY(TSterownik::CzytajKorOdCis(i) <= TSterownik::CzytajKorOdCis(i - 1));
        QCOMPARE(TSterownik::CzytajKorOdTempGazu(79), 65);
        QCOMPARE(TSterownik::CzytajKorOdTempGazu(84), 67);
        for (int i = 159; i <= 176; ++i)
            QCOMPARE(TSterownik::CzytajKorOdTempGazu(i), 128);
        QCOMPARE(TSterownik::CzytajKorOdTempGazu(255), 159);
        QCOMPARE(TSterownik::CzytajKorOdTempGazu(256), -1);
        for (int i = 1; i < 256; ++i)
            QVERIFY(TSterownik::CzytajKorOdTempGazu(i) >= TSterownik::CzytajKorOdTempGazu(i - 1));

        struct T {
            int (*f)(int);
            int clamped;
            QList<int> first;
            int end;
        };
        const QList<T> ts = {{&TSterownik::CzytajTabTer2k2, 4, {248, 242, 236, 230}, 237},
                             {&TSterownik::CzytajTabTer4k7, 8, {250, 245, 241, 238}, 243},
                             {&TSterownik::CzytajTabTer6k8, 12, {252, 249, 246, 244}, 245},
                             {&TSterownik::CzytajTabTer10k, 16, {252, 249, 247, 245}, 249}};
        for (const T &t : ts) {
            for (int i = 0; i <= t.clamped; ++i)
                QCOMPARE(t.f(i), 255);
            for (int k = 0; k < t.first.size(); ++k)
                QCOMPARE(t.f(t.clamped + 1 + k), t.first[k]);
            QCOMPARE(t.f(t.end), 88);
            for (int i = t.end + 1; i < 256; ++i)
                QCOMPARE(t.f(i), 0);
            for (int i = 1; i <= t.end; ++i)
                QVERIFY(t.f(i) <= t.f(i - 1));
            QVERIFY(t.f(t.end - 1) > 88 || t.f(t.end - 2) >= 88);
            QCOMPARE(t.f(256), -1);
        }
    }
};

QTEST_GUILESS_MAIN(TestTexts)
#include "tst_texts.moc"
