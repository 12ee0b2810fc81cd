// main() of every GUI test program: one QApplication for the whole run (on the platform the
// environment names; CTest sets offscreen), then GoogleTest.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
