// The end-to-end test program. Started with --copy-as-owner TEXT it plays another program
// instead: it puts TEXT on the clipboard from a window of its own, which stays the clipboard's
// owner until the clipboard's viewers have been told of the change.
#include <gtest/gtest.h>

#include <cstring>

#include "harness.h"

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--copy-as-owner") == 0) {
        return e2e::CopyAsOwner(argv[2]) ? 0 : 1;
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
