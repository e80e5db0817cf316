#include "support/TestEnv.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    SetUpTestEnvironment();
    QApplication App(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    ::testing::InitGoogleTest(&argc, argv);
    const int Result = RUN_ALL_TESTS();
    TearDownTestEnvironment();
    return Result;
}
