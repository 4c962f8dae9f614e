# Generic powertrain codes P2000-P2999 not written by hand in the sources.
B1, B2 = ("(Bank 1)", "(rząd 1)"), ("(Bank 2)", "(rząd 2)")


def bs(bank, sensor):
    return "(Bank %d Sensor %d)" % (bank, sensor), "(rząd %d, czujnik %d)" % (bank, sensor)


# Evaporative emission, fuel fired heater, exhaust temperature
F.seq("P2024", [("Evaporative Emission (EVAP) Fuel Vapor Temperature Sensor Circuit",
                 "Obwód czujnika temperatury par paliwa układu EVAP - usterka"),
                ("Evaporative Emission (EVAP) Fuel Vapor Temperature Sensor Performance",
                 "Czujnik temperatury par paliwa układu EVAP - nieprawidłowe działanie"),
                ("Evaporative Emission (EVAP) Fuel Vapor Temperature Sensor Circuit Low Voltage",
                 "Obwód czujnika temperatury par paliwa układu EVAP - niskie napięcie"),
                ("Evaporative Emission (EVAP) Fuel Vapor Temperature Sensor Circuit High Voltage",
                 "Obwód czujnika temperatury par paliwa układu EVAP - wysokie napięcie"),
                ("Evaporative Emission (EVAP) Fuel Vapor Temperature Sensor Circuit Intermittent",
                 "Obwód czujnika temperatury par paliwa układu EVAP - sygnał przerywany"),
                ("Fuel Fired Heater Disabled", "Nagrzewnica paliwowa wyłączona"),
                ("Fuel Fired Heater Performance", "Nagrzewnica paliwowa - nieprawidłowe działanie")])
F.run("P2031", "sensor3", "Exhaust Gas Temperature Sensor", "czujnika temperatury spalin", *bs(1, 2))
F.run("P2034", "sensor3", "Exhaust Gas Temperature Sensor", "czujnika temperatury spalin", *bs(2, 2))

# Reductant (urea) injection
F.run("P2037", "sensor5", "Reductant Injection Air Pressure Sensor",
      "czujnika ciśnienia powietrza wtrysku reduktora (AdBlue)")
F.run("P2042", "sensor5", "Reductant Temperature Sensor", "czujnika temperatury reduktora (AdBlue)")
for i, (bank, unit) in enumerate(((1, 1), (2, 1), (1, 2), (2, 2))):
    F.run("P%04d" % (2047 + 3 * i), "circuit3", "Reductant Injector",
          "wtryskiwacza reduktora (AdBlue)", "(Bank %d Unit %d)" % (bank, unit),
          "(rząd %d, wtryskiwacz %d)" % (bank, unit))
F.run("P2059", "control3", "Reductant Injection Air Pump", "pompy powietrza wtrysku reduktora (AdBlue)")
F.run("P2062", "control3", "Reductant Supply", "zasilania reduktorem (AdBlue)")
F.run("P2065", "sensor5", "Fuel Level Sensor \"B\"", "czujnika poziomu paliwa \"B\"")

# Intake manifold tuning, throttle correlation, exhaust temperature performance, camshaft actuators
F.seq("P2070", [("Intake Manifold Tuning (IMT) Valve Stuck Open",
                 "Zawór strojenia kolektora dolotowego (IMT) zablokowany w położeniu otwartym"),
                ("Intake Manifold Tuning (IMT) Valve Stuck Closed",
                 "Zawór strojenia kolektora dolotowego (IMT) zablokowany w położeniu zamkniętym"),
                ("Electronic Throttle Control System Performance - Ice Blockage",
                 "Elektroniczna przepustnica - nieprawidłowe działanie, oblodzenie"),
                ("Manifold Absolute Pressure/Mass Air Flow - Throttle Position Correlation at Idle",
                 "Ciśnienie w kolektorze/przepływ powietrza a położenie przepustnicy - niezgodność na biegu jałowym"),
                ("Manifold Absolute Pressure/Mass Air Flow - Throttle Position Correlation at Higher Load",
                 "Ciśnienie w kolektorze/przepływ powietrza a położenie przepustnicy - niezgodność przy większym obciążeniu")])
F.run("P2075", "sensor5", "Intake Manifold Tuning (IMT) Valve Position Sensor/Switch",
      "czujnika/włącznika położenia zaworu strojenia kolektora dolotowego (IMT)")
for i, (bank, sensor) in enumerate(((1, 1), (2, 1), (1, 2), (2, 2))):
    en, pl = bs(bank, sensor)
    F.seq("P%04d" % (2080 + 2 * i), [
        ("Exhaust Gas Temperature Sensor Circuit Range/Performance " + en,
         "Obwód czujnika temperatury spalin - nieprawidłowy zakres/działanie " + pl),
        ("Exhaust Gas Temperature Sensor Circuit Intermittent " + en,
         "Obwód czujnika temperatury spalin - sygnał przerywany " + pl)])
for i, (cam, bank) in enumerate((("A", 1), ("B", 1), ("A", 2), ("B", 2))):
    F.run("P%04d" % (2088 + 2 * i), "lowhigh", "\"%s\" Camshaft Position Actuator Control" % cam,
          "sterowania nastawnika położenia wałka rozrządu \"%s\"" % cam, "(Bank %d)" % bank, "(rząd %d)" % bank)

# Exhaust gas recirculation and exhaust pressure vents
F.run("P2143", "control3", "Exhaust Gas Recirculation Vent", "zaworu odpowietrzającego EGR")
F.run("P2169", "control3", "Exhaust Pressure Regulator Vent Solenoid",
      "elektrozaworu odpowietrzającego regulatora ciśnienia spalin")

# NOx sensors
F.seq("P2208", [("NOx Sensor Heater Sense Circuit (Bank 1)", "Obwód kontroli grzałki czujnika NOx - usterka (rząd 1)"),
                ("NOx Sensor Heater Sense Circuit Range/Performance (Bank 1)",
                 "Obwód kontroli grzałki czujnika NOx - nieprawidłowy zakres/działanie (rząd 1)"),
                ("NOx Sensor Heater Sense Circuit Low (Bank 1)",
                 "Obwód kontroli grzałki czujnika NOx - niski poziom sygnału (rząd 1)"),
                ("NOx Sensor Heater Sense Circuit High (Bank 1)",
                 "Obwód kontroli grzałki czujnika NOx - wysoki poziom sygnału (rząd 1)"),
                ("NOx Sensor Heater Sense Circuit Intermittent (Bank 1)",
                 "Obwód kontroli grzałki czujnika NOx - sygnał przerywany (rząd 1)")])
F.run("P2213", "sensor5", "NOx Sensor", "czujnika NOx", *B2)
F.run("P2218", "control3", "NOx Sensor Heater", "grzałki czujnika NOx", *B2)
F.seq("P2221", [("NOx Sensor Heater Sense Circuit (Bank 2)", "Obwód kontroli grzałki czujnika NOx - usterka (rząd 2)"),
                ("NOx Sensor Heater Sense Circuit Range/Performance (Bank 2)",
                 "Obwód kontroli grzałki czujnika NOx - nieprawidłowy zakres/działanie (rząd 2)"),
                ("NOx Sensor Heater Sense Circuit Low (Bank 2)",
                 "Obwód kontroli grzałki czujnika NOx - niski poziom sygnału (rząd 2)"),
                ("NOx Sensor Heater Sense Circuit High (Bank 2)",
                 "Obwód kontroli grzałki czujnika NOx - wysoki poziom sygnału (rząd 2)"),
                ("NOx Sensor Heater Sense Circuit Intermittent (Bank 2)",
                 "Obwód kontroli grzałki czujnika NOx - sygnał przerywany (rząd 2)")])
F.seq("P2227", [("Barometric Pressure Circuit Range/Performance",
                 "Obwód czujnika ciśnienia barometrycznego - nieprawidłowy zakres/działanie"),
                ("Barometric Pressure Circuit Low", "Obwód czujnika ciśnienia barometrycznego - niski poziom sygnału"),
                ("Barometric Pressure Circuit High", "Obwód czujnika ciśnienia barometrycznego - wysoki poziom sygnału")])

# Evaporative emission, secondary air, exhaust temperature, particulate filter
F.run("P2408", "sensor5", "Fuel Cap Sensor/Switch", "czujnika/włącznika korka wlewu paliwa")
F.one("P2413", "Exhaust Gas Recirculation System Performance", "Układ recyrkulacji spalin (EGR) - nieprawidłowe działanie")
F.seq("P2414", [("O2 Sensor Exhaust Sample Error (Bank 1 Sensor 1)",
                 "Sonda lambda - błąd próbki spalin (rząd 1, sonda 1)"),
                ("O2 Sensor Exhaust Sample Error (Bank 2 Sensor 1)",
                 "Sonda lambda - błąd próbki spalin (rząd 2, sonda 1)"),
                ("O2 Sensor Signals Swapped Bank 1 Sensor 2 / Bank 1 Sensor 3",
                 "Zamienione sygnały sond lambda: rząd 1 sonda 2 / rząd 1 sonda 3"),
                ("O2 Sensor Signals Swapped Bank 2 Sensor 2 / Bank 2 Sensor 3",
                 "Zamienione sygnały sond lambda: rząd 2 sonda 2 / rząd 2 sonda 3")])
F.run("P2418", "control3", "Evaporative Emission System Switching Valve",
      "zaworu przełączającego układu EVAP")
F.one("P2421", "Evaporative Emission System Vent Valve Stuck Open",
      "Zawór wentylacyjny układu EVAP zablokowany w położeniu otwartym")
F.one("P2423", "HC Adsorption Catalyst Efficiency Below Threshold (Bank 1)",
      "Sprawność katalizatora adsorpcji węglowodorów (HC) poniżej progu (rząd 1)")
F.one("P2424", "HC Adsorption Catalyst Efficiency Below Threshold (Bank 2)",
      "Sprawność katalizatora adsorpcji węglowodorów (HC) poniżej progu (rząd 2)")
F.run("P2425", "control3", "Exhaust Gas Recirculation Cooling Valve", "zaworu chłodzenia EGR")
F.one("P2428", "Exhaust Gas Temperature Too High (Bank 1)", "Zbyt wysoka temperatura spalin (rząd 1)")
F.one("P2429", "Exhaust Gas Temperature Too High (Bank 2)", "Zbyt wysoka temperatura spalin (rząd 2)")
F.run("P2430", "sensor5e", "Secondary Air Injection System Air Flow/Pressure Sensor",
      "czujnika przepływu/ciśnienia powietrza wtórnego", *B1)
F.run("P2435", "sensor5e", "Secondary Air Injection System Air Flow/Pressure Sensor",
      "czujnika przepływu/ciśnienia powietrza wtórnego", *B2)
F.one("P2448", "Secondary Air Injection System High Airflow (Bank 1)",
      "Układ powietrza wtórnego - zbyt duży przepływ powietrza (rząd 1)")
F.one("P2449", "Secondary Air Injection System High Airflow (Bank 2)",
      "Układ powietrza wtórnego - zbyt duży przepływ powietrza (rząd 2)")
F.one("P2450", "Evaporative Emission System Switching Valve Performance/Stuck Open",
      "Zawór przełączający układu EVAP - nieprawidłowe działanie/zablokowany w położeniu otwartym")
F.one("P2451", "Evaporative Emission System Switching Valve Stuck Closed",
      "Zawór przełączający układu EVAP zablokowany w położeniu zamkniętym")

# Charging, power, inputs and requests
F.seq("P2512", [("Event Data Recorder Request Circuit/Open",
                 "Obwód żądania rejestratora zdarzeń - przerwa w obwodzie"),
                ("Event Data Recorder Request Circuit Low", "Obwód żądania rejestratora zdarzeń - niski poziom sygnału"),
                ("Event Data Recorder Request Circuit High", "Obwód żądania rejestratora zdarzeń - wysoki poziom sygnału")])
F.run("P2515", "sensor4", "A/C Refrigerant Pressure Sensor \"B\"", "czujnika ciśnienia czynnika klimatyzacji \"B\"")
F.run("P2519", "sensor3", "A/C Request \"A\"", "żądania włączenia klimatyzacji \"A\"")
F.run("P2522", "sensor3", "A/C Request \"B\"", "żądania włączenia klimatyzacji \"B\"")
F.run("P2525", "sensor5", "Vacuum Reservoir Pressure Sensor", "czujnika ciśnienia zbiornika podciśnienia")
F.run("P2536", "sensor3", "Ignition Switch Accessory Position", "stacyjki w położeniu akcesoriów (ACC)")
F.run("P2539", "sensor5", "Low Pressure Fuel System Sensor", "czujnika niskiego ciśnienia paliwa")
for i, s in enumerate("AB"):
    base_en = "Torque Management Request Input Signal \"%s\"" % s
    base_pl = "Sygnał wejściowy żądania zmiany momentu obrotowego \"%s\"" % s
    F.seq("P%04d" % (2544 + 4 * i), [(base_en, base_pl + " - usterka"),
                                     (base_en + " Range/Performance", base_pl + " - nieprawidłowy zakres/działanie"),
                                     (base_en + " Low", base_pl + " - niski poziom"),
                                     (base_en + " High", base_pl + " - wysoki poziom")])
F.run("P2552", "sensor4", "Throttle/Fuel Inhibit", "blokady przepustnicy/paliwa")
F.run("P2556", "sensor4", "Engine Coolant Level Sensor/Switch", "czujnika/włącznika poziomu cieczy chłodzącej")
F.one("P2560", "Engine Coolant Level Low", "Zbyt niski poziom cieczy chłodzącej")
F.one("P2561", "A/C Control Module Requested MIL Illumination",
      "Sterownik klimatyzacji żąda zapalenia kontrolki MIL")
F.run("P2562", "sensor5", "Turbocharger Boost Control Position Sensor",
      "czujnika położenia sterowania doładowaniem turbosprężarki")
F.run("P2567", "sensor5e", "Direct Ozone Reduction Catalyst Temperature Sensor",
      "czujnika temperatury katalizatora redukcji ozonu")

# Actuators and outputs
F.run("P2611", "control3", "A/C Refrigerant Distribution Valve", "zaworu rozdziału czynnika klimatyzacji")
F.seq("P2615", [("Camshaft Position Signal Output Circuit Low",
                 "Obwód wyjściowy sygnału położenia wałka rozrządu - niski poziom sygnału"),
                ("Camshaft Position Signal Output Circuit High",
                 "Obwód wyjściowy sygnału położenia wałka rozrządu - wysoki poziom sygnału")])
F.seq("P2618", [("Crankshaft Position Signal Output Circuit Low",
                 "Obwód wyjściowy sygnału położenia wału korbowego - niski poziom sygnału"),
                ("Crankshaft Position Signal Output Circuit High",
                 "Obwód wyjściowy sygnału położenia wału korbowego - wysoki poziom sygnału")])
F.run("P2620", "circuit3", "Throttle Position Output", "wyjściowego położenia przepustnicy")
F.run("P2623", "circuit3", "Injector Control Pressure Regulator", "regulatora ciśnienia sterującego wtryskiwaczy")
for i, s in enumerate("AB"):
    base_en = "Torque Management Feedback Signal \"%s\"" % s
    base_pl = "Sygnał zwrotny zmiany momentu obrotowego \"%s\"" % s
    F.seq("P%04d" % (2637 + 4 * i), [(base_en, base_pl + " - usterka"),
                                     (base_en + " Range/Performance", base_pl + " - nieprawidłowy zakres/działanie"),
                                     (base_en + " Low", base_pl + " - niski poziom"),
                                     (base_en + " High", base_pl + " - wysoki poziom")])
for i, (arm, bank) in enumerate((("B", 1), ("A", 2), ("B", 2))):
    t_en, t_pl = "(Bank %d)" % bank, "(rząd %d)" % bank
    subj_pl = "siłownika dźwigienek zaworowych \"%s\"" % arm
    F.seq("P%04d" % (2650 + 5 * i), [
        ("\"%s\" Rocker Arm Actuator Control Circuit/Open %s" % (arm, t_en),
         "Obwód sterowania %s - przerwa w obwodzie %s" % (subj_pl, t_pl)),
        ("\"%s\" Rocker Arm Actuator System Performance or Stuck Off %s" % (arm, t_en),
         "Układ %s - nieprawidłowe działanie lub zablokowany w stanie wyłączonym %s" % (subj_pl, t_pl)),
        ("\"%s\" Rocker Arm Actuator System Stuck On %s" % (arm, t_en),
         "Układ %s - zablokowany w stanie włączonym %s" % (subj_pl, t_pl)),
        ("\"%s\" Rocker Arm Actuator Control Circuit Low %s" % (arm, t_en),
         "Obwód sterowania %s - niski poziom sygnału %s" % (subj_pl, t_pl)),
        ("\"%s\" Rocker Arm Actuator Control Circuit High %s" % (arm, t_en),
         "Obwód sterowania %s - wysoki poziom sygnału %s" % (subj_pl, t_pl))])
F.run("P2665", "control3", "Fuel Shutoff Valve \"B\"", "zaworu odcinającego paliwo \"B\"")
F.one("P2668", "Fuel Mode Indicator Lamp Control Circuit", "Obwód sterowania kontrolki rodzaju paliwa - usterka")
F.run("P2669", "circuit3", "Actuator Supply Voltage \"B\"", "napięcia zasilania nastawników \"B\"")

# Automatic transmission
for i, s in enumerate("ABCDEF"):
    F.one("P%04d" % (2700 + i), "Transmission Friction Element \"%s\" Apply Time Range/Performance" % s,
          "Czas załączania elementu ciernego skrzyni biegów \"%s\" - nieprawidłowy zakres/działanie" % s)
F.run("P2706", "solenoid5", "Shift Solenoid \"F\"", "", P="Elektrozawór zmiany biegów \"F\"")
F.one("P2711", "Unexpected Mechanical Gear Disengagement", "Nieoczekiwane mechaniczne wyłączenie biegu")
F.one("P2712", "Hydraulic Power Unit Leakage", "Nieszczelność hydraulicznej jednostki zasilającej")
for i, s in enumerate("DEF"):
    F.run("P%04d" % (2713 + 9 * i), "solenoid5", "Pressure Control Solenoid \"%s\"" % s, "",
          P="Elektrozawór regulacji ciśnienia \"%s\"" % s)
    F.run("P%04d" % (2718 + 9 * i), "control4", "Pressure Control Solenoid \"%s\"" % s,
          "elektrozaworu regulacji ciśnienia \"%s\"" % s)
F.run("P2740", "sensor5", "Transmission Fluid Temperature Sensor \"B\"", "czujnika temperatury oleju skrzyni biegów \"B\"")
F.run("P2745", "speed4", "Intermediate Shaft Speed Sensor \"B\"", "czujnika prędkości wałka pośredniego \"B\"")
F.run("P2749", "speed4", "Intermediate Shaft Speed Sensor \"C\"", "czujnika prędkości wałka pośredniego \"C\"")
F.run("P2753", "control3", "Transmission Fluid Cooler", "chłodnicy oleju skrzyni biegów")
F.seq("P2756", [("Torque Converter Clutch Pressure Control Solenoid",
                 "Elektrozawór regulacji ciśnienia sprzęgła przemiennika momentu - usterka"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit Performance or Stuck Off",
                 "Elektrozawór regulacji ciśnienia sprzęgła przemiennika momentu - nieprawidłowe działanie lub zablokowany w stanie wyłączonym"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit Stuck On",
                 "Elektrozawór regulacji ciśnienia sprzęgła przemiennika momentu - zablokowany w stanie włączonym"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit Electrical",
                 "Elektrozawór regulacji ciśnienia sprzęgła przemiennika momentu - usterka elektryczna"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit Intermittent",
                 "Elektrozawór regulacji ciśnienia sprzęgła przemiennika momentu - działanie przerywane"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit/Open",
                 "Obwód sterowania elektrozaworu ciśnienia sprzęgła przemiennika momentu - przerwa w obwodzie"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit Range/Performance",
                 "Obwód sterowania elektrozaworu ciśnienia sprzęgła przemiennika momentu - nieprawidłowy zakres/działanie"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit High",
                 "Obwód sterowania elektrozaworu ciśnienia sprzęgła przemiennika momentu - wysoki poziom sygnału"),
                ("Torque Converter Clutch Pressure Control Solenoid Control Circuit Low",
                 "Obwód sterowania elektrozaworu ciśnienia sprzęgła przemiennika momentu - niski poziom sygnału")])
F.run("P2765", "speed4", "Input/Turbine Speed Sensor \"B\"", "czujnika prędkości wałka wejściowego/turbiny \"B\"")
F.run("P2769", "lowhigh", "Torque Converter Clutch", "sprzęgła blokady przemiennika momentu (TCC)")
F.run("P2771", "sensor4", "Four Wheel Drive (4WD) Low Switch", "włącznika reduktora napędu 4WD")
for i, (en, pl) in enumerate((("Upshift Switch", "włącznika zmiany biegu w górę"),
                              ("Downshift Switch", "włącznika zmiany biegu w dół"))):
    F.seq("P%04d" % (2775 + 4 * i), [
        (en + " Circuit Range/Performance", "Obwód %s - nieprawidłowy zakres/działanie" % pl),
        (en + " Circuit Low", "Obwód %s - niski poziom sygnału" % pl),
        (en + " Circuit High", "Obwód %s - wysoki poziom sygnału" % pl),
        (en + " Circuit Intermittent/Erratic", "Obwód %s - sygnał przerywany/niestabilny" % pl)])
F.seq("P2783", [("Torque Converter Temperature Too High", "Zbyt wysoka temperatura przemiennika momentu"),
                ("Input/Turbine Speed Sensor \"A\"/\"B\" Correlation",
                 "Czujniki prędkości wałka wejściowego/turbiny \"A\"/\"B\" - niezgodność sygnałów"),
                ("Clutch Actuator Temperature Too High", "Zbyt wysoka temperatura nastawnika sprzęgła"),
                ("Gear Shift Actuator Temperature Too High", "Zbyt wysoka temperatura nastawnika zmiany biegów"),
                ("Clutch Temperature Too High", "Zbyt wysoka temperatura sprzęgła"),
                ("Auto Shift Manual Adaptive Learning at Limit",
                 "Adaptacja zautomatyzowanej skrzyni manualnej na granicy zakresu"),
                ("Clutch Adaptive Learning at Limit", "Adaptacja sprzęgła na granicy zakresu")])
F.run("P2790", "sensor3", "Gate Select Direction", "kierunku wybierania ścieżki (gate select)")
F.run("P2793", "sensor3", "Gear Shift Direction", "kierunku zmiany biegu")
F.one("P2796", "Auxiliary Transmission Fluid Pump Control Circuit",
      "Obwód sterowania pomocniczej pompy oleju skrzyni biegów - usterka")
F.one("P2797", "Auxiliary Transmission Fluid Pump Performance",
      "Pomocnicza pompa oleju skrzyni biegów - nieprawidłowe działanie")
F.seq("P2800", [("Transmission Range Sensor \"B\" Circuit (PRNDL Input)",
                 "Obwód czujnika zakresu skrzyni biegów \"B\" (położenie dźwigni PRNDL) - usterka"),
                ("Transmission Range Sensor \"B\" Circuit Range/Performance",
                 "Obwód czujnika zakresu skrzyni biegów \"B\" - nieprawidłowy zakres/działanie"),
                ("Transmission Range Sensor \"B\" Circuit Low",
                 "Obwód czujnika zakresu skrzyni biegów \"B\" - niski poziom sygnału"),
                ("Transmission Range Sensor \"B\" Circuit High",
                 "Obwód czujnika zakresu skrzyni biegów \"B\" - wysoki poziom sygnału"),
                ("Transmission Range Sensor \"B\" Circuit Intermittent",
                 "Obwód czujnika zakresu skrzyni biegów \"B\" - sygnał przerywany"),
                ("Transmission Range Sensor \"A\"/\"B\" Correlation",
                 "Czujniki zakresu skrzyni biegów \"A\"/\"B\" - niezgodność sygnałów"),
                ("Transmission Range Sensor Alignment", "Nieprawidłowe ustawienie czujnika zakresu skrzyni biegów")])
F.run("P2807", "solenoid5", "Pressure Control Solenoid \"G\"", "", P="Elektrozawór regulacji ciśnienia \"G\"")
F.run("P2812", "control4", "Pressure Control Solenoid \"G\"", "elektrozaworu regulacji ciśnienia \"G\"")
F.run("P2816", "solenoid5", "Shift Solenoid \"G\"", "", P="Elektrozawór zmiany biegów \"G\"")

# Reductant (urea) level and pressure, SCR catalyst
F.run("P203A", "sensor5", "Reductant Level Sensor", "czujnika poziomu reduktora (AdBlue)", hexa=True)
F.one("P203F", "Reductant Level Too Low", "Zbyt niski poziom reduktora (AdBlue)")
F.one("P20E8", "Reductant Pressure Too Low", "Zbyt niskie ciśnienie reduktora (AdBlue)")
F.one("P20E9", "Reductant Pressure Too High", "Zbyt wysokie ciśnienie reduktora (AdBlue)")
F.one("P20EE", "SCR NOx Catalyst Efficiency Below Threshold (Bank 1)",
      "Sprawność katalizatora SCR (redukcji NOx) poniżej progu (rząd 1)")
F.one("P242F", "Diesel Particulate Filter Restriction - Ash Accumulation",
      "Filtr cząstek stałych (DPF) zatkany - nagromadzenie popiołu")
F.one("P244A", "Diesel Particulate Filter Differential Pressure Too Low (Bank 1)",
      "Zbyt niska różnica ciśnień na filtrze cząstek stałych (DPF) (rząd 1)")
F.one("P244B", "Diesel Particulate Filter Differential Pressure Too High (Bank 1)",
      "Zbyt wysoka różnica ciśnień na filtrze cząstek stałych (DPF) (rząd 1)")

# Reductant pressure, tank temperature and quality; second-bank SCR efficiency; valve lift actuator "A"
F.run("P204A", "sensor4", "Reductant Pressure Sensor", "czujnika ciśnienia reduktora (AdBlue)", hexa=True)
F.one("P204F", "Reductant System Performance (Bank 1)", "Układ reduktora (AdBlue) - nieprawidłowe działanie (rząd 1)")
F.run("P205A", "sensor4", "Reductant Tank Temperature Sensor", "czujnika temperatury w zbiorniku reduktora (AdBlue)",
      hexa=True)
F.one("P207F", "Reductant Quality Performance", "Nieprawidłowa jakość reduktora (AdBlue)")
F.one("P20EF", "SCR NOx Catalyst Efficiency Below Threshold (Bank 2)",
      "Sprawność katalizatora SCR (redukcji NOx) poniżej progu (rząd 2)")
F.one("P2645", "\"A\" Rocker Arm Actuator Control Circuit/Open (Bank 1)",
      "Obwód sterowania siłownika dźwigienek zaworowych \"A\" - przerwa w obwodzie (rząd 1)")
F.one("P244C", "Exhaust Temperature Too Low For Particulate Filter Regeneration (Bank 1)",
      "Zbyt niska temperatura spalin do regeneracji filtra cząstek stałych (DPF) (rząd 1)")
