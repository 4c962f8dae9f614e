# Generic network codes U0000-U0FFF: buses, lost communication, software incompatibility and
# invalid data. A module is named once; the three code runs share its names.

BUS_ENDS = [("", " - usterka"), (" (Performance)", " - nieprawidłowe działanie"),
            (" (+) Open", " - przerwa w przewodzie (+)"), (" (+) Low", " - niski poziom na przewodzie (+)"),
            (" (+) High", " - wysoki poziom na przewodzie (+)"), (" (-) Open", " - przerwa w przewodzie (-)"),
            (" (-) Low", " - niski poziom na przewodzie (-)"), (" (-) High", " - wysoki poziom na przewodzie (-)"),
            (" (-) shorted to Bus (+)", " - przewód (-) zwarty z przewodem (+)")]
BUSES = [("High Speed CAN Communication Bus", "Magistrala komunikacyjna CAN wysokiej prędkości"),
         ("Medium Speed CAN Communication Bus", "Magistrala komunikacyjna CAN średniej prędkości"),
         ("Low Speed CAN Communication Bus", "Magistrala komunikacyjna CAN niskiej prędkości")] + \
        [("Vehicle Communication Bus %s" % s, "Magistrala komunikacyjna pojazdu \"%s\"" % s) for s in "ABCDE"]
for b, (en, pl) in enumerate(BUSES):
    F.seq("U%04d" % (1 + 9 * b), [(en + e, pl + p) for e, p in BUS_ENDS])
F.one("U0073", "Control Module Communication Bus Off",
      "Magistrala komunikacyjna sterownika wyłączona (bus off)")
for i, s in enumerate("BCDE"):
    F.one("U%04d" % (74 + i), "Control Module Communication Bus \"%s\" Off" % s,
          "Magistrala komunikacyjna sterownika \"%s\" wyłączona (bus off)" % s)


def m(en, instr, gen, rest=""):
    """A module: English name, Polish head noun in the instrumental and genitive, common rest."""
    tail = (" " + rest) if rest else ""
    return en, instr + tail, gen + tail


S = ("sterownikiem", "sterownika")
MOD = ("modułem", "modułu")
ECM_A = m("ECM/PCM \"A\"", *S, "silnika (ECM/PCM) \"A\"")
TCM = m("TCM", *S, "skrzyni biegów (TCM)")
TCCM = m("Transfer Case Control Module", *S, "skrzynki rozdzielczej")
CRUISE = m("Cruise Control Module", *MOD, "tempomatu")
FICM = m("Fuel Injector Control Module", *MOD, "sterowania wtryskiwaczy")
GLOW = m("Glow Plug Control Module", *MOD, "sterowania świec żarowych")
TAC = m("Throttle Actuator Control Module", *MOD, "sterowania przepustnicy")
AFCM = m("Alternative Fuel Control Module", *S, "paliwa alternatywnego (LPG/CNG)")
FPCM = m("Fuel Pump Control Module", *MOD, "sterowania pompy paliwa")
ABS = m("Anti-Lock Brake System (ABS) Control Module", *S, "ABS")
VDCM = m("Vehicle Dynamics Control Module", *S, "stabilizacji toru jazdy")
SAS = m("Steering Angle Sensor Module", *MOD, "czujnika kąta skrętu kierownicy")
PARK = m("Park Brake Control Module", *S, "hamulca postojowego")
BSCM = m("Brake System Control Module", *S, "układu hamulcowego")
EFFORT = m("Steering Effort Control Module", *MOD, "sterowania siły wspomagania kierownicy")
PSCM = m("Power Steering Control Module", *S, "wspomagania kierownicy")
RIDE = m("Ride Level Control Module", *S, "poziomowania zawieszenia")
BCM = m("Body Control Module", *S, "nadwozia (BCM)")
IPC = m("Instrument Panel Cluster (IPC) Control Module", "zestawem wskaźników", "zestawu wskaźników", "(IPC)")
HVAC = m("HVAC Control Module", *S, "klimatyzacji (HVAC)")
AUXH = m("Auxiliary Heater Control Module", *S, "ogrzewania dodatkowego")
IMMO = m("Vehicle Immobilizer Control Module", *S, "immobilizera")
SEC = m("Vehicle Security Control Module", *S, "zabezpieczenia pojazdu (alarmu)")
COLUMN = m("Steering Column Control Module", *S, "kolumny kierownicy")

LOST = {
    0x100: ECM_A, 0x101: TCM, 0x102: TCCM, 0x103: m("Gear Shift Module", *MOD, "zmiany biegów"),
    0x104: CRUISE, 0x105: FICM, 0x106: GLOW, 0x107: TAC, 0x108: AFCM, 0x109: FPCM,
    0x110: m("Drive Motor Control Module", *S, "silnika napędowego"),
    0x111: m("Battery Energy Control Module \"A\"", *S, "energii akumulatora (BECM) \"A\""),
    0x112: m("Battery Energy Control Module \"B\"", *S, "energii akumulatora (BECM) \"B\""),
    0x113: m("Emissions Critical Control Information", "informacjami sterującymi", "informacji sterujących",
             "istotnymi dla emisji spalin"),
    0x114: m("Four-Wheel Drive Clutch Control Module", *S, "sprzęgła napędu 4WD"),
    0x115: m("ECM/PCM \"B\"", *S, "silnika (ECM/PCM) \"B\""),
    0x116: m("ECM/PCM \"C\"", *S, "silnika (ECM/PCM) \"C\""),
    0x117: m("PTO Control Module", *S, "przystawki odbioru mocy (PTO)"),
    0x118: m("Fuel Additive Control Module", *S, "dodatku do paliwa"),
    0x119: m("Fuel Fired Heater", "nagrzewnicą paliwową", "nagrzewnicy paliwowej"),
    0x120: m("Starter/Generator Control Module", *S, "rozrusznika-alternatora"),
    0x121: ABS, 0x122: VDCM, 0x123: m("Yaw Rate Sensor Module", *MOD, "czujnika prędkości odchylenia (yaw rate)"),
    0x124: m("Lateral Acceleration Sensor Module", *MOD, "czujnika przyspieszenia poprzecznego"),
    0x125: m("Multi-axis Acceleration Sensor Module", *MOD, "wieloosiowego czujnika przyspieszeń"),
    0x126: SAS, 0x127: m("Tire Pressure Monitor Module", *MOD, "kontroli ciśnienia w oponach"),
    0x128: PARK, 0x129: BSCM, 0x130: EFFORT, 0x131: PSCM, 0x132: RIDE, 0x140: BCM,
    0x146: m("Gateway \"A\"", "bramką", "bramki", "sieci (gateway) \"A\""),
    0x151: m("Restraints Control Module", *S, "poduszek powietrznych"),
    0x152: m("Side Restraints Control Module - Left", "lewym sterownikiem", "lewego sterownika",
             "bocznych poduszek powietrznych"),
    0x153: m("Side Restraints Control Module - Right", "prawym sterownikiem", "prawego sterownika",
             "bocznych poduszek powietrznych"),
    0x154: m("Restraints Occupant Classification System Module", *MOD,
             "klasyfikacji pasażera (poduszki powietrzne)"),
    0x155: IPC,
    0x156: m("Information Center \"A\"", "centrum informacyjnym", "centrum informacyjnego", "\"A\""),
    0x157: m("Information Center \"B\"", "centrum informacyjnym", "centrum informacyjnego", "\"B\""),
    0x158: m("Head Up Display", "wyświetlaczem przeziernym", "wyświetlacza przeziernego", "(HUD)"),
    0x159: m("Parking Assist Control Module \"A\"", *S, "czujników parkowania \"A\""),
    0x160: m("Audible Alert Control Module", *MOD, "sygnałów dźwiękowych"),
    0x161: m("Compass Module", *MOD, "kompasu"),
    0x162: m("Navigation Display Module", *MOD, "wyświetlacza nawigacji"),
    0x163: m("Navigation Control Module", *S, "nawigacji"),
    0x164: HVAC, 0x165: m("HVAC Control Module - Rear", *S, "tylnej klimatyzacji (HVAC)"),
    0x166: AUXH, 0x167: IMMO, 0x168: SEC, 0x169: m("Sunroof Control Module", *S, "szyberdachu"),
    0x178: m("Sonar System Module", *MOD, "układu sonarowego"),
    0x180: m("Automatic Lighting Control Module", *S, "automatycznego oświetlenia"),
    0x181: m("Headlamp Leveling Control Module", *S, "poziomowania reflektorów"),
    0x182: m("Lighting Control Module - Front", *S, "oświetlenia przedniego"),
    0x183: m("Lighting Control Module - Rear", *S, "oświetlenia tylnego"),
    0x184: m("Radio", "radiem", "radia"),
    0x185: m("Antenna Control Module", *MOD, "sterowania anteny"),
    0x186: m("Audio Amplifier", "wzmacniaczem", "wzmacniacza", "audio"),
    0x191: m("Television", "telewizorem", "telewizora"),
    0x192: m("Personal Computer", "komputerem osobistym", "komputera osobistego"),
    0x195: m("Subscription Entertainment Receiver Module", *MOD, "odbiornika rozrywki abonamentowej"),
    0x196: m("Rear Seat Entertainment Control Module", *S, "multimediów tylnych siedzeń"),
    0x197: m("Telephone Control Module", *MOD, "telefonu"),
    0x198: m("Telematic Control Module", *MOD, "telematyki"),
    0x206: m("Folding Top Control Module", *S, "składanego dachu"),
    0x207: m("Moveable Roof Control Module", *S, "ruchomego dachu"),
    0x212: COLUMN, 0x213: m("Mirror Control Module", *S, "lusterek"),
    0x214: m("Remote Function Actuation", *MOD, "zdalnego sterowania funkcjami"),
    0x229: m("Heated Steering Wheel Module", *MOD, "podgrzewania kierownicy"),
    0x230: m("Rear Gate Module", *MOD, "tylnej klapy"),
    0x231: m("Rain Sensing Module", *MOD, "czujnika deszczu"),
    0x232: m("Side Obstacle Detection Control Module - Left", *S, "wykrywania przeszkód z lewej strony"),
    0x233: m("Side Obstacle Detection Control Module - Right", *S, "wykrywania przeszkód z prawej strony"),
    0x234: m("Convenience Recall Module", *MOD, "pamięci ustawień"),
    0x235: m("Cruise Control Front Distance Range Sensor", "czujnikiem", "czujnika", "odległości tempomatu aktywnego"),
    0x236: m("Column Lock Module", *MOD, "blokady kolumny kierownicy"),
    0x253: m("Accessory Protocol Interface Module", *MOD, "interfejsu akcesoriów (APIM)"),
    0x256: m("Front Controls Interface Module \"A\"", *MOD, "przedniego panelu sterowania \"A\""),
    0x293: m("Hybrid Powertrain Control Module", *S, "hybrydowego układu napędowego"),
    0x298: m("DC to DC Converter Control Module", *S, "przetwornicy DC/DC"),
}
for i, s in enumerate("ABCDE"):
    LOST[0x141 + i] = m("Body Control Module \"%s\"" % s, *S, "nadwozia (BCM) \"%s\"" % s)
for i, s in enumerate("ABCD"):
    LOST[0x170 + i] = m("\"Restraints System Sensor %s\"" % s, "czujnikiem", "czujnika",
                        "układu poduszek powietrznych \"%s\"" % s)
    LOST[(0x187, 0x188, 0x189, 0x190)[i]] = m("Digital Disc Player/Changer Module \"%s\"" % s, *MOD, "odtwarzacza/zmieniacza płyt \"%s\"" % s)
    LOST[(0x208, 0x209, 0x210, 0x211)[i]] = m("\"Seat Control Module %s\"" % s, *S, "fotela \"%s\"" % s)
for i, s in enumerate("AB"):
    LOST[0x193 + i] = m("\"Digital Audio Control Module %s\"" % s, *MOD, "cyfrowego audio \"%s\"" % s)
for i, s in enumerate("ABCDEFG"):
    LOST[(0x199, 0x200, 0x201, 0x202, 0x203, 0x204, 0x205)[i]] = m("\"Door Control Module %s\"" % s, *S,
                                                                    "drzwi \"%s\"" % s)
    LOST[(0x215, 0x216, 0x217, 0x218, 0x219, 0x220, 0x221)[i]] = m("\"Door Switch %s\"" % s, "włącznikiem",
                                                                    "włącznika", "drzwi \"%s\"" % s)
    LOST[0x222 + [0, 1, 2, 3, 4, 5, 6][i]] = m("\"Door Window Motor %s\"" % s, "silnikiem", "silnika",
                                               "szyby drzwi \"%s\"" % s)


def z(instr):
    """Polish "z", or "ze" before a hissing consonant followed by another consonant ("ze sterownikiem")."""
    vowels = "aąeęioóuy"
    return "ze " if instr[0] in "szśźż" and instr[1] not in vowels else "z "


for k, (en, instr, gen) in LOST.items():
    if any(c in "ABCDEF" for c in "%X" % k):
        raise SystemExit("U%X is not a decimal code number" % k)
    F.one("U%04X" % k, "Lost Communication With " + en, "Utrata komunikacji " + z(instr) + instr)

# Software incompatibility (U03xx) and invalid data (U04xx) name the modules in their own order.
PAIRED = {1: m("ECM/PCM", *S, "silnika (ECM/PCM)"), 2: m("Transmission Control Module", *S, "skrzyni biegów (TCM)"),
          3: TCCM,
          4: m("Gear Shift Control Module", *MOD, "zmiany biegów"), 5: CRUISE, 15: ABS, 16: VDCM, 17: PARK,
          18: BSCM, 19: EFFORT, 20: PSCM, 21: RIDE,
          22: BCM, 23: m("Instrument Panel Cluster Control Module", "zestawem wskaźników", "zestawu wskaźników"),
          24: HVAC, 26: IMMO, 27: SEC, 28: SAS}
F.one("U0300", "Internal Control Module Software Incompatibility", "Wewnętrzna niezgodność oprogramowania sterownika")
for n, (en, instr, gen) in PAIRED.items():
    F.one("U%04d" % (300 + n), "Software Incompatibility with " + en, "Niezgodność oprogramowania " + z(instr) + instr)
    en4 = "ECM/PCM \"A\"" if n == 1 else en
    gen4 = gen + " \"A\"" if n == 1 else gen
    F.one("U%04d" % (400 + n), "Invalid Data Received From " + en4, "Nieprawidłowe dane odebrane od " + gen4)

F.one("U0452", "Invalid Data Received From Restraints Control Module",
      "Nieprawidłowe dane odebrane od sterownika poduszek powietrznych")

F.one("U3000", "Control Module", "Sterownik - usterka")
F.one("U3001", "Control Module Improper Shutdown", "Nieprawidłowe wyłączenie sterownika")
F.one("U3003", "Battery Voltage", "Napięcie akumulatora - usterka")
