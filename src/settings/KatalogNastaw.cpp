// The records of the settings catalogue, item by item.
//
// Unit codes: 1 [V], 2 [bar], 3 [mm], 4 [ms], 5 [°C], 6 [s], 7 [rpm], 8 [%].
#include "settings/TKatalogNastaw.h"

void TKatalogNastaw::UtworzNastawy() {
    for (TNastawa &n : Nastawy)
        n = TNastawa{};

    // RPM signal and petrol side
    DodajNastawe(1, 3010, 0, 1, 0x80, 0, 0, 8, {3011, 3012, 3013, 3014, 3015, 3016, 3017, 3018, 3019});
    DodajNastawe(2, 3020, 0, 1, 0x10, 1, 1, 120);
    DodajNastawe(3, 3030, 1, 0.06, 0x12, 5, 50, 200);
    DodajNastawe(4, 3040, 0, 1, 0x80, 0, 0, 3, {3041, 3042, 3043, 3044});
    DodajNastawe(5, 3050, 0, 1, 0x80, 0, 1, 1, {3051, 3052});
    DodajNastawe(8, 3080, 0, 1, 0x80, 0, 0, 2, {3081, 3082, 3083});
    DodajNastawe(9, 3090, 0, 1, 0x80, 0, 0, 1, {3091, 3092});
    DodajNastawe(10, 3100, 0, 1, 0x80, 0, 0, 1, {3101, 3102, 3103});
    DodajNastawe(11, 3110, 4, 0.1, 0x11, 0, 0, 25);
    DodajNastawe(12, 3120, 8, 1, 0x10, 0, 0, 100);
    DodajNastawe(13, 0, 0, 1, 0x70, 0, 0, 1);

    // Fuel and gas injectors
    DodajNastawe(20, 3200, 0, 1, 0x80, 0, 0, 1, {3201, 3202});
    DodajNastawe(21, 3210, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(22, 0, 5, 1, 0x20, 108, 128, 168);
    DodajNastawe(23, 3230, 4, 0.1, 0x11, 0, 0, 50);
    DodajNastawe(24, 3240, 0, 1, 0x80, 1, 1, 26); // texts from TypyWtryskiwaczy
    DodajNastawe(25, 0, 4, 0.1, 0x11, 0, 19, 255);
    DodajNastawe(26, 0, 4, 0.025, 0x23, 0, 140, 255);
    DodajNastawe(27, 0, 0, 0.025, 0x23, 0, 168, 255);
    DodajNastawe(28, 0, 8, 1, 0x10, 0, 50, 100);
    DodajNastawe(31, 3310, 0, 0, 0x10, 0, 0, 255); // gas injectors kept on petrol (bit mask)
    for (int k = 0; k < 8; ++k)                    // petrol signal k drives gas injector k
        DodajNastawe(32 + k, 0, 0, 0, 0x10, 0, 1 << k, 255);

    // Sensors
    DodajNastawe(40, 3400, 0, 1, 0x80, 0, 0, 3, {3401, 3402, 3403, 3404});
    static constexpr int ProgiDomyslne[4] = {44, 39, 20, 8};
    for (int i = 0; i < 4; ++i)
        DodajNastawe(41 + i, 0, 1, 0.02, 0x12, 0, ProgiDomyslne[i], 255);
    DodajNastawe(45, 3450, 0, 1, 0x80, 1, 4, 4, {3451, 3452, 3453, 3454, 3455});
    DodajNastawe(46, 3460, 0, 1, 0x80, 1, 4, 4, {3451, 3452, 3453, 3454, 3455});
    DodajNastawe(47, 3470, 0, 1, 0x80, 0, 0, 0, {3471});

    // Switching to gas
    DodajNastawe(50, 3500, 7, 10, 0x10, 0, 70, 255);
    DodajNastawe(51, 3510, 5, 1, 0x20, 128, 168, 218);
    DodajNastawe(52, 3520, 6, 1, 0x10, 1, 6, 60);
    DodajNastawe(53, 3530, 6, 0.1, 0x10, 0, 20, 200);
    DodajNastawe(54, 3540, 6, 1, 0x10, 0, 10, 60);
    DodajNastawe(55, 3550, 6, 0.1, 0x11, 0, 10, 200);
    DodajNastawe(56, 3560, 0, 1, 0x80, 0, 0, 2, {3561, 3562, 3563});
    DodajNastawe(57, 3570, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(58, 3580, 5, 1, 0x20, 138, 168, 218);
    DodajNastawe(59, 3590, 4, 0.1, 0x11, 0, 0, 100);

    // Switching back to petrol and protections
    DodajNastawe(60, 3600, 7, 10, 0x10, 0, 30, 255);
    DodajNastawe(61, 3610, 7, 50, 0x10, 60, 200, 200);
    DodajNastawe(62, 3620, 5, 1, 0x20, 108, 128, 148);
    DodajNastawe(63, 3630, 2, 0.01, 0x12, 0, 60, 100);
    DodajNastawe(64, 3640, 6, 0.01, 0x12, 0, 20, 255);
    DodajNastawe(65, 3650, 6, 0.1, 0x11, 3, 5, 50);
    DodajNastawe(66, 3660, 4, 0.1, 0x10, 3, 20, 50);
    DodajNastawe(67, 3670, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(68, 3680, 0, 1, 0x70, 0, 1, 1);
    DodajNastawe(69, 3690, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(70, 3700, 0, 1, 0x70, 0, 0, 1);

    // Maps and adaptation
    DodajNastawe(76, 0, 0, 1, 0x70, 0, 0, 1); // load axis of the RPM corrections
    DodajNastawe(77, 3770, 5, 1, 0x20, 128, 168, 188);
    DodajNastawe(78, 3780, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(79, 3790, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(80, 0, 0, 1, 0x90, 0, 0, 255); // bit 0: multiplier range of the 2D chart
    DodajNastawe(81, 3810, 0, 1, 0x80, 0, 0, 2, {3811, 3812, 3813});

    // Calibration
    DodajNastawe(82, 3820, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(83, 3830, 4, 0.05, 0x12, 0, 60, 255);
    DodajNastawe(85, 3850, 5, 1, 0x20, 0, 178, 255);
    DodajNastawe(86, 3860, 2, 0.01, 0x12, 0, 100, 255);
    DodajNastawe(87, 0, 5, 1, 0x20, 0, 128, 255); // calibration results
    DodajNastawe(88, 0, 2, 0.01, 0x12, 0, 0, 255);
    DodajNastawe(89, 0, 4, 0.004, 0x13, 0, 60, 255);
    DodajNastawe(90, 3900, 4, 0.02, 0x22, 0, 128, 255);   // shown with identification byte 66
    DodajNastawe(92, 3900, 4, 0.02, 0x22, 0, 128, 255);   // shown with identification byte 68
    DodajNastawe(94, 0, 0, 0.0078125, 0x12, 0, 181, 255); // reference correction

    // Signalling and service
    DodajNastawe(96, 3960, 0, 1, 0x80, 0, 1, 3, {3961, 3962, 3963, 3964});
    DodajNastawe(98, 3980, 0, 1, 0x10, 0, 4, 7);
    DodajNastawe(99, 3990, 0, 1, 0x10, 0, 4, 7);
    for (int i = 100; i <= 102; ++i) // inspection reminder, gas hours of the next inspection
        DodajNastawe(i, 0, 0, 1, 0x10, 0, 0, 255);

    // OBD link of the controller: 103..122 for the second OBD page, 257..270 for the first
    DodajNastawe(103, 4030, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(104, 4040, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(106, 4060, 8, 1, 0x10, 0, 10, 50);
    DodajNastawe(107, 4070, 8, 1, 0x10, 0, 5, 50);
    DodajNastawe(109, 4090, 0, 1, 0x80, 0, 0, 8); // texts from ProtokolyObd
    DodajNastawe(110, 4100, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(112, 4120, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(113, 4130, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(114, 4140, 0, 1, 0x70, 0, 0, 1);
    for (int i = 115; i <= 121; i += 2) {
        DodajNastawe(i, 4141, 0, 1, 0xA0, 0, 0, 255);
        DodajNastawe(i + 1, 0, 0, 1, 0xB0, 0, 0, 255);
    }
    DodajNastawe(257, 4090, 0, 1, 0x80, 0, 1, 10); // texts from ProtokolyObd
    DodajNastawe(258, 4100, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(260, 4120, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(261, 4130, 0, 1, 0x70, 0, 0, 1);
    DodajNastawe(262, 4140, 0, 1, 0x70, 0, 0, 1);
    for (int i = 263; i <= 269; i += 2) {
        DodajNastawe(i, 4141, 0, 1, 0xA0, 0, 0, 255);
        DodajNastawe(i + 1, 0, 0, 1, 0xB0, 0, 0, 255);
    }

    // Tables kept in the block
    for (int i = 164; i <= 188; ++i)
        DodajNastawe(i, 0, 0, 1, 0x10, 0, 0, 255); // bank-2 multiplier knots
    DodajNastawe(189, 0, 0, 1, 0x10, 0, 200, 255);
    for (int i = 190; i <= 214; ++i)
        DodajNastawe(i, 0, 0, 1, 0x10, 0, 0, 255); // bank-1 multiplier knots
    DodajNastawe(215, 0, 0, 1, 0x10, 0, 200, 255);
    for (int i = 216; i <= 223; ++i) // per-injector corrections
        DodajNastawe(i, 0, 4, 0.025, 0x20, 0, 128, 255);
    static constexpr int OsObciazenia[16] = {6, 12, 18, 25, 31, 37, 43, 50, 56, 62, 68, 75, 81, 87, 93, 100};
    static constexpr int OsObrotow[16] = {12, 18, 24, 30, 36, 42, 48, 54, 60, 66, 72, 80, 90, 100, 110, 120};
    for (int i = 0; i < 16; ++i) {
        DodajNastawe(224 + i, 0, 2, 0.01, 0x10, 0, OsObciazenia[i], 255);
        DodajNastawe(240 + i, 0, 7, 50, 0x10, 0, OsObrotow[i], 255);
    }
}
