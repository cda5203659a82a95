#pragma once
// Numbers as users type them into fields: coordinates, frequencies and
// limits with up to five decimals. The tests of the rounding that stores a
// typed value and of the lists it is typed into share them.
inline constexpr const char* TypedNumbers[] = {
    "14",   "14.2", "3.5",  "1.11", "0.07",   "0.14",  "0.56",   "1.1",     "2.45",  "4.19",
    "13.6", "10",   "15",   "1.5",  "100",    "7.05",  "21.45",  "144.39",  "0.0007", "2.0001",
    "5.35", "4.75", "28.5", "50.1", "0.0125", "1.875", "10.707", "12.34567",
};

// Decimals of a typed number: the digits after its point.
inline int TypedDecimals(const char* text) {
    int n = -1;
    for (const char* c = text; *c; ++c)
        if (n >= 0 || *c == '.') ++n;
    return n < 0 ? 0 : n;
}
