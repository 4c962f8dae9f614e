#pragma once
// A main window for tests: configuration in a temporary INI file, both engines on memory ports with
// their timers stopped (tests drive the ticks), no splash, message boxes answered by a stub.
#include "app/TForm1.h"
#include "device/TSterownik.h"
#include "lang/LangText.h"
#include "link/SerialBackend.h"
#include "obd/TObd.h"

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>
#include <memory>

// Start options of a window for tests: configuration in ini, no splash, the controller on port.
inline TOpcjeStartu OpcjeTestu(const QString &ini, int language = 0, const QString &port = {}) {
    TOpcjeStartu o;
    o.PlikKonfiguracji = ini;
    o.Splash = false;
    o.Jezyk = language;
    o.Port = port;
    return o;
}

struct TOkno {
    QTemporaryDir dir;
    QString ini;
    std::shared_ptr<TMemoryPort> port = std::make_shared<TMemoryPort>();
    std::shared_ptr<TMemoryPort> portObd = std::make_shared<TMemoryPort>();
    std::unique_ptr<TForm1> w;
    QStringList boxes; // texts of the message boxes shown
    int answer = 6;    // Yes

    // locale: the system's, whose language a first start takes when the store holds none.
    explicit TOkno(int language = 0, bool admin = false, const std::function<void(QSettings &)> &store = {},
                   const QLocale &locale = QLocale(QLocale::Polish, QLocale::Poland)) {
        QStandardPaths::setTestModeEnabled(true);
        ini = dir.filePath(QStringLiteral("DuzERO.ini"));
        if (store) {
            QSettings s(ini, QSettings::IniFormat);
            store(s);
            s.sync();
        }
        LangSetMessageHandler([this](const QString &text, int) {
            boxes << text;
            return answer;
        });
        TOpcjeStartu o = OpcjeTestu(ini, language);
        o.Admin = admin;
        o.Lokalizacja = locale;
        w = std::make_unique<TForm1>(o);
        w->Sterownik1->StopTimer();
        w->Obd->StopTimer();
        w->Sterownik1->UseBackend(port);
        w->Obd->UseBackend(portObd);
        w->resize(1000, 700);
        w->show();
        w->Timer1.stop();
    }
    ~TOkno() {
        w.reset();
        LangSetMessageHandler(nullptr);
    }

    TSterownik &S() { return *w->Sterownik1; }
    // A polling reply of len bytes in the receive buffer, dispatched as the link does.
    void Odpowiedz(int len = 92) { w->Zdarzenie(0, 0x90, len, 0); }
    void Zero() { std::fill(std::begin(S().RxBuffer), std::end(S().RxBuffer), uint8_t(0)); }
};
