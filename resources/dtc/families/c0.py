# Generic chassis codes C0000-C0FFF: wheel speed sensors, ABS valves and pump, brake switch.
WHEELS = [("Left Front", "koła przedniego lewego"), ("Right Front", "koła przedniego prawego"),
          ("Left Rear", "koła tylnego lewego"), ("Right Rear", "koła tylnego prawego")]
for i, (en, pl) in enumerate(WHEELS):
    F.run("C%04d" % (35 + 5 * i), "sensor5", en + " Wheel Speed Sensor", "czujnika prędkości " + pl)
    for n in (1, 2):
        F.one("C%04d" % (60 + 10 * i + 5 * (n - 1)), "%s ABS Solenoid #%d Circuit" % (en, n),
              "Obwód elektrozaworu ABS nr %d %s - usterka" % (n, pl))
F.one("C0110", "ABS Pump Motor Circuit", "Obwód silnika pompy ABS - usterka")
F.one("C0121", "ABS Valve Relay Circuit", "Obwód przekaźnika zaworów ABS - usterka")
F.one("C0161", "ABS/TCS Brake Switch Circuit", "Obwód włącznika hamulca (ABS/TCS) - usterka")
F.one("C0245", "Wheel Speed Sensor Frequency Error", "Nieprawidłowa częstotliwość sygnału czujnika prędkości koła")
F.one("C0265", "Electronic Brake Control Module (EBCM) Relay Circuit",
      "Obwód przekaźnika sterownika hamulców (EBCM) - usterka")
F.one("C0550", "Electronic Brake Control Module (EBCM) Internal Fault",
      "Wewnętrzna usterka sterownika hamulców (EBCM)")
