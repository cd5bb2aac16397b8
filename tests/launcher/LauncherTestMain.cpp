// The launcher's Windows tests run with the framework's application object and screen.
#include <gtest/gtest.h>

#include "framework/win/Forms.h"
#include "launcher/Startup.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kel::InitFramework();
    kel::MapHandPointCursor();
    const int result = RUN_ALL_TESTS();
    kel::DoneFramework();
    return result;
}
