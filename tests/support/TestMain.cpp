#include "runtime/Application.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    TApplication::prepareWindowSystem();
    QApplication app(argc, argv);
    // The fonts the program really uses: the forms' sizes are designed around them.
    TApplication::substituteDesignFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
