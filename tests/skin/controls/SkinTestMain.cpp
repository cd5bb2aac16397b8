// Test program of the skinned controls: the framework's application object and screen exist for
// the whole run, as they do in the product.
#include <gtest/gtest.h>

#include "framework/win/Forms.h"

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    kel::InitFramework();
    // An exception that leaves an event handler fails the running test instead of showing a box.
    kel::Application->ExceptionBox = [](const std::string& text, const std::string&) {
        ADD_FAILURE() << "exception reached the application: " << text;
    };
    const int result = RUN_ALL_TESTS();
    kel::DoneFramework();
    return result;
}
