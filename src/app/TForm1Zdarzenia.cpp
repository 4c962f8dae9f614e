// Dispatcher of the engines' events, and the administrator's communication log.
#include "app/TForm1.h"

#include "app/TFormAdmin.h"
#include "app/TListaKanalow.h"
#include "app/TPanelPrawy.h"
#include "device/ErrorLines.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "obd/TObd.h"
#include "obd/ui/TPanelObd.h"
#include "widgets/TRichBox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>

namespace {
constexpr int RozmiarRx = int(sizeof(TSterownik::RxBuffer));

} // namespace

void TForm1::AktualizujTytul(const QString &suffix) {
    setWindowTitle(BaseTitle + suffix);
}

void TForm1::Zdarzenie(int kind, int a, int b, int c) {
    const uint8_t *rx = Sterownik1->RxBuffer;
    if (kind == 0 || kind == 3) ZdarzenieKopii(kind, a);
    // 1. The link (re)started: the caption loses its device or file suffix.
    if (kind == 3 && a == 0) {
        AktualizujTytul(QString());
        return;
    }
    // 2. A file was loaded into the image.
    if (kind == 4) {
        ConnectTag = -1;
        AktualizujTytul(QStringLiteral(" - [") + Sterownik1->LastFileName + QLatin1Char(']'));
        PrzebudujKanaly();
        return;
    }
    // 3. A reply was accepted.
    if (kind == 0) {
        const int len = std::clamp(b, 0, RozmiarRx);
        if ((a & 0xF0) == 0x90) {
            if (len <= 4) return;
            UpdateLive(rx);
            Grafika->NoweParametry(rx);
            Scope->NowaProbka(rx);
            for (TOdbiorcaOdczytow *o : odbiorcy_)
                if (o->Widoczny()) o->NowyOdczyt(rx);
            if (rx[6] == 0xF0) {
                // Fuel change: time stamp, one or two TABs, reason.
                QString line = Scope->CzasNagrania() + QLatin1Char('\t');
                if (line.size() <= 8) line += QLatin1Char('\t');
                const int reason = rx[7];
                if (reason >= 1 && reason <= 17)
                    line += LangText(2000 + reason);
                else if (reason >= 0x20 && reason <= 0x23)
                    line += LangText(2018 + reason - 0x20);
                RichEditInfo->Dodaj(line);
            }
            return;
        }
        switch (a) {
        case 0x70: {
            const int type = rx[17];
            if (type == 0 || len < 19) return;
            QString line;
            switch (type) {
            case 1: line = QStringLiteral("  RXD:"); break;
            case 2: line = QStringLiteral("  PID:"); break;
            case 4: line = QStringLiteral("  ECU:"); break;
            case 8: line = QStringLiteral("  SUP:"); break;
            case 16: line = QStringLiteral("  LST:"); break;
            case 32: line = QStringLiteral("  DTC:"); break;
            default: break;
            }
            // The dump never runs past the frame, whatever byte 18 claims.
            int last = len - 1;
            if (type == 1) last = std::min(last, 18 + rx[18]);
            for (int i = 18; i <= last; ++i) {
                line += QStringLiteral(" %1").arg(rx[i], 2, 16, QLatin1Char('0')).toUpper();
                if (type == 1 && i == 18) line += QStringLiteral("   ");
            }
            PanelObd->RichEditDtc->Dodaj(line);
            return;
        }
        case 0x81: {
            QString suffix;
            if (Sterownik1->Identyfikacja[5] == 0) {
                suffix = QStringLiteral("  -  ") + Sterownik1->StrWersjaSterownika() + QStringLiteral(" v") +
                         Sterownik1->StrWersjaCyframi(Edit1->isVisible() ? 63 : 0);
                TabObd[2]->setVisible(Sterownik1->NewBoard == 1);
                TabObd[1]->setVisible(false);
                WybierzPodzakladkeObd(0);
                if (CurrentTab == 5) SpeedButton31Click();
                PanelTopTab3Resize();
            }
            AktualizujTytul(suffix);
            StatusPolaczenia(true);
            PanelRight->PanelRightResize();
            return;
        }
        case 0x82: {
            if (len < 13) return;
            RaportBledow = QByteArray(reinterpret_cast<const char *>(rx), std::min(len, 128));
            RichEditBledy->Wyczysc();
            for (const QString &line : LinieBledow(rx, len, Sterownik1->StatusBytes[1]))
                RichEditBledy->Dodaj(line);
            return;
        }
        case 0x86:
        case 0xE8:
            PrzebudujKanaly();
            PanelRight->PanelRightResize();
            Nastawy->Odswiez();
            PanelRight->StringGridParametry->viewport()->update();
            PanelRight->StringGridCzasyWtr->viewport()->update();
            return;
        default: return;
        }
    }
    // 4. Calibration progress.
    if (kind == 2) {
        ProgressBar1->setValue(std::clamp(c, 0, 1024));
        QPushButton *b4 = Btn[3];
        auto koniec = [&] {
            if (CurrentTab == 1) b4->setText(LangText(1261) + QStringLiteral("  [Enter]"));
            ProgressBar1->hide();
        };
        switch (a) {
        case 1:
            if (CurrentTab == 1) b4->setText(LangText(1263) + QStringLiteral("  [Enter]"));
            ProgressBar1->setValue(0);
            ProgressBar1->show();
            LayoutActionButtons();
            break;
        case 3:
            koniec();
            LangMessageText(
                LangText(1293) + QLatin1Char('\n') + LangText(1294) + QLatin1Char('\n') + LangText(1295), 64);
            break;
        case 4:
            koniec();
            LangMessageText(LangText(1292), 16);
            break;
        case 5: koniec(); break;
        default: break;
        }
        Nastawy->Odswiez();
        return;
    }
    // 5. OBD adapter state.
    if (kind == 100 && a == 100) {
        PanelRight->UstawIkoneObd(b);
        PanelRight->PanelRightResize();
        if (b != 0) SpeedButton1Click(5);
        return;
    }
    // 6. Frames sent, other values: nothing.
}

// ------------------------------------------------------------------------------------ log window

void TForm1::Transmisja(bool on) {
    if (on) {
        FormAdmin->move(geometry().center() - FormAdmin->rect().center());
        FormAdmin->show();
        auto log = [this](QObject *sender, const QString &text, uint32_t colour) {
            LogTekst(sender, text, colour);
        };
        Sterownik1->OnTekst = log;
        Obd->OnTekst = log;
        ZgloszonyBladPortu = 0; // the log window shows the port's fault again on the next try
    } else {
        Sterownik1->OnTekst = nullptr;
        Obd->OnTekst = nullptr;
        FormAdmin->hide();
    }
}

void TForm1::LogTekst(QObject *, const QString &text, uint32_t colour) {
    FormAdmin->Dodaj(text, colour);
}
