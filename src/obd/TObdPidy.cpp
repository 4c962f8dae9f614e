// OBD engine: the catalogue of the mode-01 PIDs it knows, one entry per PID number 00..80.
#include "obd/TObd.h"

#include <iterator>

namespace {
struct WpisPid {
    int32_t bajty;
    const char16_t *nazwa;
    const char16_t *skrot;
    const char16_t *jednostka;
    int32_t typ;
};

// Data bytes, long name, short name, unit, decoder (the PID whose formula applies; -1 none).
const WpisPid KatalogPidow[] = {
    {4, u"PIDs supported 01 - 20", u"", u"", 0},                                        // 00
    {4, u"Monitor status since DTCs cleared.", u"", u"", 1},                            // 01
    {2, u"Freeze DTC", u"", u"", 2},                                                    // 02
    {2, u"Fuel system status", u"Fuel sys", u"", 3},                                    // 03
    {1, u"Calculated engine load value", u"Load", u"%", 4},                             // 04
    {1, u"Engine coolant temperature", u"ETC", u"°C", 5},                               // 05
    {1, u"Short term fuel Bank 1", u"SHRT FT1", u"%", 6},                               // 06
    {1, u"Long term fuel Bank 1", u"LONG FT1", u"%", 6},                                // 07
    {1, u"Short term fuel Bank 2", u"SHRT FT2", u"%", 6},                               // 08
    {1, u"Long term fuel Bank 2", u"LONG FT2", u"%", 6},                                // 09
    {1, u"Fuel pressure", u"Fuel P", u"kPa", 10},                                       // 0A
    {1, u"Intake manifold absolute pressure", u"MAP", u"kPa", 11},                      // 0B
    {2, u"Engine RPM", u"RPM", u"rpm", 12},                                             // 0C
    {1, u"Vehicle speed", u"VSS", u"km/h", 11},                                         // 0D
    {1, u"Timing advance", u"TA", u"°", 14},                                            // 0E
    {1, u"Intake air temperature", u"IAT", u"°C", 5},                                   // 0F
    {2, u"MAF air flow rate", u"MAF", u"g/sec", 16},                                    // 10
    {1, u"Throttle position", u"TPS", u"%", 4},                                         // 11
    {1, u"Commanded secondary air status", u"Air stat", u"", 18},                       // 12
    {1, u"Oxygen sensors present", u"O2", u"", 19},                                     // 13
    {2, u"Bank 1 Sensor 1: Oxygen sensor voltage", u"O2 B1S1", u"V", 20},               // 14
    {2, u"Bank 1 Sensor 2: Oxygen sensor voltage", u"O2 B1S2", u"V", 20},               // 15
    {2, u"Bank 1 Sensor 3: Oxygen sensor voltage", u"O2 B1S3", u"V", 20},               // 16
    {2, u"Bank 1 Sensor 4: Oxygen sensor voltage", u"O2 B1S4", u"V", 20},               // 17
    {2, u"Bank 2 Sensor 1: Oxygen sensor voltage", u"O2 B2S1", u"V", 20},               // 18
    {2, u"Bank 2 Sensor 2: Oxygen sensor voltage", u"O2 B2S2", u"V", 20},               // 19
    {2, u"Bank 2 Sensor 3: Oxygen sensor voltage", u"O2 B2S3", u"V", 20},               // 1A
    {2, u"Bank 2 Sensor 4: Oxygen sensor voltage", u"O2 B2S4", u"V", 20},               // 1B
    {1, u"OBD standards this vehicle conforms to", u"OBDSUP", u"", 28},                 // 1C
    {1, u"Oxygen sensors present", u"O2", u"", 29},                                     // 1D
    {1, u"Auxiliary input status", u"PTO", u"", 30},                                    // 1E
    {2, u"Run time since engine start", u"Run time", u"sec", 31},                       // 1F
    {4, u"PIDs supported 21-40", u"", u"", 32},                                         // 20
    {2, u"Distance traveled with malfunction indicator (MIL)", u"MIL dist", u"km", 31}, // 21
    {2, u"Fuel Rail Pressure (relative to manifold vacuum)", u"FRP", u"kPa", 34},       // 22
    {2, u"Fuel Rail Pressure (diesel)", u"FRP", u"kPa", 35},                            // 23
    {4, u"O2S1_WR_lambda(1)", u"O2 S1", u"", 36},                                       // 24
    {4, u"O2S2_WR_lambda(1)", u"O2 S2", u"", 36},                                       // 25
    {4, u"O2S3_WR_lambda(1)", u"O2 S3", u"", 36},                                       // 26
    {4, u"O2S4_WR_lambda(1)", u"O2 S4", u"", 36},                                       // 27
    {4, u"O2S5_WR_lambda(1)", u"O2 S5", u"", 36},                                       // 28
    {4, u"O2S6_WR_lambda(1)", u"O2 S6", u"", 36},                                       // 29
    {4, u"O2S7_WR_lambda(1)", u"O2 S7", u"", 36},                                       // 2A
    {4, u"O2S8_WR_lambda(1)", u"O2 S8", u"", 36},                                       // 2B
    {1, u"Commanded EGR", u"EGR", u"%", 4},                                             // 2C
    {1, u"EGR Error", u"EGR ERR", u"%", 6},                                             // 2D
    {1, u"Commanded evaporative purge", u"EVAP", u"%", 4},                              // 2E
    {1, u"Fuel Level Input", u"Fuel Lvl", u"%", 4},                                     // 2F
    {1, u"# of warm-ups since codes cleared ", u"Warm ups", u"", 11},                   // 30
    {2, u"Distance traveled since codes cleared", u"Clear Dist", u"km", 31},            // 31
    {2, u"Evap. System Vapor Pressure", u"EVAP P", u"Pa", 50},                          // 32
    {1, u"Barometric pressure (Absolute) ", u"BARO", u"kPa", 11},                       // 33
    {4, u"O2S1_WR_lambda(1)", u"O2 S1", u"", 52},                                       // 34
    {4, u"O2S2_WR_lambda(1)", u"O2 S2", u"", 52},                                       // 35
    {4, u"O2S3_WR_lambda(1)", u"O2 S3", u"", 52},                                       // 36
    {4, u"O2S4_WR_lambda(1)", u"O2 S4", u"", 52},                                       // 37
    {4, u"O2S5_WR_lambda(1)", u"O2 S5", u"", 52},                                       // 38
    {4, u"O2S6_WR_lambda(1)", u"O2 S6", u"", 52},                                       // 39
    {4, u"O2S7_WR_lambda(1)", u"O2 S7", u"", 52},                                       // 3A
    {4, u"O2S8_WR_lambda(1)", u"O2 S8", u"", 52},                                       // 3B
    {2, u"Catalyst Temperature Bank 1, Sensor 1", u"CAT TEMP11", u"°C", 60},            // 3C
    {2, u"Catalyst Temperature Bank 1, Sensor 2", u"CAT TEMP21", u"°C", 60},            // 3D
    {2, u"Catalyst Temperature Bank 2, Sensor 1", u"CAT TEMP12", u"°C", 60},            // 3E
    {2, u"Catalyst Temperature Bank 2, Sensor 2", u"CAT TEMP22", u"°C", 60},            // 3F
    {4, u"PIDs supported 41-60", u"", u"", 64},                                         // 40
    {4, u"Monitor status this drive cycle", u"", u"", 65},                              // 41
    {2, u"Control module voltage", u"VPWR", u"V", 66},                                  // 42
    {2, u"Absolute load value", u"LOAD ABS", u"%", 67},                                 // 43
    {2, u"Command equivalence ratio", u"EQ RAT", u"", 68},                              // 44
    {1, u"Relative throttle position", u"TP R", u"", 4},                                // 45
    {1, u"Ambient air temperature", u"AAT", u"°C", 5},                                  // 46
    {1, u"Absolute throttle position B", u"TPS B", u"%", 4},                            // 47
    {1, u"Absolute throttle position C", u"TPS C", u"%", 4},                            // 48
    {1, u"Accelerator pedal position D", u"APP D", u"%", 4},                            // 49
    {1, u"Accelerator pedal position E", u"APP E", u"%", 4},                            // 4A
    {1, u"Accelerator pedal position F", u"APP F", u"%", 4},                            // 4B
    {1, u"Commanded throttle actuator", u"", u"%", 4},                                  // 4C
    {2, u"Time run with MIL", u"MIL TIME", u"min", 31},                                 // 4D
    {2, u"Time since trouble codes cleared", u"CLR TIME", u"min", 31},                  // 4E
    {4, u"Maximum value for equivalence ratio", u"", u"", 79},                          // 4F
    {4, u"Maximum value for air flow rate", u"", u"g/s", 80},                           // 50
    {1, u"Fuel Type", u"", u"", 81},                                                    // 51
    {1, u"Ethanol fuel", u"", u"%", 4},                                                 // 52
    {2, u"Absoulute Evap system Vapour Pressure", u"", u"kpa", 83},                     // 53
    {2, u"Evap system vapor pressure", u"", u"Pa", 84},                                 // 54
    {2, u"Short term secondary O2S trim bank 1,3", u"", u"%", 85},                      // 55
    {2, u"Long term secondary O2S trim bank 1,3", u"", u"%", 85},                       // 56
    {2, u"Short term secondary O2S trim bank 2,4", u"", u"%", 85},                      // 57
    {2, u"Long term secondary O2S trim bank 2,4", u"", u"%", 85},                       // 58
    {2, u"Fuel rail pressure (absolute)", u"FRP abs", u"kPa", 35},                      // 59
    {1, u"Relative accelerator pedal position", u"", u"%", 4},                          // 5A
    {1, u"Hybrid battery pack remaining life", u"", u"%", 4},                           // 5B
    {1, u"Engine oil temperature", u"", u"°C", 5},                                      // 5C
    {2, u"Fuel injection timing", u"", u"°", 93},                                       // 5D
    {2, u"Engine fuel rate", u"", u"L/h", 94},                                          // 5E
    {1, u"Emission requirements to which vehicle is designed", u"", u"", 95},           // 5F
    {4, u"PIDs supported 61-80", u"", u"", 96},                                         // 60
    {1, u"Driver's demand engine - percent torque", u"", u"%", 97},                     // 61
    {1, u"Actual engine - percent torque", u"", u"%", 97},                              // 62
    {2, u"Engine reference torque", u"", u"Nm", 31},                                    // 63
    {5, u"Engine percent torque data", u"", u"%", 100},                                 // 64
    {2, u"Auxiliary input / output supported", u"", u"", -1},                           // 65
    {5, u"Mass air flow sensor", u"", u"", -1},                                         // 66
    {3, u"Engine coolant temperature", u"", u"", -1},                                   // 67
    {7, u"Intake air temperature sensor", u"", u"", -1},                                // 68
    {7, u"Commanded EGR and EGR Error", u"", u"", -1},                                  // 69
    {5, u"Commanded Diesel intake air flow control", u"", u"", -1},                     // 6A
    {5, u"Exhaust gas recirculation temperature", u"", u"", -1},                        // 6B
    {5, u"Commanded throttle actuator control", u"", u"", -1},                          // 6C
    {6, u"Fuel pressure control system", u"", u"", -1},                                 // 6D
    {5, u"Injection pressure control system", u"", u"", -1},                            // 6E
    {3, u"Turbocharger compressor inlet pressure", u"", u"", -1},                       // 6F
    {9, u"Boost pressure control", u"", u"", -1},                                       // 70
    {5, u"Variable Geometry turbo control", u"VGT", u"", -1},                           // 71
    {5, u"Wastegate control", u"", u"", -1},                                            // 72
    {5, u"Exhaust pressure", u"", u"", -1},                                             // 73
    {5, u"Turbocharger RPM", u"", u"", -1},                                             // 74
    {7, u"Turbocharger temperature", u"", u"", -1},                                     // 75
    {7, u"Turbocharger temperature", u"", u"", -1},                                     // 76
    {5, u"Charge air cooler temperature", u"CACT", u"", -1},                            // 77
    {9, u"Exhaust Gas temperature", u"EGT", u"", -1},                                   // 78
    {9, u"Exhaust Gas temperature", u"EGT", u"", -1},                                   // 79
    {7, u"Diesel particulate filter", u"DPF", u"", -1},                                 // 7A
    {7, u"Diesel particulate filter", u"DPF", u"", -1},                                 // 7B
    {9, u"Diesel particulate filter", u"DPF", u"", -1},                                 // 7C
    {1, u"NOx NTE control area status", u"", u"", -1},                                  // 7D
    {1, u"PM NTE control area status", u"", u"", -1},                                   // 7E
    {13, u"Engine run time", u"", u"", -1},                                             // 7F
    {4, u"PIDs supported 81-A0", u"", u"", -1},                                         // 80
};
} // namespace

void TObd::DodajPid(int32_t bajty, const QString &nazwa, const QString &skrot, const QString &jednostka,
                    int32_t typ) {
    pid p;
    p.bajty = bajty;
    p.nazwa = nazwa;
    p.skrot = skrot;
    p.jednostka = jednostka;
    p.typ = typ;
    Pidy.append(p);
}

void TObd::BudujKatalog() {
    Pidy.clear();
    Pidy.reserve(int(std::size(KatalogPidow)));
    for (const WpisPid &w : KatalogPidow)
        DodajPid(w.bajty, QString::fromUtf16(w.nazwa), QString::fromUtf16(w.skrot),
                 QString::fromUtf16(w.jednostka), w.typ);
    // Fuel system status and the four fuel trims: polled from the start and relayed to the controller.
    for (int n : {0x03, 0x06, 0x07, 0x08, 0x09})
        Pidy[n].odpytywany = 1;
}
