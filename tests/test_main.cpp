// Shared test entry: adopts the environment's locale (the decimal-comma run
// sets LC_ALL=de_DE.UTF-8) so number texts are checked to be locale-proof.
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    std::setlocale(LC_ALL, "");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
