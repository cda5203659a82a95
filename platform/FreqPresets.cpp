#include "platform/FreqPresets.h"

const char* const FreqPresets[FreqPresetCount] = {
    "1.825",  "1.900",   "3.550",   "3.650",   "3.750",   "3.800",  "5.360",   "7.050",
    "7.100",  "7.150",   "10.125",  "14.050",  "14.150",  "14.250", "18.100",  "18.130",
    "21.050", "21.200",  "21.300",  "24.940",  "28.050",  "28.500", "29.000",  "29.600",
    "50.150", "51.000",  "144.300", "145.000", "432.200", "1295.000"};

QStringList FreqPresetList() {
    QStringList list;
    for (const char* f : FreqPresets) list << QString::fromLatin1(f);
    return list;
}

