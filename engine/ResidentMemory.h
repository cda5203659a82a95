#pragma once
// The memory this process holds in RAM now (its resident set), in MB: what
// a calculation leaves behind, for the bench and the tests.
double ResidentMegabytes();
