# Generic hybrid and electric drive codes P0A00-P0AFF (lettered range: counted in hexadecimal).
H = dict(hexa=True)
F.run("P0A00", "sensor5", "Motor Electronics Coolant Temperature Sensor",
      "czujnika temperatury cieczy chłodzącej elektroniki napędu", **H)
F.run("P0A05", "control3", "Motor Electronics Coolant Pump", "pompy cieczy chłodzącej elektroniki napędu", **H)
F.seq("P0A08", [("DC/DC Converter Status Circuit", "Obwód stanu przetwornicy DC/DC - usterka"),
                ("DC/DC Converter Status Circuit Low Input", "Obwód stanu przetwornicy DC/DC - niski poziom sygnału")],
      **H)
F.seq("P0A0A", [("High Voltage System Interlock Circuit", "Obwód blokady (interlock) układu wysokiego napięcia - usterka"),
                ("High Voltage System Interlock Circuit Performance",
                 "Obwód blokady (interlock) układu wysokiego napięcia - nieprawidłowe działanie"),
                ("High Voltage System Interlock Circuit Low",
                 "Obwód blokady (interlock) układu wysokiego napięcia - niski poziom sygnału"),
                ("High Voltage System Interlock Circuit High",
                 "Obwód blokady (interlock) układu wysokiego napięcia - wysoki poziom sygnału"),
                ("High Voltage System Interlock Circuit Intermittent",
                 "Obwód blokady (interlock) układu wysokiego napięcia - sygnał przerywany"),
                ("Engine Failed to Start", "Silnik spalinowy nie uruchomił się"),
                ("DC/DC Converter Status Circuit High Input", "Obwód stanu przetwornicy DC/DC - wysoki poziom sygnału")],
      **H)
F.run("P0A11", "control3", "DC/DC Converter Enable", "załączania przetwornicy DC/DC", **H)
F.run("P0A14", "control3", "Engine Mount", "aktywnej poduszki silnika", **H)
F.seq("P0A1A", [("Generator Control Module", "Sterownik generatora - usterka"),
                ("Drive Motor \"A\" Control Module", "Sterownik silnika napędowego \"A\" - usterka"),
                ("Drive Motor \"B\" Control Module", "Sterownik silnika napędowego \"B\" - usterka"),
                ("Hybrid Powertrain Control Module", "Sterownik hybrydowego układu napędowego - usterka"),
                ("Starter/Generator Control Module", "Sterownik rozrusznika-alternatora - usterka"),
                ("Battery Energy Control Module", "Sterownik energii akumulatora (BECM) - usterka")], **H)
for first, (en, pl), over in (("P0A2A", ("Drive Motor \"A\"", "silnika napędowego \"A\""), "P0A2F"),
                              ("P0A30", ("Drive Motor \"B\"", "silnika napędowego \"B\""), "P0A35"),
                              ("P0A36", ("Generator", "generatora"), "P0A3B")):
    F.run(first, "sensor5", en + " Temperature Sensor", "czujnika temperatury " + pl, **H)
    F.one(over, en + " Over Temperature", "Przegrzanie " + pl)
F.seq("P0A3C", [("Drive Motor \"A\" Inverter Over Temperature", "Przegrzanie falownika silnika napędowego \"A\""),
                ("Drive Motor \"B\" Inverter Over Temperature", "Przegrzanie falownika silnika napędowego \"B\""),
                ("Generator Inverter Over Temperature", "Przegrzanie falownika generatora")], **H)
for first, (en, pl), over in (("P0A3F", ("Drive Motor \"A\"", "silnika napędowego \"A\""), "P0A44"),
                              ("P0A45", ("Drive Motor \"B\"", "silnika napędowego \"B\""), "P0A4A"),
                              ("P0A4B", ("Generator", "generatora"), "P0A50")):
    F.run(first, "sensor5", en + " Position Sensor", "czujnika położenia wirnika " + pl, **H)
    F.one(over, en + " Position Sensor Circuit Overspeed",
          "Obwód czujnika położenia wirnika %s - przekroczona prędkość" % pl)
for first, (en, pl) in (("P0A51", ("Drive Motor \"A\"", "silnika napędowego \"A\"")),
                        ("P0A55", ("Drive Motor \"B\"", "silnika napędowego \"B\"")),
                        ("P0A59", ("Generator", "generatora"))):
    F.run(first, "sensor4", en + " Current Sensor", "czujnika prądu " + pl, **H)
F.seq("P0A78", [("Drive Motor \"A\" Inverter Performance", "Falownik silnika napędowego \"A\" - nieprawidłowe działanie"),
                ("Drive Motor \"B\" Inverter Performance", "Falownik silnika napędowego \"B\" - nieprawidłowe działanie"),
                ("Generator Inverter Performance", "Falownik generatora - nieprawidłowe działanie"),
                None,
                ("Motor Electronics Over Temperature", "Przegrzanie elektroniki napędu"),
                ("Hybrid Battery Pack State of Charge Low", "Niski stan naładowania akumulatora trakcyjnego"),
                ("Hybrid Battery Pack Over Temperature", "Przegrzanie akumulatora trakcyjnego"),
                ("Hybrid Battery Pack Deterioration", "Zużycie akumulatora trakcyjnego"),
                ("Replace Hybrid Battery Pack", "Wymień akumulator trakcyjny (hybrydowy)"),
                ("Hybrid Battery Pack Cooling Fan 1", "Wentylator 1 chłodzenia akumulatora trakcyjnego - usterka"),
                ("Hybrid Battery Pack Cooling Fan 1 Performance/Stuck Off",
                 "Wentylator 1 chłodzenia akumulatora trakcyjnego - nieprawidłowe działanie lub zablokowany w stanie wyłączonym"),
                ("Hybrid Battery Pack Cooling Fan 1 Stuck On",
                 "Wentylator 1 chłodzenia akumulatora trakcyjnego - zablokowany w stanie włączonym"),
                ("Hybrid Battery Pack Cooling Fan 1 Control Circuit Low",
                 "Obwód sterowania wentylatora 1 chłodzenia akumulatora trakcyjnego - niski poziom sygnału"),
                ("Hybrid Battery Pack Cooling Fan 1 Control Circuit High",
                 "Obwód sterowania wentylatora 1 chłodzenia akumulatora trakcyjnego - wysoki poziom sygnału")], **H)
F.run("P0A86", "sensor5", "14 Volt Power Module Current Sensor", "czujnika prądu modułu zasilania 14 V", **H)
F.seq("P0A8B", [("14 Volt Power Module System Voltage", "Napięcie układu modułu zasilania 14 V - usterka"),
                ("14 Volt Power Module System Voltage Unstable", "Niestabilne napięcie układu modułu zasilania 14 V"),
                ("14 Volt Power Module System Voltage Low", "Zbyt niskie napięcie układu modułu zasilania 14 V"),
                ("14 Volt Power Module System Voltage High", "Zbyt wysokie napięcie układu modułu zasilania 14 V"),
                ("14 Volt Power Module System Performance", "Moduł zasilania 14 V - nieprawidłowe działanie"),
                ("Drive Motor \"A\" Performance", "Silnik napędowy \"A\" - nieprawidłowe działanie"),
                ("Drive Motor \"B\" Performance", "Silnik napędowy \"B\" - nieprawidłowe działanie"),
                ("Hybrid Generator Performance", "Generator hybrydowy - nieprawidłowe działanie"),
                ("Inverter \"A\" Cooling System Performance", "Układ chłodzenia falownika \"A\" - nieprawidłowe działanie"),
                ("DC/DC Converter Performance", "Przetwornica DC/DC - nieprawidłowe działanie"),
                ("High Voltage Fuse", "Bezpiecznik wysokiego napięcia - usterka")], **H)
F.run("P0A9B", "sensor5", "Hybrid Battery Temperature Sensor \"A\"",
      "czujnika temperatury akumulatora trakcyjnego \"A\"", **H)
F.seq("P0AA0", [("Hybrid Battery Positive Contactor Circuit", "Obwód stycznika dodatniego akumulatora trakcyjnego - usterka"),
                ("Hybrid Battery Positive Contactor Circuit Stuck Closed",
                 "Stycznik dodatni akumulatora trakcyjnego zablokowany w stanie zamkniętym"),
                ("Hybrid Battery Positive Contactor Circuit Stuck Open",
                 "Stycznik dodatni akumulatora trakcyjnego zablokowany w stanie otwartym"),
                ("Hybrid Battery Negative Contactor Circuit", "Obwód stycznika ujemnego akumulatora trakcyjnego - usterka"),
                ("Hybrid Battery Negative Contactor Circuit Stuck Closed",
                 "Stycznik ujemny akumulatora trakcyjnego zablokowany w stanie zamkniętym"),
                ("Hybrid Battery Negative Contactor Circuit Stuck Open",
                 "Stycznik ujemny akumulatora trakcyjnego zablokowany w stanie otwartym"),
                ("Hybrid Battery Voltage System Isolation Fault",
                 "Uszkodzenie izolacji układu wysokiego napięcia akumulatora trakcyjnego")], **H)
F.one("P0AC4", "Hybrid Powertrain Control Module Requested MIL Illumination",
      "Sterownik hybrydowego układu napędowego żąda zapalenia kontrolki MIL")

# Phase currents of each electric machine: current, current low, current high for phases U, V, W.
MACHINES = [("Drive Motor \"A\"", "silnika napędowego \"A\""), ("Drive Motor \"B\"", "silnika napędowego \"B\""),
            ("Generator", "generatora")]
rows = []
for en, pl in MACHINES:
    for phase in "UVW":
        rows += [("%s Phase %s Current" % (en, phase), "Prąd fazy %s %s - usterka" % (phase, pl)),
                 ("%s Phase %s Current Low" % (en, phase), "Prąd fazy %s %s - zbyt niski" % (phase, pl)),
                 ("%s Phase %s Current High" % (en, phase), "Prąd fazy %s %s - zbyt wysoki" % (phase, pl))]
F.seq("P0A5D", rows, **H)
FAN2 = "wentylatora 2 chłodzenia akumulatora trakcyjnego"
F.seq("P0A96", [("Hybrid Battery Pack Cooling Fan 2", "Wentylator 2 chłodzenia akumulatora trakcyjnego - usterka"),
                ("Hybrid Battery Pack Cooling Fan 2 Performance/Stuck Off",
                 "Wentylator 2 chłodzenia akumulatora trakcyjnego - nieprawidłowe działanie lub zablokowany w stanie wyłączonym"),
                ("Hybrid Battery Pack Cooling Fan 2 Stuck On",
                 "Wentylator 2 chłodzenia akumulatora trakcyjnego - zablokowany w stanie włączonym"),
                ("Hybrid Battery Pack Cooling Fan 2 Control Circuit Low",
                 "Obwód sterowania %s - niski poziom sygnału" % FAN2),
                ("Hybrid Battery Pack Cooling Fan 2 Control Circuit High",
                 "Obwód sterowania %s - wysoki poziom sygnału" % FAN2)], **H)
