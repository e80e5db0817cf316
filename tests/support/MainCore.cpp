#include "support/TestEnv.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    SetUpTestEnvironment();
    QCoreApplication App(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int Result = RUN_ALL_TESTS();
    TearDownTestEnvironment();
    return Result;
}
