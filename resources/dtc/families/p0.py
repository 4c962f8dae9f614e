# Generic powertrain codes P0000-P0999 not written by hand in the sources.
F.one("P000E", "Fuel Volume Regulator Control Exceeded Learning Limit",
      "Sterowanie regulatora wydatku paliwa - przekroczony zakres adaptacji")
F.one("P000F", "Fuel System Over Pressure Relief Valve Activated",
      "Zadziałał zawór nadciśnieniowy układu paliwowego")

# Misfire and rough road
F.one("P0317", "Rough Road Hardware Not Present", "Brak czujnika nierówności drogi")
F.one("P0318", "Rough Road Sensor \"A\" Signal Circuit", "Obwód sygnału czujnika nierówności drogi \"A\" - usterka")
F.one("P0319", "Rough Road Sensor \"B\"", "Czujnik nierówności drogi \"B\" - usterka")
F.one("P0363", "Misfire Detected - Fueling Disabled",
      "Wykryto wypadanie zapłonów - wyłączono wtrysk paliwa")
F.run("P0383", "lowhigh", "Glow Plug Control Module Control", "sterowania modułu świec żarowych")
F.run("P0458", "lowhigh", "Evaporative Emission System Purge Control Valve",
      "zaworu przedmuchu układu EVAP (odpowietrzania zbiornika)")

# Vehicle speed, idle and auxiliary inputs
F.one("P0504", "Brake Switch \"A\"/\"B\" Correlation", "Włącznik hamulca \"A\"/\"B\" - niezgodność sygnałów")
F.one("P0511", "Idle Air Control Circuit", "Obwód regulacji powietrza biegu jałowego (IAC) - usterka")
F.one("P0514", "Battery Temperature Sensor Circuit Range/Performance",
      "Obwód czujnika temperatury akumulatora - nieprawidłowy zakres/działanie")
F.one("P0518", "Idle Air Control Circuit Intermittent",
      "Obwód regulacji powietrza biegu jałowego (IAC) - sygnał przerywany")
F.one("P0519", "Idle Air Control System Performance",
      "Układ regulacji powietrza biegu jałowego (IAC) - nieprawidłowe działanie")
F.one("P0525", "Cruise Control Servo Control Circuit Range/Performance",
      "Obwód sterowania serwomechanizmu tempomatu - nieprawidłowy zakres/działanie")
F.seq("P0526", [("Fan Speed Sensor Circuit", "Obwód czujnika prędkości wentylatora - usterka"),
                ("Fan Speed Sensor Circuit Range/Performance",
                 "Obwód czujnika prędkości wentylatora - nieprawidłowy zakres/działanie"),
                ("Fan Speed Sensor Circuit No Signal", "Obwód czujnika prędkości wentylatora - brak sygnału"),
                ("Fan Speed Sensor Circuit Intermittent", "Obwód czujnika prędkości wentylatora - sygnał przerywany")])
F.run("P0535", "sensor5", "A/C Evaporator Temperature Sensor", "czujnika temperatury parownika klimatyzacji")
F.seq("P0541", [("Intake Air Heater \"A\" Circuit Low", "Obwód podgrzewacza powietrza dolotowego \"A\" - niski poziom sygnału"),
                ("Intake Air Heater \"A\" Circuit High", "Obwód podgrzewacza powietrza dolotowego \"A\" - wysoki poziom sygnału"),
                ("Intake Air Heater \"A\" Circuit Open", "Obwód podgrzewacza powietrza dolotowego \"A\" - przerwa w obwodzie")])
F.run("P0544", "sensor3", "Exhaust Gas Temperature Sensor", "czujnika temperatury spalin",
      "(Bank 1 Sensor 1)", "(rząd 1, czujnik 1)")
F.run("P0547", "sensor3", "Exhaust Gas Temperature Sensor", "czujnika temperatury spalin",
      "(Bank 2 Sensor 1)", "(rząd 2, czujnik 1)")
F.run("P0555", "sensor5", "Brake Booster Pressure Sensor", "czujnika podciśnienia wspomagania hamulców")

# Cruise control and thermostat heater
F.one("P0574", "Cruise Control System - Vehicle Speed Too High", "Tempomat - zbyt wysoka prędkość pojazdu")
F.run("P0575", "sensor3", "Cruise Control Input", "wejściowego tempomatu")
F.seq("P0578", [("Cruise Control Multi-Function Input \"A\" Circuit Stuck",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"A\" - sygnał zablokowany"),
                ("Cruise Control Multi-Function Input \"A\" Circuit Range/Performance",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"A\" - nieprawidłowy zakres/działanie"),
                ("Cruise Control Multi-Function Input \"A\" Circuit Low",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"A\" - niski poziom sygnału"),
                ("Cruise Control Multi-Function Input \"A\" Circuit High",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"A\" - wysoki poziom sygnału")])
F.run("P0582", "control3", "Cruise Control Vacuum", "zaworu podciśnienia tempomatu")
F.one("P0585", "Cruise Control Multi-Function Input \"A\"/\"B\" Correlation",
      "Wielofunkcyjne wejście tempomatu \"A\"/\"B\" - niezgodność sygnałów")
F.run("P0586", "control3", "Cruise Control Vent", "zaworu odpowietrzającego tempomatu")
F.seq("P0589", [("Cruise Control Multi-Function Input \"B\" Circuit",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"B\" - usterka"),
                ("Cruise Control Multi-Function Input \"B\" Circuit Stuck",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"B\" - sygnał zablokowany"),
                ("Cruise Control Multi-Function Input \"B\" Circuit Range/Performance",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"B\" - nieprawidłowy zakres/działanie"),
                ("Cruise Control Multi-Function Input \"B\" Circuit Low",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"B\" - niski poziom sygnału"),
                ("Cruise Control Multi-Function Input \"B\" Circuit High",
                 "Obwód wielofunkcyjnego wejścia tempomatu \"B\" - wysoki poziom sygnału")])
F.run("P0594", "control3", "Cruise Control Servo", "serwomechanizmu tempomatu")
F.run("P0597", "control3", "Thermostat Heater", "grzałki termostatu")

# Controllers and outputs
F.seq("P0611", [("Fuel Injector Control Module Performance", "Moduł sterowania wtryskiwaczy - nieprawidłowe działanie"),
                ("Fuel Injector Control Module Relay Control", "Sterowanie przekaźnika modułu wtryskiwaczy - usterka"),
                ("TCM Processor", "Procesor sterownika skrzyni biegów (TCM) - usterka"),
                ("ECM/TCM Incompatible", "Sterownik silnika (ECM) i skrzyni biegów (TCM) - niezgodne ze sobą")])
F.seq("P0623", [("Generator Lamp Control Circuit", "Obwód sterowania kontrolki ładowania - usterka"),
                ("Fuel Cap Lamp Control Circuit", "Obwód sterowania kontrolki korka wlewu paliwa - usterka"),
                ("Generator Field Terminal Circuit Low", "Obwód zacisku wzbudzenia alternatora - niski poziom sygnału"),
                ("Generator Field Terminal Circuit High", "Obwód zacisku wzbudzenia alternatora - wysoki poziom sygnału")])
F.seq("P0631", [("VIN Not Programmed or Incompatible - TCM",
                 "Numer VIN niezaprogramowany lub niezgodny - sterownik skrzyni biegów (TCM)"),
                ("Odometer Not Programmed - ECM/PCM", "Licznik przebiegu niezaprogramowany - sterownik silnika (ECM/PCM)"),
                ("Immobilizer Key Not Programmed - ECM/PCM",
                 "Klucz immobilizera niezaprogramowany - sterownik silnika (ECM/PCM)"),
                ("PCM/ECM/TCM Internal Temperature Too High", "Zbyt wysoka temperatura wewnętrzna sterownika (PCM/ECM/TCM)")])
F.run("P0635", "sensor3", "Power Steering Control", "sterowania wspomagania kierownicy")
F.one("P0638", "Throttle Actuator Control Range/Performance (Bank 1)",
      "Sterowanie nastawnika przepustnicy - nieprawidłowy zakres/działanie (rząd 1)")
F.one("P0639", "Throttle Actuator Control Range/Performance (Bank 2)",
      "Sterowanie nastawnika przepustnicy - nieprawidłowy zakres/działanie (rząd 2)")
F.one("P0640", "Intake Air Heater Control Circuit", "Obwód sterowania podgrzewacza powietrza dolotowego - usterka")
F.one("P0644", "Driver Display Serial Communication Circuit",
      "Obwód komunikacji szeregowej wyświetlacza kierowcy - usterka")
F.one("P0648", "Immobilizer Lamp Control Circuit", "Obwód sterowania kontrolki immobilizera - usterka")
F.one("P0649", "Speed Control Lamp Control Circuit", "Obwód sterowania kontrolki tempomatu - usterka")
F.one("P0684", "Glow Plug Control Module to PCM Communication Circuit Range/Performance",
      "Obwód komunikacji modułu świec żarowych ze sterownikiem (PCM) - nieprawidłowy zakres/działanie")

# Automatic transmission
F.one("P0729", "Gear 6 Incorrect Ratio", "Nieprawidłowe przełożenie biegu 6")
F.run("P0737", "sensor3", "TCM Engine Speed Output", "wyjściowego prędkości obrotowej silnika sterownika skrzyni (TCM)")
F.run("P0775", "solenoid5", "Pressure Control Solenoid \"B\"", "", P="Elektrozawór regulacji ciśnienia \"B\"")
F.run("P0791", "speed4", "Intermediate Shaft Speed Sensor \"A\"", "czujnika prędkości wałka pośredniego \"A\"")
F.run("P0795", "solenoid5", "Pressure Control Solenoid \"C\"", "", P="Elektrozawór regulacji ciśnienia \"C\"")
F.one("P0800", "Transfer Case Control System (MIL Request)",
      "Układ sterowania skrzynki rozdzielczej - żądanie zapalenia kontrolki MIL")
F.one("P0802", "Transmission Control System MIL Request Circuit/Open",
      "Obwód żądania kontrolki MIL od sterownika skrzyni biegów - przerwa w obwodzie")
F.seq("P0810", [("Clutch Position Control Error", "Błąd sterowania położeniem sprzęgła"),
                ("Excessive Clutch Slippage", "Nadmierny poślizg sprzęgła"),
                ("Reverse Input Circuit", "Obwód wejściowy biegu wstecznego - usterka"),
                ("Reverse Output Circuit", "Obwód wyjściowy biegu wstecznego - usterka"),
                ("Transmission Range Display Circuit", "Obwód wyświetlacza zakresu skrzyni biegów - usterka"),
                ("Upshift Switch Circuit", "Obwód włącznika zmiany biegu w górę - usterka"),
                ("Downshift Switch Circuit", "Obwód włącznika zmiany biegu w dół - usterka"),
                ("Starter Disable Circuit", "Obwód blokady rozrusznika - usterka"),
                ("Driveline Disconnect Switch Input Circuit", "Obwód wejściowy włącznika rozłączenia napędu - usterka"),
                ("Up and Down Shift Switch to Transmission Range Correlation",
                 "Włączniki zmiany biegu w górę/w dół a zakres skrzyni biegów - niezgodność"),
                ("Gear Lever X-Y Position Sensor Circuit", "Obwód czujnika położenia X-Y dźwigni zmiany biegów - usterka"),
                ("Gear Lever X Position Circuit", "Obwód położenia X dźwigni zmiany biegów - usterka"),
                ("Gear Lever Y Position Circuit", "Obwód położenia Y dźwigni zmiany biegów - usterka"),
                ("Gear Lever X Position Circuit Intermittent", "Obwód położenia X dźwigni zmiany biegów - sygnał przerywany"),
                ("Gear Lever Y Position Circuit Intermittent", "Obwód położenia Y dźwigni zmiany biegów - sygnał przerywany"),
                ("Gear Lever Push-Pull Switch (Shift Anticipate)",
                 "Włącznik pchnij-pociągnij dźwigni zmiany biegów (zapowiedź zmiany) - usterka"),
                ("Up and Down Shift Switch Circuit", "Obwód włączników zmiany biegu w górę/w dół - usterka"),
                ("Up and Down Shift Switch Circuit Low", "Obwód włączników zmiany biegu w górę/w dół - niski poziom sygnału"),
                ("Up and Down Shift Switch Circuit High", "Obwód włączników zmiany biegu w górę/w dół - wysoki poziom sygnału"),
                ("5-6 Shift", "Zmiana biegu 5-6 - usterka")])
F.run("P0836", "sensor4", "Four Wheel Drive (4WD) Switch", "włącznika napędu na cztery koła (4WD)")
F.run("P0851", "lowhigh", "Park/Neutral Switch Input", "wejściowego włącznika położenia P/N")
F.run("P0853", "sensor3", "Drive Switch Input", "wejściowego włącznika położenia D")
F.seq("P0856", [("Traction Control Input Signal", "Sygnał wejściowy układu kontroli trakcji - usterka"),
                ("Traction Control Input Signal Range/Performance",
                 "Sygnał wejściowy układu kontroli trakcji - nieprawidłowy zakres/działanie"),
                ("Traction Control Input Signal Low", "Sygnał wejściowy układu kontroli trakcji - niski poziom sygnału"),
                ("Traction Control Input Signal High", "Sygnał wejściowy układu kontroli trakcji - wysoki poziom sygnału")])
F.run("P0860", "sensor3", "Gear Shift Module Communication", "komunikacji modułu zmiany biegów")
F.run("P0863", "sensor4", "TCM Communication", "komunikacji sterownika skrzyni biegów (TCM)")
F.seq("P0867", [("Transmission Fluid Pressure", "Ciśnienie oleju skrzyni biegów - usterka"),
                ("Transmission Fluid Pressure Low", "Zbyt niskie ciśnienie oleju skrzyni biegów"),
                ("Transmission Fluid Pressure High", "Zbyt wysokie ciśnienie oleju skrzyni biegów")])
F.run("P0870", "sensor5", "Transmission Fluid Pressure Sensor/Switch \"C\"",
      "czujnika/włącznika ciśnienia oleju skrzyni biegów \"C\"")
F.run("P0875", "sensor5", "Transmission Fluid Pressure Sensor/Switch \"D\"",
      "czujnika/włącznika ciśnienia oleju skrzyni biegów \"D\"")
F.seq("P0880", [("TCM Power Input Signal", "Sygnał zasilania sterownika skrzyni biegów (TCM) - usterka"),
                ("TCM Power Input Signal Range/Performance",
                 "Sygnał zasilania sterownika skrzyni biegów (TCM) - nieprawidłowy zakres/działanie"),
                ("TCM Power Input Signal Low", "Sygnał zasilania sterownika skrzyni biegów (TCM) - niski poziom"),
                ("TCM Power Input Signal High", "Sygnał zasilania sterownika skrzyni biegów (TCM) - wysoki poziom"),
                ("TCM Power Input Signal Intermittent", "Sygnał zasilania sterownika skrzyni biegów (TCM) - przerywany")])
F.run("P0885", "control3", "TCM Power Relay", "przekaźnika zasilania sterownika skrzyni biegów (TCM)")
F.seq("P0888", [("TCM Power Relay Sense Circuit", "Obwód kontroli przekaźnika zasilania sterownika skrzyni (TCM) - usterka"),
                ("TCM Power Relay Sense Circuit Range/Performance",
                 "Obwód kontroli przekaźnika zasilania sterownika skrzyni (TCM) - nieprawidłowy zakres/działanie"),
                ("TCM Power Relay Sense Circuit Low",
                 "Obwód kontroli przekaźnika zasilania sterownika skrzyni (TCM) - niski poziom sygnału"),
                ("TCM Power Relay Sense Circuit High",
                 "Obwód kontroli przekaźnika zasilania sterownika skrzyni (TCM) - wysoki poziom sygnału"),
                ("TCM Power Relay Sense Circuit Intermittent",
                 "Obwód kontroli przekaźnika zasilania sterownika skrzyni (TCM) - sygnał przerywany"),
                ("Multiple Gears Engaged", "Włączonych jednocześnie kilka biegów"),
                ("Transmission Component Slipping", "Poślizg elementu skrzyni biegów"),
                ("Shift Time Too Short", "Zbyt krótki czas zmiany biegu"),
                ("Shift Time Too Long", "Zbyt długi czas zmiany biegu"),
                ("Transmission Fluid Deteriorated", "Zużyty olej skrzyni biegów"),
                ("Transmission Control System MIL Request Circuit Low",
                 "Obwód żądania kontrolki MIL od sterownika skrzyni biegów - niski poziom sygnału"),
                ("Transmission Control System MIL Request Circuit High",
                 "Obwód żądania kontrolki MIL od sterownika skrzyni biegów - wysoki poziom sygnału")])

# Automated manual transmission and further transmission circuits
F.run("P0904", "sensor5", "Gate Select Position", "położenia wybierania ścieżki (gate select)")
F.one("P0909", "Gate Select Control Error", "Błąd sterowania wybieraniem ścieżki (gate select)")
F.run("P0910", "circuit4", "Gate Select Actuator", "nastawnika wybierania ścieżki (gate select)")
F.run("P0914", "sensor5", "Gear Shift Position", "położenia zmiany biegu")
F.one("P0919", "Gear Shift Position Control Error", "Błąd sterowania położeniem zmiany biegu")
F.run("P0920", "circuit4", "Gear Shift Forward Actuator", "nastawnika zmiany biegu do przodu")
F.run("P0924", "circuit4", "Gear Shift Reverse Actuator", "nastawnika zmiany biegu do tyłu")
F.run("P0928", "control4", "Gear Shift Lock Solenoid", "elektrozaworu blokady zmiany biegów")
F.run("P0932", "sensor5", "Hydraulic Pressure Sensor", "czujnika ciśnienia hydraulicznego")
F.run("P0937", "sensor5", "Hydraulic Oil Temperature Sensor", "czujnika temperatury oleju hydraulicznego")
F.seq("P0942", [("Hydraulic Pressure Unit", "Jednostka ciśnienia hydraulicznego - usterka"),
                ("Hydraulic Pressure Unit Cycling Period Too Short",
                 "Jednostka ciśnienia hydraulicznego - zbyt krótki cykl pracy"),
                ("Hydraulic Pressure Unit Loss of Pressure", "Jednostka ciśnienia hydraulicznego - utrata ciśnienia")])
F.run("P0945", "circuit4", "Hydraulic Pump Relay", "przekaźnika pompy hydraulicznej")
F.one("P0949", "Auto Shift Manual Adaptive Learning Not Complete",
      "Adaptacja zautomatyzowanej skrzyni manualnej nie została zakończona")
F.run("P0950", "sensor5", "Auto Shift Manual Control", "sterowania ręcznego trybu zmiany biegów")
F.run("P0955", "sensor5", "Auto Shift Manual Mode", "ręcznego trybu zmiany biegów")
for i, s in enumerate("ABC"):
    F.run("P%04d" % (960 + 4 * i), "control4", "Pressure Control Solenoid \"%s\"" % s,
          "elektrozaworu regulacji ciśnienia \"%s\"" % s)
for i, s in enumerate("ABCDE"):
    F.run("P%04d" % (972 + 3 * i), "controlrlh", "Shift Solenoid \"%s\"" % s,
          "elektrozaworu zmiany biegów \"%s\"" % s)
F.run("P0987", "sensor5", "Transmission Fluid Pressure Sensor/Switch \"E\"",
      "czujnika/włącznika ciśnienia oleju skrzyni biegów \"E\"")
F.run("P0992", "sensor5", "Transmission Fluid Pressure Sensor/Switch \"F\"",
      "czujnika/włącznika ciśnienia oleju skrzyni biegów \"F\"")
F.run("P0997", "controlrlh", "Shift Solenoid \"F\"", "elektrozaworu zmiany biegów \"F\"")
