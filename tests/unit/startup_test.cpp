#include <gtest/gtest.h>

#include "app/startup.h"

namespace {

bool Fullscreen(std::initializer_list<const char*> args) {
    std::vector<char*> argv;
    for (const char* arg : args) {
        argv.push_back(const_cast<char*>(arg));
    }
    return WantsFullscreen(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(Startup, FullscreenOnlyForASmallFAfterASlashAnywhere) {
    EXPECT_FALSE(Fullscreen({"./meadowgunner"}));
    EXPECT_TRUE(Fullscreen({"./meadowgunner", "/f"}));
    EXPECT_FALSE(Fullscreen({"./meadowgunner", "/F"}));
    EXPECT_TRUE(Fullscreen({"./meadowgunner", "-x", "abc/fullscreen"}));
    EXPECT_FALSE(Fullscreen({"./meadowgunner", "f/", "-f"}));
    // The program's own path counts as well.
    EXPECT_TRUE(Fullscreen({"/opt/games/foo/meadowgunner"}));
}
