// obd vehicle [--json]: the emissions check of every control unit that answers (readiness monitors,
// freeze frame, VIN, calibration IDs, CVNs, ECU name), read by the engine's vehicle steps right
// after the connection.
#include "cli/Commands.h"
#include "cli/ObdJob.h"
#include "obd/DtcTexts.h"
#include "obd/ObdInspekcja.h"

#include <QLocale>

namespace {

// A JSON string: quotes, backslashes and control characters escaped.
QString J(const QString &s) {
    QString out = QStringLiteral("\"");
    for (QChar c : s) {
        if (c == u'"' || c == u'\\')
            out += u'\\' + QString(c);
        else if (c.unicode() < 0x20)
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out + u'"';
}

QString J(bool v) {
    return v ? QStringLiteral("true") : QStringLiteral("false");
}

QString J(const QStringList &l) {
    QStringList items;
    for (const QString &s : l)
        items << J(s);
    return u'[' + items.join(QStringLiteral(", ")) + u']';
}

QString J(double v) {
    return QString::number(v, 'g', 15);
}

template <class T> QString JLubNull(const std::optional<T> &v) {
    return v ? J(*v) : QStringLiteral("null");
}

QString JMonitory(const std::optional<TObdGotowosc> &g) {
    if (!g) return QStringLiteral("null");
    QStringList items;
    for (const TObdMonitor &m : g->monitory)
        items << QStringLiteral("{\"name\": %1, \"supported\": %2, \"complete\": %3}")
                     .arg(J(m.nazwa), J(m.obslugiwany), J(m.gotowy));
    return u'[' + items.join(QStringLiteral(", ")) + u']';
}

QString JZamrozenie(const std::optional<TObdZamrozenie> &z) {
    if (!z) return QStringLiteral("null");
    QStringList values;
    for (const TObdWartoscZamrozona &w : z->wartosci)
        values << QStringLiteral("{\"pid\": %1, \"name\": %2, \"value\": %3, \"unit\": %4, \"text\": %5}")
                      .arg(J(QStringLiteral("%1").arg(w.pid, 2, 16, QLatin1Char('0')).toUpper()), J(w.nazwa),
                           JLubNull(w.wartosc), J(w.jednostka), J(w.tekst));
    return QStringLiteral("{\"dtc\": %1, \"values\": [%2]}")
        .arg(J(z->dtc), values.join(QStringLiteral(", ")));
}

QString JLubNull(const std::optional<int> &v) {
    return v ? QString::number(*v) : QStringLiteral("null");
}

QString JKody(const std::optional<QList<uint16_t>> &kody) {
    if (!kody) return QStringLiteral("null");
    QStringList items;
    for (uint16_t k : *kody)
        items << QStringLiteral("{\"code\": %1, \"description\": %2}")
                     .arg(J(DtcTekstKodu(k)), J(OpisKoduDtc(k)));
    return u'[' + items.join(QStringLiteral(", ")) + u']';
}

QString JWerdykt(const TObdWerdykt &w) {
    return QStringLiteral(
               "{\"ready\": %1, \"readiness_read\": %2, \"incomplete_monitors\": %3, \"allowed\": %4, "
               "\"mil\": %5, \"permanent_codes\": %6, \"text\": %7}")
        .arg(J(w.gotowy), J(w.znany), w.znany ? QString::number(w.niekompletne) : QStringLiteral("null"))
        .arg(w.dozwolone)
        .arg(w.znany ? J(w.mil) : QStringLiteral("null"), JLubNull(w.permanentne), J(TekstWerdyktu(w)));
}

QString Json(const TObdPojazd &p, int dozwolone) {
    QStringList ecus;
    for (const TObdEcuPojazdu &e : p.ecu) {
        QStringList f;
        f << QStringLiteral("\"address\": ") + J(e.adresTekst);
        f << QStringLiteral("\"vin\": ") + JLubNull(e.vin);
        f << QStringLiteral("\"calibration_ids\": ") + JLubNull(e.kalibracje);
        f << QStringLiteral("\"cvns\": ") + JLubNull(e.cvn);
        f << QStringLiteral("\"ecu_name\": ") + JLubNull(e.nazwaEcu);
        f << QStringLiteral("\"mil\": ") + (e.status ? J(e.status->mil) : QStringLiteral("null"));
        f << QStringLiteral("\"dtc_count\": ") +
                 (e.status ? QString::number(e.status->kody) : QStringLiteral("null"));
        const TObdGotowosc *g = e.status ? &*e.status : e.cykl ? &*e.cykl : nullptr;
        f << QStringLiteral("\"ignition\": ") +
                 (g ? J(g->samoczynny ? QStringLiteral("compression") : QStringLiteral("spark"))
                    : QStringLiteral("null"));
        f << QStringLiteral("\"monitors\": ") + JMonitory(e.status);
        f << QStringLiteral("\"monitors_this_cycle\": ") + JMonitory(e.cykl);
        f << QStringLiteral("\"freeze_frame\": ") + JZamrozenie(e.zamrozenie);
        f << QStringLiteral("\"warm_ups_since_clear\": ") + JLubNull(e.rozgrzania);
        f << QStringLiteral("\"distance_since_clear_km\": ") + JLubNull(e.kmOdKasowania);
        f << QStringLiteral("\"time_since_clear_min\": ") + JLubNull(e.minOdKasowania);
        f << QStringLiteral("\"distance_mil_on_km\": ") + JLubNull(e.kmZLampa);
        f << QStringLiteral("\"time_mil_on_min\": ") + JLubNull(e.minZLampa);
        f << QStringLiteral("\"stored_codes\": ") + JKody(e.kodyZapisane);
        f << QStringLiteral("\"pending_codes\": ") + JKody(e.kodyOczekujace);
        f << QStringLiteral("\"permanent_codes\": ") + JKody(e.kodyPermanentne);
        ecus << QStringLiteral("{") + f.join(QStringLiteral(", ")) + u'}';
    }
    return QStringLiteral("{\"ecus\": [") + ecus.join(QStringLiteral(", ")) +
           QStringLiteral("], \"verdict\": ") + JWerdykt(Werdykt(p, dozwolone)) + u'}';
}

// This drive cycle's bits tell whether a monitor is enabled, not whether the car has it.
QStringList TekstMonitorow(const TObdGotowosc &g, bool cykl) {
    const QString brak = cykl ? QStringLiteral("not enabled this cycle") : QStringLiteral("not supported");
    QStringList lines;
    for (const TObdMonitor &m : g.monitory)
        lines << QStringLiteral("    %1 %2")
                     .arg(m.nazwa.leftJustified(24), !m.obslugiwany ? brak
                                                     : m.gotowy     ? QStringLiteral("complete")
                                                                    : QStringLiteral("INCOMPLETE"));
    return lines;
}

QString TekstKodow(const std::optional<QList<uint16_t>> &kody) {
    if (!kody) return QStringLiteral("not available");
    if (kody->isEmpty()) return QStringLiteral("none");
    QStringList l;
    for (uint16_t k : *kody)
        l << DtcTekstKodu(k);
    return l.join(QStringLiteral(", "));
}

QString TekstLicznika(const std::optional<int> &v, const char *jednostka) {
    return v ? QStringLiteral("%1%2").arg(*v).arg(QLatin1String(jednostka)) : QStringLiteral("not available");
}

QStringList Tekst(const TObdPojazd &p, int dozwolone) {
    const QString na = QStringLiteral("not available");
    QStringList out;
    out << TekstWerdyktu(Werdykt(p, dozwolone));
    if (p.ecu.isEmpty()) out << QStringLiteral("no control unit answered");
    for (const TObdEcuPojazdu &e : p.ecu) {
        out << QStringLiteral("ECU %1").arg(e.adresTekst);
        if (e.status)
            out << QStringLiteral("  MIL: %1, stored codes: %2, ignition: %3")
                       .arg(e.status->mil ? QStringLiteral("on") : QStringLiteral("off"))
                       .arg(e.status->kody)
                       .arg(e.status->samoczynny ? QStringLiteral("compression") : QStringLiteral("spark"));
        out << QStringLiteral("  Monitors since codes cleared:") + (e.status ? QString() : u' ' + na);
        if (e.status) out << TekstMonitorow(*e.status, false);
        out << QStringLiteral("  Monitors this drive cycle:") + (e.cykl ? QString() : u' ' + na);
        if (e.cykl) out << TekstMonitorow(*e.cykl, true);
        if (e.zamrozenie) {
            out << QStringLiteral("  Freeze frame: %1").arg(e.zamrozenie->dtc);
            for (const TObdWartoscZamrozona &w : e.zamrozenie->wartosci)
                out << QStringLiteral("    %1 %2 %3")
                           .arg(QStringLiteral("%1").arg(w.pid, 2, 16, QLatin1Char('0')).toUpper(),
                                w.nazwa.leftJustified(36),
                                w.jednostka.isEmpty() ? w.tekst
                                                      : w.tekst + QStringLiteral(" [") + w.jednostka + u']');
        } else {
            out << QStringLiteral("  Freeze frame: none stored");
        }
        out << QStringLiteral("  VIN: ") + e.vin.value_or(na);
        out << QStringLiteral("  Calibration IDs: ") +
                   (e.kalibracje ? e.kalibracje->join(QStringLiteral(", ")) : na);
        out << QStringLiteral("  CVNs: ") + (e.cvn ? e.cvn->join(QStringLiteral(", ")) : na);
        out << QStringLiteral("  ECU name: ") + e.nazwaEcu.value_or(na);
        out << QStringLiteral("  Since codes cleared: warm-ups %1, distance %2, time %3")
                   .arg(e.rozgrzania ? QString::number(*e.rozgrzania) : na,
                        TekstLicznika(e.kmOdKasowania, " km"), TekstLicznika(e.minOdKasowania, " min"));
        out << QStringLiteral("  With the lamp on: distance %1, time %2")
                   .arg(TekstLicznika(e.kmZLampa, " km"), TekstLicznika(e.minZLampa, " min"));
        out << QStringLiteral("  Stored codes: ") + TekstKodow(e.kodyZapisane);
        out << QStringLiteral("  Pending codes: ") + TekstKodow(e.kodyOczekujace);
        out << QStringLiteral("  Permanent codes: ") + TekstKodow(e.kodyPermanentne);
    }
    return out;
}

// Records the vehicle page the engine fills.
class TPojazdZapisu : public TObdPojazdWidok {
public:
    void CzytaniePojazdu() override {}
    void PokazPojazd(const TObdPojazd &p) override {
        if (OnPokaz) OnPokaz(p);
    }
    std::function<void(const TObdPojazd &)> OnPokaz;
};

// Reads the vehicle once and hands it on.
class VehicleJob : public ObdJob {
public:
    VehicleJob(const CliOptions &o, std::function<void(const TObdPojazd &)> pokaz) : ObdJob(o) {
        // With the page attached the engine reads the vehicle as soon as the connection is made.
        O.MyPojazd = &pojazd_;
        pojazd_.OnPokaz = [this, pokaz](const TObdPojazd &p) {
            if (Finished()) return;
            pokaz(p);
            Finish(WyjscieOk);
        };
    }
    ~VehicleJob() override { O.MyPojazd = nullptr; }

protected:
    QString Waiting() const override {
        return O.Stan >= 5000 ? QStringLiteral("the vehicle information") : ObdJob::Waiting();
    }
    void Ticked() override {
        // Every answer of the read gives us more time (not the connection: a search may loop).
        if (O.Stan >= 5000 && O.Stan != lastState_) Progress();
        lastState_ = O.Stan;
    }

private:
    int lastState_ = 0;
    TPojazdZapisu pojazd_;
};

} // namespace

int CmdObdPojazd(const CliOptions &o, const QStringList &args) {
    TArgumenty a;
    QString error;
    if (!a.Czytaj(args, {}, {QStringLiteral("--json")}, &error))
        return UsageError(QStringLiteral("obd vehicle: ") + error);
    if (!a.Operandy().isEmpty())
        return UsageError(QStringLiteral("obd vehicle: unexpected \"%1\"").arg(a.Operandy().first()));
    // Numbers in the JSON are read by programs: the point is always the decimal separator there.
    if (a.Flaga(QStringLiteral("--json"))) QLocale::setDefault(QLocale::c());
    const bool json = a.Flaga(QStringLiteral("--json"));
    const int dozwolone = CzytajKonfiguracje().Dozwolone;
    VehicleJob job(o, [json, dozwolone](const TObdPojazd &p) {
        if (json)
            Wypisz(Json(p, dozwolone));
        else
            for (const QString &line : Tekst(p, dozwolone))
                Wypisz(line);
    });
    return job.Run();
}

int CzytajPojazdCli(const CliOptions &o, TObdPojazd *pojazd) {
    VehicleJob job(o, [pojazd](const TObdPojazd &p) { *pojazd = p; });
    return job.Run();
}
