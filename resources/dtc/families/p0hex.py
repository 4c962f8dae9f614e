# Generic powertrain codes of the lettered P00xx-P06xx places (counted in hexadecimal).
H = dict(hexa=True)
B1, B2 = ("(Bank 1)", "(rząd 1)"), ("(Bank 2)", "(rząd 2)")
F.run("P007A", "sensor5e", "Charge Air Cooler Temperature Sensor", "czujnika temperatury za chłodnicą powietrza doładowania",
      *B1, **H)
F.one("P007F", "Charge Air Cooler Temperature Sensor Bank 1 / Bank 2 Correlation",
      "Czujniki temperatury za chłodnicą powietrza doładowania rząd 1/rząd 2 - niezgodność sygnałów")
F.one("P008A", "Low Pressure Fuel System Pressure - Too Low", "Układ niskiego ciśnienia paliwa - ciśnienie zbyt niskie")
F.one("P008B", "Low Pressure Fuel System Pressure - Too High", "Układ niskiego ciśnienia paliwa - ciśnienie zbyt wysokie")
F.one("P009A", "Intake Air Temperature/Ambient Air Temperature Correlation",
      "Temperatura powietrza dolotowego a temperatura otoczenia - niezgodność")
F.seq("P00BC", [("Mass or Volume Air Flow \"A\" Circuit Range/Performance - Air Flow Too Low",
                 "Obwód przepływomierza powietrza \"A\" - nieprawidłowy zakres, zbyt mały przepływ"),
                ("Mass or Volume Air Flow \"A\" Circuit Range/Performance - Air Flow Too High",
                 "Obwód przepływomierza powietrza \"A\" - nieprawidłowy zakres, zbyt duży przepływ"),
                ("Mass or Volume Air Flow \"B\" Circuit Range/Performance - Air Flow Too Low",
                 "Obwód przepływomierza powietrza \"B\" - nieprawidłowy zakres, zbyt mały przepływ"),
                ("Mass or Volume Air Flow \"B\" Circuit Range/Performance - Air Flow Too High",
                 "Obwód przepływomierza powietrza \"B\" - nieprawidłowy zakres, zbyt duży przepływ")], **H)

# Oxygen sensor slow and delayed responses
SLOW = ("Slow Response", "powolna reakcja")
LATE = ("Delayed Response", "opóźniona reakcja")
RL = ("Rich to Lean", "z bogatej na ubogą")
LR = ("Lean to Rich", "z ubogiej na bogatą")


def o2(first, rows):
    F.seq(first, [("O2 Sensor %s - %s (Bank %d Sensor %d)" % (k[0], d[0], b, s),
                   "Sonda lambda - %s przy zmianie %s (rząd %d, sonda %d)" % (k[1], d[1], b, s))
                  for k, d, b, s in rows], **H)


o2("P013A", [(SLOW, RL, 1, 2), (SLOW, LR, 1, 2), (SLOW, RL, 2, 2), (SLOW, LR, 2, 2),
             (LATE, RL, 1, 2), (LATE, LR, 1, 2)])
o2("P014A", [(LATE, RL, 2, 2), (LATE, LR, 2, 2), (SLOW, RL, 1, 1), (SLOW, LR, 1, 1), (SLOW, RL, 2, 1),
             (SLOW, LR, 2, 1)])
o2("P015A", [(LATE, RL, 1, 1), (LATE, LR, 1, 1), (LATE, RL, 2, 1), (LATE, LR, 2, 1)])

F.one("P026A", "Charge Air Cooler Efficiency Below Threshold", "Sprawność chłodnicy powietrza doładowania poniżej progu")
F.run("P025A", "control4", "Fuel Pump Module \"A\"", "modułu pompy paliwa \"A\"", **H)
F.run("P051A", "sensor5e", "Crankcase Pressure Sensor", "czujnika ciśnienia w skrzyni korbowej", **H)

# Controller self-checks
ICM = "Internal Control Module "
PL_ICM = "Sterownik - błąd wewnętrzny: "
F.seq("P060A", [(ICM + "Monitoring Processor Performance", PL_ICM + "procesor nadzorujący"),
                (ICM + "A/D Processing Performance", PL_ICM + "przetwarzanie analogowo-cyfrowe"),
                (ICM + "Main Processor Performance", PL_ICM + "procesor główny"),
                (ICM + "Accelerator Pedal Position Performance", PL_ICM + "położenie pedału przyspieszenia"),
                (ICM + "Throttle Position Performance", PL_ICM + "położenie przepustnicy"),
                (ICM + "Coolant Temperature Performance", PL_ICM + "temperatura cieczy chłodzącej")], **H)
F.seq("P061A", [(ICM + "Torque Performance", PL_ICM + "moment obrotowy"),
                (ICM + "Torque Calculation Performance", PL_ICM + "obliczanie momentu obrotowego"),
                (ICM + "Engine RPM Performance", PL_ICM + "prędkość obrotowa silnika"),
                (ICM + "Engine Air Mass Performance", PL_ICM + "masa powietrza zasysanego"),
                (ICM + "Brake Signal Performance", PL_ICM + "sygnał hamulca"),
                (ICM + "Throttle Actuator Controller Performance", PL_ICM + "układ sterowania przepustnicą")], **H)
F.seq("P062A", [("Fuel Pump \"A\" Control Circuit Range/Performance",
                 "Obwód sterowania pompy paliwa \"A\" - nieprawidłowy zakres/działanie"),
                (ICM + "Fuel Injector Control Performance", PL_ICM + "sterowanie wtryskiwaczami"),
                (ICM + "Vehicle Speed Performance", PL_ICM + "prędkość pojazdu"),
                ("Fuel Injector Driver Circuit Performance (Bank 1)",
                 "Obwód wzmacniacza sterowania wtryskiwaczy - nieprawidłowe działanie (rząd 1)"),
                ("Fuel Injector Driver Circuit Performance (Bank 2)",
                 "Obwód wzmacniacza sterowania wtryskiwaczy - nieprawidłowe działanie (rząd 2)"),
                (ICM + "EEPROM Error", "Błąd pamięci EEPROM sterownika")], **H)
F.run("P063A", "sensor4", "Generator Voltage Sense", "pomiaru napięcia alternatora", **H)
F.seq("P068A", [("ECM/PCM Power Relay De-Energized - Too Early",
                 "Przekaźnik zasilania sterownika (ECM/PCM) wyłączony zbyt wcześnie"),
                ("ECM/PCM Power Relay De-Energized - Too Late",
                 "Przekaźnik zasilania sterownika (ECM/PCM) wyłączony zbyt późno")], **H)
F.one("P069E", "Fuel Pump Control Module Requested MIL Illumination",
      "Moduł sterowania pompy paliwa żąda zapalenia kontrolki MIL")

# Fuel cooling and fuel pressure relief, radiator coolant temperature
F.run("P008C", "control3", "Fuel Cooler Pump", "pompy chłodnicy paliwa", **H)
F.one("P008F", "Engine Coolant Temperature/Fuel Temperature Correlation",
      "Temperatura cieczy chłodzącej a temperatura paliwa - niezgodność")
F.run("P009B", "control3", "Fuel Pressure Relief", "zaworu upustowego ciśnienia paliwa", **H)
F.one("P009E", "Fuel Pressure Relief Control Performance", "Zawór upustowy ciśnienia paliwa - nieprawidłowe działanie")
F.one("P009F", "Fuel Pressure Relief Control Stuck Open",
      "Zawór upustowy ciśnienia paliwa zablokowany w położeniu otwartym")
F.run("P00B1", "sensor5e", "Radiator Coolant Temperature Sensor", "czujnika temperatury cieczy w chłodnicy", **H)
F.one("P00B6", "Radiator Coolant Temperature/Engine Coolant Temperature Correlation",
      "Temperatura cieczy w chłodnicy a temperatura cieczy w silniku - niezgodność")
F.one("P00B7", "Engine Coolant Flow Low/Performance", "Zbyt mały przepływ cieczy chłodzącej/nieprawidłowe działanie")

# Fuel quantity and diesel intake air flow control
F.one("P026C", "Fuel Injection Quantity Lower Than Expected", "Dawka wtrysku paliwa mniejsza od oczekiwanej")
F.one("P026D", "Fuel Injection Quantity Higher Than Expected", "Dawka wtrysku paliwa większa od oczekiwanej")
F.seq("P02E0", [("Diesel Intake Air Flow Control Circuit/Open",
                 "Obwód sterowania przepustnicy powietrza dolotowego (diesel) - przerwa w obwodzie"),
                ("Diesel Intake Air Flow Control Performance",
                 "Sterowanie przepustnicy powietrza dolotowego (diesel) - nieprawidłowe działanie"),
                ("Diesel Intake Air Flow Control Circuit Low",
                 "Obwód sterowania przepustnicy powietrza dolotowego (diesel) - niski poziom sygnału"),
                ("Diesel Intake Air Flow Control Circuit High",
                 "Obwód sterowania przepustnicy powietrza dolotowego (diesel) - wysoki poziom sygnału"),
                ("Diesel Intake Air Flow Control Stuck Open",
                 "Przepustnica powietrza dolotowego (diesel) zablokowana w położeniu otwartym"),
                ("Diesel Intake Air Flow Control Stuck Closed",
                 "Przepustnica powietrza dolotowego (diesel) zablokowana w położeniu zamkniętym"),
                ("Diesel Intake Air Flow Position Sensor Circuit",
                 "Obwód czujnika położenia przepustnicy powietrza dolotowego (diesel) - usterka"),
                ("Diesel Intake Air Flow Position Sensor Circuit Range/Performance",
                 "Obwód czujnika położenia przepustnicy powietrza dolotowego (diesel) - nieprawidłowy zakres/działanie"),
                ("Diesel Intake Air Flow Position Sensor Circuit Low",
                 "Obwód czujnika położenia przepustnicy powietrza dolotowego (diesel) - niski poziom sygnału"),
                ("Diesel Intake Air Flow Position Sensor Circuit High",
                 "Obwód czujnika położenia przepustnicy powietrza dolotowego (diesel) - wysoki poziom sygnału")], **H)

# Controller memory and oil pressure control
F.one("P06B8", "Internal Control Module Non-Volatile Random Access Memory (NVRAM) Error",
      "Błąd pamięci nieulotnej (NVRAM) sterownika")
F.seq("P06DA", [("Engine Oil Pressure Control Circuit/Open", "Obwód sterowania ciśnienia oleju silnikowego - przerwa w obwodzie"),
                ("Engine Oil Pressure Control Circuit Low", "Obwód sterowania ciśnienia oleju silnikowego - niski poziom sygnału"),
                ("Engine Oil Pressure Control Circuit High", "Obwód sterowania ciśnienia oleju silnikowego - wysoki poziom sygnału"),
                ("Engine Oil Pressure Control Circuit Stuck Off",
                 "Sterowanie ciśnienia oleju silnikowego zablokowane w stanie wyłączonym"),
                ("Engine Oil Pressure Control Circuit Stuck On",
                 "Sterowanie ciśnienia oleju silnikowego zablokowane w stanie włączonym")], **H)

# Pressure correlations of charged engines
F.seq("P006A", [("MAP - Mass or Volume Air Flow Correlation",
                 "Ciśnienie w kolektorze dolotowym (MAP) a przepływ powietrza (MAF) - niezgodność"),
                ("MAP - Exhaust Pressure Correlation", "Ciśnienie w kolektorze dolotowym (MAP) a ciśnienie spalin - niezgodność"),
                ("MAP - Turbocharger/Supercharger Inlet Pressure Correlation",
                 "Ciśnienie w kolektorze dolotowym (MAP) a ciśnienie na wlocie turbosprężarki/sprężarki - niezgodność"),
                ("Barometric Pressure - Turbocharger/Supercharger Inlet Pressure Correlation",
                 "Ciśnienie barometryczne a ciśnienie na wlocie turbosprężarki/sprężarki - niezgodność")], **H)
F.seq("P012B", [("Turbocharger/Supercharger Inlet Pressure Sensor Circuit " + e,
                 "Obwód czujnika ciśnienia na wlocie turbosprężarki/sprężarki - " + p)
                for e, p in (("Range/Performance", "nieprawidłowy zakres/działanie"), ("Low", "niski poziom sygnału"),
                             ("High", "wysoki poziom sygnału"))], **H)

# Injection timing of each cylinder (diesel)
F.seq("P020A", [("Cylinder %d Injection Timing" % n, "Moment wtrysku w cylindrze %d - usterka" % n)
                for n in range(1, 7)], **H)
F.seq("P021A", [("Cylinder %d Injection Timing" % n, "Moment wtrysku w cylindrze %d - usterka" % n)
                for n in range(7, 13)], **H)

# Evaporative emission leak check reference orifice
F.seq("P043E", [("Evaporative Emission System Leak Detection Reference Orifice Low Flow",
                 "Układ EVAP - zbyt mały przepływ przez kryzę wzorcową kontroli szczelności"),
                ("Evaporative Emission System Leak Detection Reference Orifice High Flow",
                 "Układ EVAP - zbyt duży przepływ przez kryzę wzorcową kontroli szczelności")], **H)

# Oxygen sensor processor inside the controller
F.seq("P064D", [(ICM + "O2 Sensor Processor Performance (Bank 1)", PL_ICM + "procesor sond lambda (rząd 1)"),
                (ICM + "O2 Sensor Processor Performance (Bank 2)", PL_ICM + "procesor sond lambda (rząd 2)")], **H)

# Crankcase ventilation and cold start emission checks
F.one("P04DB", "Crankcase Ventilation System Disconnected", "Układ odpowietrzenia skrzyni korbowej rozłączony")
F.seq("P050A", [("Cold Start Idle Air Control System Performance",
                 "Układ regulacji biegu jałowego - nieprawidłowe działanie po zimnym rozruchu"),
                ("Cold Start Ignition Timing Performance",
                 "Kąt wyprzedzenia zapłonu - nieprawidłowe działanie po zimnym rozruchu")], **H)

# Second air flow meter
F.run("P010A", "sensor5e", "Mass or Volume Air Flow \"B\"", "przepływomierza powietrza \"B\"", **H)

# Sensor reference voltages: the fourth supply, and the range check of each supply
REF_EN, REF_PL = "Sensor Reference Voltage \"%s\"", "napięcia odniesienia (zasilania czujników) \"%s\""
F.seq("P06A3", [(REF_EN % "D" + " Circuit/Open", "Obwód " + REF_PL % "D" + " - przerwa w obwodzie"),
                (REF_EN % "D" + " Circuit Low", "Obwód " + REF_PL % "D" + " - niskie napięcie"),
                (REF_EN % "D" + " Circuit High", "Obwód " + REF_PL % "D" + " - wysokie napięcie")] +
      [(REF_EN % s + " Circuit Range/Performance", "Obwód " + REF_PL % s + " - nieprawidłowy zakres/działanie")
       for s in "ABCD"], **H)
